#!/usr/bin/env bash
# Installs what is missing, builds the Release configuration and starts the librarian.
# ./run.sh --demo: with no DeepMind connected, a simulated one on a JACK server stands in.
set -euo pipefail
cd "$(dirname "$0")"
scripts/setup.sh release

if [ "${1:-}" != "--demo" ]; then
  exec build/release/zanq-librarian "$@"
fi
shift

# Demo: without a DeepMind connected, a JACK server and the simulated DeepMind stand in for it.
. scripts/jack-server.sh
deepmind_present() {
  grep -qi deepmind /proc/asound/seq/clients 2>/dev/null ||
    { jack_server_running && jack_lsp 2>/dev/null | grep -qi deepmind; }
}
sim_pid=""
cleanup() {
  if [ -n "$sim_pid" ]; then
    kill "$sim_pid" 2>/dev/null || true
    wait "$sim_pid" 2>/dev/null || true
  fi
  stop_jack_server
}
trap cleanup EXIT
if ! deepmind_present; then
  start_jack_server
  build/release/tools/deepmind-sim/deepmind-sim --latency 20 >/dev/null &
  sim_pid=$!
  for _ in $(seq 50); do
    jack_lsp 2>/dev/null | grep -q DeepMind12 && break
    sleep 0.1
  done
fi
build/release/zanq-librarian "$@"
