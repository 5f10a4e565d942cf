#!/usr/bin/env bash
# Builds the Debian package of the module and its two hosts:
#   scripts/package.sh [BUILD-DIR]        (default: build/package)
# and prints the .deb's path. Install it with `apt install ./FILE.deb` (or dpkg -i),
# remove it with `apt remove basicfilters`.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
# dpkg-shlibdeps (in dpkg-dev) and file find the libraries the programs link.
"$root/scripts/deps.sh" dpkg-dev file

dir=${1:-$root/build/package}
mkdir -p "$dir"
dir=$(cd "$dir" && pwd)
launcher=()
if command -v ccache > /dev/null; then
  export CCACHE_NOHASHDIR=true
  launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
fi
# Installed under /usr the module goes to the multiarch library folder. Only what is
# installed is built: the tests are scripts/test.sh's business.
cmake -S "$root" -B "$dir" "${launcher[@]}" -DCMAKE_BUILD_TYPE=Release -DBF_SANITIZE=OFF -DBF_BUILD_BENCH=OFF \
  -DCMAKE_INSTALL_PREFIX=/usr -DCMAKE_SKIP_INSTALL_ALL_DEPENDENCY=ON > "$dir/configure.log" 2>&1 ||
  { cat "$dir/configure.log"; exit 1; }
cmake --build "$dir" -j "$(nproc)" --target basicfilters_installable
rm -f "$dir"/package/*.deb
(cd "$dir" && cpack -G DEB > "$dir/cpack.log" 2>&1) || { cat "$dir/cpack.log"; exit 1; }
deb=$(ls "$dir"/package/*.deb)
dpkg-deb --field "$deb" Package Version Architecture Depends >&2
echo "$deb"
