# Shared set-up for run.sh and test.sh: install the Debian packages that are
# missing, then configure (once) and build incrementally into build/.
# Sourced, not run. FOLIUM_PACKAGES lists what the caller needs.

folium_root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"

FOLIUM_BUILD_PACKAGES=(
  cmake ninja-build g++ pkg-config
  qt6-base-dev qt6-base-dev-tools qt6-base-private-dev libqt6sql6-sqlite libgl-dev
  libqt6sql6-psql
  qt6-translations-l10n fonts-noto-cjk
  libfontconfig-dev fonts-liberation fonts-crosextra-carlito fonts-crosextra-caladea
  libzip-dev libsqlite3-dev
  libicu-dev
  libgtest-dev libbenchmark-dev
  libwmf-dev libemf2svg-dev qt6-svg-dev fonts-urw-base35
  libgumbo-dev
  xdg-utils
)

folium_missing_packages() {
  local p missing=()
  for p in "$@"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
      missing+=("$p")
    fi
  done
  echo "${missing[@]}"
}

folium_install_packages() {
  local missing
  missing=$(folium_missing_packages "$@")
  [ -z "$missing" ] && return 0
  local sudo=""
  if [ "$(id -u)" -ne 0 ]; then
    if command -v sudo >/dev/null; then sudo="sudo"; else
      echo "Folium needs these Debian packages, and installing them needs root: $missing" >&2
      return 1
    fi
  fi
  echo "Installing: $missing"
  $sudo apt-get update -qq || true
  # shellcheck disable=SC2086
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends $missing >/dev/null || true
  local still
  still=$(folium_missing_packages $missing)
  if [ -n "$still" ]; then
    echo "Could not install the Debian package(s): $still" >&2
    return 1
  fi
}

folium_build() {
  local build="$folium_root/build"
  if [ ! -f "$build/build.ninja" ]; then
    cmake -S "$folium_root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null || return 1
  fi
  cmake --build "$build" -- -j"$(nproc)"
}
