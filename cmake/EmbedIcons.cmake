# Compiles resources/icons/<id>.png into the module's icon section, in the list
# order below (the order GetIcon's indices count in).
set(BF_ICON_IDS 5004 5016 5019 5054 5030 5059 5031 5032 5055 5057 5065 2 5083 5089 8 12 5072 16)
set(BF_ICON_FILES "")
foreach(id ${BF_ICON_IDS})
  list(APPEND BF_ICON_FILES ${CMAKE_SOURCE_DIR}/resources/icons/${id}.png)
endforeach()
string(REPLACE ";" "," BF_ICON_ID_TEXT "${BF_ICON_IDS}")
set(BF_ICON_SOURCE ${CMAKE_BINARY_DIR}/generated/IconSection.cpp)
add_custom_command(
  OUTPUT ${BF_ICON_SOURCE}
  COMMAND ${CMAKE_COMMAND} -DOUTPUT=${BF_ICON_SOURCE} -DICON_DIR=${CMAKE_SOURCE_DIR}/resources/icons
          -DICON_IDS=${BF_ICON_ID_TEXT} -P ${CMAKE_SOURCE_DIR}/cmake/WriteIconSection.cmake
  DEPENDS ${BF_ICON_FILES} ${CMAKE_SOURCE_DIR}/cmake/WriteIconSection.cmake
  COMMENT "Embedding the module's icons"
  VERBATIM)
