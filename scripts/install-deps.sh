#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs every Debian package that building, running and testing Binzo needs.
# Idempotent and quick when everything is already present.
set -euo pipefail

packages=(
  # toolchain
  cmake ninja-build g++ pkg-config make
  # Qt 6 and the QML modules the views import
  qt6-base-dev qt6-declarative-dev qt6-svg-dev qt6-qpa-plugins libqt6svg6
  qml6-module-qtquick qml6-module-qtquick-controls qml6-module-qtquick-window
  qml6-module-qtquick-templates qml6-module-qtqml-workerscript qml6-module-qtquick-layouts
  qml6-module-qtquick-shapes qml6-module-qtqml qml6-module-qtqml-models
  # X11 key grabs and keyboard layouts
  libxcb1-dev libxcb-keysyms1-dev libxcb-xkb-dev libxcb-xinput-dev libxkbcommon-dev libxkbcommon-x11-dev
  libxcb-shape0-dev
  # the desktop's own shortcuts (GSettings), and GNOME's keybinding schemas for the tests
  libglib2.0-dev gsettings-desktop-schemas
  # vault
  libsecret-1-dev libsodium-dev libsqlite3-dev sqlite3 jq
  # smart-find model, built from WordNet at build time
  wordnet-base libeigen3-dev
  # tests and benchmarks
  libgtest-dev libgmock-dev googletest libbenchmark-dev
  # the model loader's fuzz target (libFuzzer)
  clang-14 libclang-rt-14-dev
  # desktop for the integration tests
  xvfb xauth openbox xcompmgr trayer xdotool xclip imagemagick x11-utils x11-xserver-utils x11-xkb-utils
  dbus dbus-x11 libglib2.0-bin gnome-keyring libsecret-tools libgl1-mesa-dri mesa-utils fonts-dejavu-core
)

missing=()
for p in "${packages[@]}"; do
  status=$(dpkg-query -W -f='${Status}' "$p" 2>/dev/null || true)
  [[ "$status" == "install ok installed" ]] || missing+=("$p")
done
[[ ${#missing[@]} -eq 0 ]] && exit 0

sudo=()
[[ $(id -u) -eq 0 ]] || sudo=(sudo)
echo "Installing: ${missing[*]}"
"${sudo[@]}" apt-get update -qq
DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
