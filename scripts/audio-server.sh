# Sourced by the test script: a headless PulseAudio server with a null sink whose
# monitor is the default source, so that the sound-server and PortAudio backends are
# exercised for real (what is played comes back as what is recorded). It needs no session
# bus and works as root. PortAudio reaches it through ALSA's pulse plugin, which takes over
# ALSA's default device whenever PULSE_SERVER names a running server. Without pulseaudio
# nothing is started and the tests that need a server skip.
start_audio_server() {
  if ! command -v pulseaudio >/dev/null 2>&1; then
    return 0
  fi
  local dir
  dir=$(mktemp -d "${TMPDIR:-/tmp}/parlantographer-pulse.XXXXXX") || return 0
  cat >"$dir/server.pa" <<PA
load-module module-null-sink sink_name=parlantographer_null
load-module module-native-protocol-unix auth-anonymous=1 socket=$dir/native
set-default-sink parlantographer_null
set-default-source parlantographer_null.monitor
PA
  mkdir -p "$dir/home" "$dir/runtime" "$dir/state" "$dir/config"
  # The server keeps its cookie, state and runtime files in the temporary folder, never
  # in the user's own.
  HOME="$dir/home" XDG_RUNTIME_DIR="$dir/runtime" XDG_CONFIG_HOME="$dir/config" \
    PULSE_RUNTIME_PATH="$dir/runtime" PULSE_STATE_PATH="$dir/state" \
    pulseaudio --daemonize=no --exit-idle-time=-1 --system=false -n -F "$dir/server.pa" \
    --use-pid-file=no --disable-shm=yes --log-target=file:"$dir/server.log" \
    >/dev/null 2>&1 &
  PARLANTOGRAPHER_PULSE_PID=$!
  PARLANTOGRAPHER_PULSE_DIR=$dir
  trap stop_audio_server EXIT

  local i
  for i in $(seq 1 50); do
    [ -S "$dir/native" ] && break
    sleep 0.1
  done
  if [ ! -S "$dir/native" ]; then
    echo "audio-server: pulseaudio did not start (see $dir/server.log); tests that need a server will skip" >&2
    return 0
  fi
  export PULSE_SERVER="unix:$dir/native"
  return 0
}

stop_audio_server() {
  if [ -n "${PARLANTOGRAPHER_PULSE_PID:-}" ]; then
    kill "$PARLANTOGRAPHER_PULSE_PID" 2>/dev/null || true
    wait "$PARLANTOGRAPHER_PULSE_PID" 2>/dev/null || true
    PARLANTOGRAPHER_PULSE_PID=
  fi
  if [ -n "${PARLANTOGRAPHER_PULSE_DIR:-}" ]; then
    rm -rf "$PARLANTOGRAPHER_PULSE_DIR"
    PARLANTOGRAPHER_PULSE_DIR=
  fi
}
