# cmake -DOUTPUT=... -DICON_DIR=... -DICON_IDS=a,b,c -P WriteIconSection.cmake
# Writes a C++ source holding the icon section: records [u32 id][u32 size][png],
# each padded to 4 bytes, ended by a record of id 0.

function(u32_bytes value out)
  set(bytes "")
  foreach(shift 0 8 16 24)
    math(EXPR byte "(${value} >> ${shift}) & 255" OUTPUT_FORMAT HEXADECIMAL)
    string(APPEND bytes "${byte},")
  endforeach()
  set(${out} "${bytes}" PARENT_SCOPE)
endfunction()

string(REPLACE "," ";" ICON_IDS "${ICON_IDS}")
set(body "")
foreach(id ${ICON_IDS})
  set(file ${ICON_DIR}/${id}.png)
  file(READ ${file} hex HEX)
  string(LENGTH "${hex}" digits)
  math(EXPR size "${digits} / 2")
  u32_bytes(${id} idBytes)
  u32_bytes(${size} sizeBytes)
  string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," pngBytes "${hex}")
  math(EXPR padding "(4 - ${size} % 4) % 4")
  string(REPEAT "0x0," ${padding} padBytes)
  string(APPEND body "  // ${id}.png\n  ${idBytes}${sizeBytes}\n  ${pngBytes}${padBytes}\n")
endforeach()
string(APPEND body "  0x0,0x0,0x0,0x0,0x0,0x0,0x0,0x0\n")

file(WRITE ${OUTPUT}.tmp
"// Generated from resources/icons by cmake/WriteIconSection.cmake.
#include \"platform/IconDirectory.h\"

namespace {

__attribute__((section(\".bficons\"), used, aligned(4))) const unsigned char kIconSection[] = {
${body}};

} // namespace

std::span<const unsigned char> ModuleIconSection()
{
    return kIconSection;
}
")
file(COPY_FILE ${OUTPUT}.tmp ${OUTPUT} ONLY_IF_DIFFERENT)
