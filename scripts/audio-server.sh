# Sourced by the test script: a headless PulseAudio server with a null sink, so the
# PortAudio backend is exercised for real. Without it the PortAudio tests skip.
start_audio_server() {
  if ! command -v pulseaudio >/dev/null; then
    return 0
  fi
  export PULSE_SERVER="unix:${XDG_RUNTIME_DIR:-/tmp}/parlantographer-pulse/native"
  return 0
}
