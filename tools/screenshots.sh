#!/usr/bin/env bash
# Makes the README's screenshots from the real program under Xvfb, with the simulated DeepMind
# on a JACK server for the MIDI windows: docs/screenshots/*.png, one per window, each cropped to
# its window and reduced to a 256-colour palette.
#   tools/screenshots.sh [build-dir]     (default build/release, configured by ./run.sh)
set -euo pipefail
cd "$(dirname "$0")/.."

if [ "${1:-}" = "--inside-xvfb" ]; then
  # Under the X server: the scene program names each window; import takes its picture.
  build=$2 out=$3 scratch=$4
  coproc SCENES { "$build/tools/screenshots/zanq-screenshot-scenes"; }
  scenes_pid=$SCENES_PID
  while read -r word name id <&"${SCENES[0]}"; do
    [ "$word" = shot ] || continue
    import -window "$id" "$scratch/$name.png"
    convert "$scratch/$name.png" -colors 256 "PNG8:$out/$name.png"
    echo "  $out/$name.png"
    echo ok >&"${SCENES[1]}"
  done
  wait "$scenes_pid"
  exit
fi

build=${1:-build/release}
[ -f "$build/CMakeCache.txt" ] || scripts/setup.sh release
cmake --build "$build" --target zanq-screenshot-scenes deepmind-sim
out=docs/screenshots
mkdir -p "$out"
scratch=$(mktemp -d)

. scripts/jack-server.sh
sim_pid=""
cleanup() {
  [ -n "$sim_pid" ] && kill "$sim_pid" 2>/dev/null && wait "$sim_pid" 2>/dev/null
  stop_jack_server
  rm -rf "$scratch"
}
trap cleanup EXIT
if start_jack_server; then
  # A 20 ms answer, as a real synth takes, so the receive window is caught mid-run.
  "$build/tools/deepmind-sim/deepmind-sim" --latency 20 >/dev/null &
  sim_pid=$!
  for _ in $(seq 50); do
    jack_lsp 2>/dev/null | grep -q DeepMind12 && break
    sleep 0.1
  done
fi

mkdir -p "$scratch/files"
export ZANQ_PROGRAM_FOLDER="$scratch/files"
export ZANQ_UPDATE_URL="http://127.0.0.1:1/version.txt"  # closed port: no network
export QT_QPA_PLATFORM=xcb
xvfb-run -a -s "-screen 0 1600x1000x24" "$0" --inside-xvfb "$build" "$out" "$scratch"
du -ch "$out"/*.png | tail -1
