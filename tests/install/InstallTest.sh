#!/usr/bin/env bash
# InstallTest.sh BUILD SOURCE VERSION: installs BUILD into a temporary prefix and
# checks the installed programs from there, where only the installed layout can
# lead them to the module.
set -euo pipefail
build=$1
source=$2
version=$3

work=$(mktemp -d)
editor_pid=""
cleanup() {
    if [[ -n $editor_pid ]]; then kill "$editor_pid" 2> /dev/null || true; fi
    rm -rf "$work"
}
trap cleanup EXIT
prefix=$work/prefix
photo=$source/samples/fruits.jpg

fail() {
    echo "FAIL: $*" >&2
    exit 1
}

cmake --install "$build" --prefix "$prefix" > "$work/install.log" || { cat "$work/install.log"; fail "cmake --install"; }

# --- The layout a Linux system expects. ---
for file in bin/basicfilters bin/basicfilters-editor; do
    [[ -x $prefix/$file ]] || fail "$file is not installed as a program"
done
modules=$(find "$prefix" -name libBasicFilters.so)
[[ $(wc -l <<< "$modules") -eq 1 && $modules == "$prefix"/lib*/basicfilters/libBasicFilters.so ]] ||
    fail "the module should be installed once, in basicfilters/ under the library folder, not: $modules"
for file in share/applications/basicfilters-editor.desktop share/bash-completion/completions/basicfilters \
    share/man/man1/basicfilters.1.gz share/man/man1/basicfilters-editor.1.gz; do
    [[ -s $prefix/$file ]] || fail "$file is missing"
done
for size in 48 128 256; do
    icon=$prefix/share/icons/hicolor/${size}x${size}/apps/basicfilters-editor.png
    [[ -s $icon ]] || fail "no ${size}x${size} application icon"
    # A PNG's width and height are the big-endian words at bytes 16 and 20.
    [[ $(od -An -j16 -N8 -tx1 "$icon" | tr -d ' \n') == $(printf '%08x%08x' "$size" "$size") ]] ||
        fail "the ${size}x${size} icon has another size"
done

# Every installed file is in the manifest, so that removing what it lists leaves nothing.
manifest=$build/install_manifest.txt
diff <(find "$prefix" -type f -o -type l | sort) <(sort "$manifest" | grep "^$prefix/") ||
    fail "installed files and the install manifest differ"

# The desktop entry starts the installed editor with the file a file manager hands
# it, under the icon installed with it, for photos.
desktop=$prefix/share/applications/basicfilters-editor.desktop
grep -qx 'Exec=basicfilters-editor %f' "$desktop" || fail "the desktop entry does not pass the file"
grep -qx 'Icon=basicfilters-editor' "$desktop" || fail "the desktop entry names another icon"
grep -q '^MimeType=.*image/jpeg;.*image/png;' "$desktop" || fail "the desktop entry opens no JPEG or PNG photos"
if command -v desktop-file-validate > /dev/null; then desktop-file-validate "$desktop"; fi

# The manual pages name their program and the version, and format without warnings.
for page in basicfilters basicfilters-editor; do
    text=$(gzip -dc "$prefix/share/man/man1/$page.1.gz")
    grep -q "^\.TH ${page^^} 1 .*BasicFilters $version" <<< "$text" || fail "$page(1) lacks its title or version"
    if command -v groff > /dev/null; then
        warnings=$(groff -man -Tutf8 -ww -z <<< "$text" 2>&1)
        [[ -z $warnings ]] || fail "$page(1): $warnings"
    fi
done

# --- The installed command-line tool. ---
cli=$prefix/bin/basicfilters
[[ $("$cli" --version) == "basicfilters $version" ]] || fail "basicfilters --version: $("$cli" --version)"
"$cli" list > "$work/list.txt" || fail "basicfilters list"
grep -q 'Rotate\\Flip Horizontal' "$work/list.txt" || fail "the installed module lists no Flip Horizontal"

