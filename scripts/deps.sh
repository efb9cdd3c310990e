#!/usr/bin/env bash
# Installs the Debian packages Tapbook builds and tests with, and any further packages named as
# arguments (scripts/screenshots.sh and scripts/voice-check.sh ask for their own), then the
# artwork the page bake draws from (an npm package pinned by tools/art/package-lock.json). A no-op
# when they are all there.
set -euo pipefail
packages=(
  build-essential cmake ninja-build pkg-config
  qt6-base-dev qt6-base-dev-tools qt6-svg-dev
  libjpeg62-turbo-dev libmpg123-dev libsdl2-dev libgif-dev libsoundtouch-dev libfontconfig-dev
  flite1-dev libmp3lame-dev
  fonts-noto-cjk
  libgtest-dev libgmock-dev libbenchmark-dev
  clang libclang-rt-14-dev
  xvfb xauth
  librsvg2-bin appstream desktop-file-utils dpkg-dev lintian
  "$@"
)
# npm comes with the machine's Node.js where there is one; Debian's client otherwise.
command -v npm >/dev/null 2>&1 || packages+=(npm)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  SUDO=""; [ "$(id -u)" -ne 0 ] && SUDO="sudo"
  $SUDO apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y --no-install-recommends "${missing[@]}"
fi

# The artwork, at the version the lock file pins; reinstalled only when the lock file changes.
art="$(cd "$(dirname "$0")/.." && pwd)/tools/art"
stamp="$art/node_modules/.tapbook-installed"
if [ ! -f "$stamp" ] || [ "$art/package-lock.json" -nt "$stamp" ]; then
  echo "Installing the artwork (npm ci in tools/art)"
  (cd "$art" && npm ci --no-audit --no-fund --loglevel=error)
  touch "$stamp"
fi
