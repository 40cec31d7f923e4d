#!/usr/bin/env bash
# Screenshots of the window under a virtual X server, with a temporary home and the
# simulated audio device: 480x640 and 1280x800, idle, recording, paused and just recorded, plus
# the settings dialog, the splash, the records browser over a few records made by the CLI (and
# playing one at 1.5x, with its waveform), the information editor, the export dialog with its
# progress and the tag manager; each in the default light palette and in a dark desktop theme
# (the GTK platform theme with Adwaita's dark variant, files ending in "-dark").
# Usage: scripts/screenshots.sh [output folder] (default build/screenshots). Builds the dev
# preset's program first.
set -euo pipefail
cd "$(dirname "$0")/.."

out=$(realpath -m "${1:-build/screenshots}")
build=${PARLANTOGRAPHER_BUILD_DIR:-build/dev}
cmake --build "$build" --target parlantographer parlantographer-cli
program=$(realpath "$build/app/parlantographer")
cli=$(realpath "$build/cli/parlantographer-cli")
mkdir -p "$out"

shoot() { # size [dark]
  local size=$1 width=${1%x*} height=${1#*x} theme=${2:-}
  local home
  home=$(mktemp -d)
  mkdir -p "$home/pim/tasks" "$home/pim/contacts"
  cat > "$home/pim/contacts/people.vcf" <<'VCF'
BEGIN:VCARD
VERSION:3.0
N:Lee;Ann;;;
END:VCARD
BEGIN:VCARD
VERSION:3.0
N:Chan;Bo;;;
END:VCARD
VCF
  cat > "$home/pim/tasks/work.ics" <<'ICS'
BEGIN:VCALENDAR
VERSION:2.0
PRODID:-//screenshots//EN
BEGIN:VTODO
UID:1
SUMMARY:Call back the office
END:VTODO
BEGIN:VTODO
UID:2
SUMMARY:Write the quarterly report
END:VTODO
END:VCALENDAR
ICS
  # A voice for the simulated microphone, so the recording face's level meter moves
  # and the records have a waveform.
  espeak-ng -s 120 -w "$home/voice.wav" \
    "This is a memo about the quarterly report, recorded for the screenshots." 2>/dev/null
  sox "$home/voice.wav" -r 8000 -b 8 -c 1 -e unsigned-integer "$home/voice8k.wav"
  # A few records for the browser, recorded as fast as the simulated device allows.
  (
    export PARLANTOGRAPHER_HOME=$home PARLANTOGRAPHER_AUDIO=sim PARLANTOGRAPHER_SIM_SPEED=fast
    export PARLANTOGRAPHER_SIM_INPUT=$home/voice8k.wav
    "$cli" record --seconds 6 --tag Priority=Important --task "Call back the office" \
      --contact "Ann Lee" >/dev/null
    sleep 1
    "$cli" record --seconds 3 --format 2 --tag Priority=Normal --contact "Ann Lee" \
      --contact "Bo Chan" >/dev/null
    sleep 1
    "$cli" record --seconds 2 --tag Priority=Inessential \
      --task "Write the quarterly report" >/dev/null
    # An hour-long memo, so that its export shows its progress.
    sox -n -r 8000 -b 8 -c 1 -e unsigned-integer "$home/long.wav" synth 3600 sine 440 vol 0.3
    "$cli" import "$home/long.wav" >/dev/null
  )
  cat > "$home/settings.ini" <<INI
[General]
Slot1=Priority
Slot2=Contacts
Slot3=Task
Slot4=None
ExportFolder=$home/out
INI
  mkdir -p "$home/out"
  local look=() suffix=$size
  if [ "$theme" = dark ]; then
    look=(QT_QPA_PLATFORMTHEME=gtk3 GTK_THEME=Adwaita:dark)
    suffix=$size-dark
  fi
  env "${look[@]}" PARLANTOGRAPHER_SIM_INPUT="$home/voice8k.wav" \
  PARLANTOGRAPHER_HOME=$home PARLANTOGRAPHER_AUDIO=sim SHOT_OUT=$out SHOT_SIZE=$size \
    SHOT_NAME=$suffix \
    PROGRAM=$program xvfb-run -a -s "-screen 0 ${width}x${height}x24" bash -c '
      set -euo pipefail
      "$PROGRAM" --size "$SHOT_SIZE" &
      pid=$!
      sleep 0.8
      import -window root "$SHOT_OUT/splash-$SHOT_NAME.png"
      # The main window, once it is mapped at the full size (a loaded machine takes longer).
      for _ in $(seq 150); do
        xwininfo -root -tree | grep -q "\"Parlantographer\": (\"parlantographer\".*$SHOT_SIZE+0+0" && break
        sleep 0.2
      done
      sleep 1.5
      xdotool mousemove 60 110 click 1    # an item of the first slot
      sleep 0.5
      import -window root "$SHOT_OUT/idle-$SHOT_NAME.png"
      xdotool mousemove 25 8 click 1      # "Menu", then its first item: Settings
      sleep 0.5
      import -window root "$SHOT_OUT/menu-$SHOT_NAME.png"
      xdotool mousemove 60 29 click 1
      sleep 1
      import -window root "$SHOT_OUT/settings-$SHOT_NAME.png"
      xdotool key Escape
      sleep 0.5
      xdotool mousemove 75 8 click 1      # "Player": the records browser, or the pane when wide
      sleep 1
      import -window root "$SHOT_OUT/browser-$SHOT_NAME.png"
      xdotool key ctrl+bracketright ctrl+bracketright  # 1.5x
      xdotool key space                   # play the selected record
      sleep 1.6
      import -window root "$SHOT_OUT/browser-playing-$SHOT_NAME.png"
      xdotool key space
      xdotool key End                     # the hour-long memo, last in the list
      xdotool key ctrl+shift+s            # Export…
      sleep 1
      import -window root "$SHOT_OUT/export-$SHOT_NAME.png"
      xdotool key Tab End Return          # MP3, then Export
      sleep 2
      import -window root "$SHOT_OUT/export-progress-$SHOT_NAME.png"
      xdotool key Escape                  # Cancel, then the message that says so
      sleep 1
      xdotool key Return
      sleep 0.5
      for page in tasks contacts tags; do  # the other pages, in tab order
        xdotool key ctrl+Tab
        sleep 0.5
        import -window root "$SHOT_OUT/browser-$page-$SHOT_NAME.png"
      done
      xdotool key ctrl+e                  # the information editor on the selected record
      sleep 1
      import -window root "$SHOT_OUT/editor-$SHOT_NAME.png"
      xdotool key Escape
      sleep 0.5
      xdotool key Escape
      sleep 0.5
      xdotool mousemove 25 8 click 1      # "Menu", then its second item: Tag Manager
      sleep 0.5
      xdotool key Down Down Return
      sleep 1
      import -window root "$SHOT_OUT/tagmanager-$SHOT_NAME.png"
      xdotool key Escape
      sleep 0.5
      # The record button: the middle of the window, or of the recorder column beside the pane.
      read -r bx by < <(xdotool getdisplaygeometry |
        awk "{print (\$1 >= 960 ? 240 : int(\$1/2)), int(\$2*0.85)}")
      xdotool mousemove "$bx" "$by" click 1
      sleep 3.3
      import -window root "$SHOT_OUT/recording-$SHOT_NAME.png"
      xdotool key ctrl+p
      sleep 1
      import -window root "$SHOT_OUT/paused-$SHOT_NAME.png"
      xdotool mousemove "$bx" "$by" click 1
      sleep 1
      import -window root "$SHOT_OUT/recorded-$SHOT_NAME.png"
      xdotool key ctrl+q
      # A message box left open keeps the program running: end it, gently first.
      for _ in $(seq 20); do kill -0 "$pid" 2>/dev/null || break; sleep 0.2; done
      kill "$pid" 2>/dev/null || true
      sleep 1
      kill -9 "$pid" 2>/dev/null || true
      wait "$pid" 2>/dev/null || true
    '
  rm -rf "$home"
}

for size in 480x640 1280x800; do
  shoot "$size"
  shoot "$size" dark
done
echo "Screenshots in $out"
