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
  cmake --build "$build" --parallel "${TUNVEX_JOBS:-$(nproc)}"
}
