#!/usr/bin/env bash
# Builds the Release preset and runs every benchmark, one after another, with a JACK server for
# the MIDI ones and an X server (Xvfb) for the start-up one. Run it on a quiet machine: the
# figures are wall and CPU times.
#   bench/run_all.sh [build-dir]    (default build/release through the preset; another folder
#                                    is configured as a Release build of its own)
set -euo pipefail
cd "$(dirname "$0")/.."

build=${1:-build/release}
if [ "$build" = build/release ]; then
  scripts/setup.sh release
else
  [ -f "$build/CMakeCache.txt" ] ||
    cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DZANQ_BUILD_TESTS=OFF >/dev/null
  cmake --build "$build"
fi
bench="$build/bench"

. scripts/jack-server.sh
trap stop_jack_server EXIT
start_jack_server || echo "No JACK server: the MIDI benchmarks measure less or skip." >&2

echo "load average: $(cut -d' ' -f1-3 /proc/loadavg)"
run() {
  echo
  echo "== $*"
  "$@"
}
run "$bench/sysexfiles/bench_sysexfiles"
run "$bench/banktools/bench_search"
run "$bench/session/bench_journal"
[ -x "$bench/midi/bench_midi" ] && run "$bench/midi/bench_midi"
[ -x "$bench/export/bench_transfers" ] && run "$bench/export/bench_transfers"
[ -x "$bench/cli/bench_cli" ] && run "$bench/cli/bench_cli"
run xvfb-run -a -s "-screen 0 1600x1000x24" "$bench/shell/bench_startup"
run env -u DISPLAY "$bench/shell/bench_startup"
