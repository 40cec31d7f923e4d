#!/usr/bin/env bash
# Screenshots of the main screen whose Contacts and Task slots are filled from the desktop's
# personal-information service: a private session bus, where the service starts by D-Bus
# activation in a temporary home, gets two contacts and two tasks through its own client
# library (eds_fill), and the program reads them with PimSource=desktop and no folder.
# 480x640 and 1280x800, the main screen and the settings dialog.
# Usage: scripts/screenshots-desktop-pim.sh [output folder] (default build/screenshots).
# Builds the dev preset's program and eds_fill first.
set -euo pipefail
cd "$(dirname "$0")/.."

out=$(realpath -m "${1:-build/screenshots}")
build=${PARLANTOGRAPHER_BUILD_DIR:-build/dev}
cmake --build "$build" --target parlantographer eds_fill
program=$(realpath "$build/app/parlantographer")
fill=$(realpath "$build/tests/eds_fill")
mkdir -p "$out"

shoot() { # size
  local size=$1 width=${1%x*} height=${1#*x}
  local home
  home=$(mktemp -d)
  mkdir -p "$home/data" "$home/config" "$home/cache" "$home/runtime"
  chmod 700 "$home/runtime"
  cat > "$home/people.vcf" <<'VCF'
BEGIN:VCARD
VERSION:3.0
N:Lee;Ann;;;
FN:Ann Lee
END:VCARD
BEGIN:VCARD
VERSION:3.0
N:Ångström;Zoë;;;
FN:Zoë Ångström
END:VCARD
VCF
  cat > "$home/work.ics" <<'ICS'
BEGIN:VTODO
UID:screenshots-1
SUMMARY:Write the quarterly report
DUE;VALUE=DATE:20261210
END:VTODO
BEGIN:VTODO
UID:screenshots-2
SUMMARY:Call back the office
END:VTODO
ICS
  cat > "$home/settings.ini" <<'INI'
[General]
Slot1=Priority
Slot2=Contacts
Slot3=Task
Slot4=None
PimSource=desktop
INI
  # What runs on the virtual display inside the private session.
  cat > "$home/shots.sh" <<'SHOTS'
set -euo pipefail
"$PROGRAM" --size "$SHOT_SIZE" &
pid=$!
for _ in $(seq 150); do
  xwininfo -root -tree | grep -q "\"Parlantographer\": (\"parlantographer\".*$SHOT_SIZE+0+0" && break
  sleep 0.2
done
sleep 3
import -window root "$SHOT_OUT/desktop-pim-$SHOT_SIZE.png"
xdotool mousemove 25 8 click 1        # "Menu", then its first item: Settings
sleep 0.5
xdotool mousemove 60 29 click 1       # "Contacts and tasks from" is at its foot
sleep 1
import -window root "$SHOT_OUT/desktop-pim-settings-$SHOT_SIZE.png"
xdotool key Escape
sleep 0.5
xdotool key ctrl+q
for _ in $(seq 20); do kill -0 "$pid" 2>/dev/null || break; sleep 0.2; done
kill "$pid" 2>/dev/null || true
wait "$pid" 2>/dev/null || true
SHOTS
  # Nothing of the user's own session reaches the private one: its home, its folders, no display.
  env -u DISPLAY -u WAYLAND_DISPLAY -u DBUS_SESSION_BUS_ADDRESS HOME="$home" \
    XDG_DATA_HOME="$home/data" XDG_CONFIG_HOME="$home/config" XDG_CACHE_HOME="$home/cache" \
    XDG_RUNTIME_DIR="$home/runtime" PARLANTOGRAPHER_HOME="$home" PARLANTOGRAPHER_AUDIO=sim \
    PARLANTOGRAPHER_PIM="$home/no-folder" SHOT_OUT="$out" SHOT_SIZE="$size" PROGRAM="$program" \
    dbus-run-session -- bash -c '
      set -euo pipefail
      "$1" "$HOME/people.vcf" "$HOME/work.ics"
      xvfb-run -a -s "-screen 0 $2x24" bash "$HOME/shots.sh"
    ' fill "$fill" "${width}x${height}"
  rm -rf "$home"
}

for size in 480x640 1280x800; do
  shoot "$size"
done
echo "Screenshots in $out"
