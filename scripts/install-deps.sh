#!/usr/bin/env bash
# Installs every Debian package that the build, the tests and the program need.
# Safe to run again: apt-get skips what is already there.
set -euo pipefail

packages=(
  # toolchain
  build-essential cmake ninja-build pkg-config clang-format
  # the fuzz targets: clang with its libFuzzer and sanitizer runtimes
  clang libclang-rt-14-dev
  # libraries
  qt6-base-dev qt6-base-dev-tools libqt6opengl6-dev libgl-dev
  qt6-tools-dev qt6-l10n-tools libqt6svg6
  portaudio19-dev libpulse-dev libspeex-dev libogg-dev libical-dev
  # the desktop's contacts and tasks: the service's client libraries
  libebook1.2-dev libecal2.0-dev
  # export and import: every format peers read, and rate conversion
  libsndfile1-dev libsamplerate0-dev
  # playback faster or slower with the pitch kept
  libsonic-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  # peers and tools used by tests, benchmarks and screenshots (strace counts the system calls
  # of a listing)
  speex ffmpeg sox espeak-ng strace
  pulseaudio pulseaudio-utils libasound2-plugins
  xvfb xauth x11-apps xdotool imagemagick fonts-dejavu-core adwaita-icon-theme
  qt6-gtk-platformtheme
  dbus-x11
  # the desktop's contacts and tasks are tested against the service itself, started by
  # D-Bus activation in a private session bus
  evolution-data-server dbus-daemon
  # the power-cut tests make and mount a small ext4 file system (as root)
  e2fsprogs mount
  # the installed desktop files are validated by the tests
  desktop-file-utils appstream
)

sudo_cmd=()
if [ "$(id -u)" -ne 0 ]; then sudo_cmd=(sudo); fi

export DEBIAN_FRONTEND=noninteractive
missing=()
for p in "${packages[@]}"; do
  dpkg -s "$p" >/dev/null 2>&1 || missing+=("$p")
done
if [ "${#missing[@]}" -eq 0 ]; then
  echo "All packages present."
  exit 0
fi
"${sudo_cmd[@]}" apt-get update -qq
"${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
