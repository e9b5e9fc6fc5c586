#!/usr/bin/env bash
# Installs what is missing (the format peers LibreOffice and antiword too),
# builds into build/, and runs every test through ctest under the offscreen
# platform. Exits non-zero when any test fails.
set -euo pipefail
source "$(dirname "$0")/scripts/setup.sh"
# xvfb and xdotool: the gui test runs the program under a real X server.
FOLIUM_TEST_PACKAGES=(libreoffice-writer-nogui antiword clang libclang-rt-14-dev xvfb xdotool)
FOLIUM_TEST_PACKAGES+=(postgresql)
FOLIUM_TEST_PACKAGES+=(poppler-utils)
FOLIUM_TEST_PACKAGES+=(chromium)
# A print scheduler and a PostScript printer driver: printing through a real queue.
FOLIUM_TEST_PACKAGES+=(cups cups-bsd printer-driver-cups-pdf ghostscript)
folium_install_packages "${FOLIUM_BUILD_PACKAGES[@]}" "${FOLIUM_TEST_PACKAGES[@]}"
folium_build
export QT_QPA_PLATFORM=offscreen
cd "$folium_root/build"
ctest --output-on-failure -j"$(nproc)" "$@"
