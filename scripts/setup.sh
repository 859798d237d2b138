# Sourced by ./run and ./test: installs the Debian packages the build needs
# when any is missing, then configures and builds the release tree in build/.
set -euo pipefail

TUNVEX_PACKAGES=(
  build-essential cmake ninja-build ccache pkg-config
  qt6-base-dev qt6-base-dev-tools qt6-charts-dev libqt6opengl6-dev libgl-dev
  qt6-translations-l10n libqt6svg6  # Qt's dialogs in Russian; the SVG tool bar icons
  libgtest-dev libgmock-dev libbenchmark-dev libeigen3-dev
  fonts-liberation2
)

tunvex_install_packages() {
  local missing=()
  for pkg in "${TUNVEX_PACKAGES[@]}"; do
    dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q "install ok installed" || missing+=("$pkg")
  done
  if [ ${#missing[@]} -gt 0 ]; then
    echo "Installing: ${missing[*]}"
    local sudo=""
    [ "$(id -u)" -ne 0 ] && sudo="sudo"
    $sudo apt-get update
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y --no-install-recommends "${missing[@]}"
  fi
}

tunvex_build() {
  local root
  root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
  local build="$root/build"
  # Configure every time: folders join the build when their CMakeLists.txt appears.
  cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
  # Qt's moc step of this CMake does not notice a header that joins a library
  # through the globbed sources; when the set of headers changed, make every
  # moc step run again rather than fail the link on a missing meta-object.
  local headers
  headers=$(cd "$root" && find src tests -name '*.h' | sort | md5sum)
  if [ "$headers" != "$(cat "$build/.tunvex-headers" 2>/dev/null)" ]; then
    find "$build" -path '*_autogen/timestamp' -delete
    echo "$headers" > "$build/.tunvex-headers"
  fi
  cmake --build "$build" --parallel "${TUNVEX_JOBS:-$(nproc)}"
}
