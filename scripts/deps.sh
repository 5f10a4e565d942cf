#!/usr/bin/env bash
# Installs the Debian 12 packages the build, the tests and the demo need, and any
# further packages named as arguments, skipping those already installed. Runs
# apt-get as root, or through sudo. With --fuzz first it adds clang 16 and its
# sanitizer and libFuzzer runtimes, which scripts/fuzz.sh builds with (clang 14,
# Debian 12's default, lacks what std::source_location needs).
set -euo pipefail

extra=()
if [[ "${1:-}" == "--fuzz" ]]; then
  shift
  extra=(clang-16 libclang-rt-16-dev)
fi

packages=(
  g++ cmake make pkg-config ccache
  qt6-base-dev qt6-qpa-plugins qt6-image-formats-plugins libgl-dev libexiv2-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  xvfb xauth
  "${extra[@]}"
  "$@"
)

missing=()
for package in "${packages[@]}"; do
  status=$(dpkg-query -W -f='${Status}' "$package" 2>/dev/null || true)
  [[ "$status" == "install ok installed" ]] || missing+=("$package")
done
[[ ${#missing[@]} -eq 0 ]] && exit 0

as_root=()
[[ $(id -u) -eq 0 ]] || as_root=(sudo)
echo "Installing: ${missing[*]}"
"${as_root[@]}" apt-get update -qq
DEBIAN_FRONTEND=noninteractive "${as_root[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