# The sample flipped: each row of pixels reversed, and flipped back, the photo again.
"$cli" apply "Rotate 0 Degrees" "$photo" "$work/copy.ppm" --quiet
"$cli" apply "Flip Horizontal" "$photo" "$work/flipped.ppm" --quiet
"$cli" apply "Flip Horizontal" "$work/flipped.ppm" "$work/back.ppm" --quiet
cmp -s "$work/copy.ppm" "$work/back.ppm" || fail "flipping twice did not give the photo back"
{ read -r magic; read -r width height; read -r depth; } < "$work/copy.ppm"
[[ $magic == P6 && $depth == 255 && $width -gt 1 ]] || fail "the copy is no 8-bit PPM"
header=$(printf 'P6\n%s %s\n255\n' "$width" "$height" | wc -c)
[[ $(head -c "$header" "$work/flipped.ppm") == $(head -c "$header" "$work/copy.ppm") ]] ||
    fail "the flipped photo has another size"
pixels_of_row() { tail -c +$((header + 1 + $2 * width * 3)) "$1" | head -c $((width * 3)) | od -An -v -tu1 -w3; }
for row in 0 $((height / 2)) $((height - 1)); do
    diff <(pixels_of_row "$work/copy.ppm" "$row" | tac) <(pixels_of_row "$work/flipped.ppm" "$row") > /dev/null ||
        fail "row $row of the flipped photo is not the row reversed"
done
cmp -s "$work/copy.ppm" "$work/flipped.ppm" && fail "the flip changed nothing"

# --- The completion, asking the installed tool. ---
completions=$(
    PATH=$prefix/bin:$PATH
    # shellcheck disable=SC2317  # called by the completion function
    compopt() { :; }
    # shellcheck source=/dev/null
    source "$prefix/share/bash-completion/completions/basicfilters"
    complete_line() {
        COMP_WORDS=("$@")
        COMP_CWORD=$((${#COMP_WORDS[@]} - 1))
        COMPREPLY=()
        _basicfilters
        echo "${COMPREPLY[*]}"
    }
    complete_line basicfilters det
    complete_line basicfilters apply '"Flip H'
    complete_line basicfilters apply Brightness
    complete_line basicfilters apply 'Brightness\ and\ Contrast' in.jpg out.jpg --set ""
    complete_line basicfilters format Sharpen --set unsharpmask
    complete_line basicfilters rec
    complete_line basicfilters recipe add steps.txt Medi
    complete_line basicfilters recipe add steps.txt Median --set ""
)
expected=$'detect-angle\nFlip Horizontal\nBrightness\\ and\\ Contrast\nBrightnessValue= ContrastValue=
UnsharpMaskSize= UnsharpMaskAmount= UnsharpMaskThreshold=\nrecipe\nMedian\nMedianSize='
[[ $completions == "$expected" ]] || fail "completion gave:
$completions"

# --- The installed editor: its version, and the sample opened on the virtual display. ---
editor=$prefix/bin/basicfilters-editor
[[ $("$editor" --version) == "basicfilters-editor $version" ]] || fail "basicfilters-editor --version"
"$editor" "$photo" > "$work/editor.log" 2>&1 &
editor_pid=$!
# The editor has loaded the installed module once it is mapped; without it the
# editor would show why in a message box and never map it.
module=$(readlink -f "$modules")
for ((tenth = 0; tenth < 300; tenth++)); do
    kill -0 "$editor_pid" 2> /dev/null || { cat "$work/editor.log"; fail "the editor ended by itself"; }
    grep -qF "$module" "/proc/$editor_pid/maps" 2> /dev/null && break
    sleep 0.1
done
grep -qF "$module" "/proc/$editor_pid/maps" || fail "the editor did not load the installed module"
sleep 1
kill -0 "$editor_pid" 2> /dev/null || { cat "$work/editor.log"; fail "the editor ended after loading the module"; }
kill "$editor_pid"
wait "$editor_pid" 2> /dev/null || true
editor_pid=""
echo "installed and ran from $prefix"
