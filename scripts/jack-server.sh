# Sourced by test.sh and run.sh: a JACK server with the dummy driver for the MIDI tests and the
# demo, named by JACK_DEFAULT_SERVER when that is set. Synchronous mode (-S), because the
# default asynchronous mode drops MIDI events whenever a client misses a cycle. Runs as root
# without D-Bus, so no audio device reservation.

jack_server_running() {
  [ "$(jack_wait -c 2>/dev/null)" = "running" ]
}

# Starts a server unless one runs; JACK_STARTED_PID names the one started here, if any.
start_jack_server() {
  JACK_STARTED_PID=""
  jack_server_running && return 0
  local name=()
  [ -n "${JACK_DEFAULT_SERVER:-}" ] && name=(-n "$JACK_DEFAULT_SERVER")
  JACK_NO_AUDIO_RESERVATION=1 jackd "${name[@]}" -S -r -d dummy -r 48000 -p 256 >/dev/null 2>&1 &
  JACK_STARTED_PID=$!
  # jack_wait -w returns once the server answers (or after the timeout, in seconds).
  jack_wait -w -t 10 >/dev/null 2>&1 || true
  jack_server_running && return 0
  echo "The JACK server did not start." >&2
  return 1
}

# Stops the server only if this script started it.
stop_jack_server() {
  if [ -n "${JACK_STARTED_PID:-}" ]; then
    kill "$JACK_STARTED_PID" 2>/dev/null || true
    wait "$JACK_STARTED_PID" 2>/dev/null || true
    JACK_STARTED_PID=""
  fi
}
