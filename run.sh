#!/usr/bin/env bash
# Installs what is missing, builds into build/, and starts Folium with the
# arguments given (a file to open, or the headless converter's options).
set -euo pipefail
source "$(dirname "$0")/scripts/setup.sh"
folium_install_packages "${FOLIUM_BUILD_PACKAGES[@]}"
folium_build

headless=0
for a in "$@"; do [ "$a" = "--headless" ] && headless=1; done
if [ $headless -eq 0 ] && [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ] \
   && [ -z "${QT_QPA_PLATFORM:-}" ]; then
  echo "Folium needs a graphical display, and none is set (DISPLAY and WAYLAND_DISPLAY are empty)." >&2
  exit 1
fi
exec "$folium_root/build/src/folium" "$@"
