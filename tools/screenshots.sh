#!/usr/bin/env bash
# Makes the README's screenshots from the real program under Xvfb, with the simulated DeepMind
# on a JACK server for the MIDI windows: docs/screenshots/*.png, one per window, each cropped to
# its window and reduced to a 256-colour palette.
#   tools/screenshots.sh [build-dir]     (default build/release, configured by ./run.sh)
# The program runs from a clean home: in a mount namespace of its own, an empty /home holds one
# user, whose Documents hold the program's folder with a few patch files, so the pictures show
# that folder and nothing of the machine that makes them.
set -euo pipefail
cd "$(dirname "$0")/.."

case "${1:-}" in
--inside-xvfb)
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
  ;;
--clean-home)
  # In the namespace: a home like a new user's, the program's own folder in it.
  build=$2 out=$3 scratch=$4
  mount -t tmpfs -o mode=0755 tmpfs /home
  export HOME=/home/alex USER=alex LOGNAME=alex XDG_RUNTIME_DIR=$scratch/runtime
  mkdir -p "$HOME"/{Desktop,Documents,Downloads,Music,Pictures} "$XDG_RUNTIME_DIR"
  chmod 0700 "$XDG_RUNTIME_DIR"
  unset ZANQ_PROGRAM_FOLDER XDG_CONFIG_HOME XDG_DATA_HOME XDG_CACHE_HOME
  export ZANQ_UPDATE_URL="http://127.0.0.1:1/version.txt"  # closed port: no network
  export QT_QPA_PLATFORM=xcb
  xvfb-run -a -s "-screen 0 1600x1000x24" "$0" --inside-xvfb "$build" "$out" "$scratch"
  exit
  ;;
esac

build=${1:-build/release}
[ -f "$build/CMakeCache.txt" ] || scripts/setup.sh release
cmake --build "$build" --target zanq-screenshot-scenes deepmind-sim
build=$(cd "$build" && pwd)
out=$(pwd)/docs/screenshots
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
  # A 20 ms answer, as a real synth takes; two programs get no answer to either request.
  "$build/tools/deepmind-sim/deepmind-sim" --latency 20 --drop-replies 10,11,47,48 >/dev/null &
  sim_pid=$!
  for _ in $(seq 50); do
    jack_lsp 2>/dev/null | grep -q DeepMind12 && break
    sleep 0.1
  done
fi

# A private mount namespace (as root directly, else as a user namespace's root).
as_root=()
[ "$(id -u)" -eq 0 ] || as_root=(--map-root-user)
unshare --mount --propagation private "${as_root[@]}" "$0" --clean-home "$build" "$out" "$scratch"
du -ch "$out"/*.png | tail -1
