#!/usr/bin/env bash
# Installs what is missing, builds the Release and the sanitizer configurations and runs the
# whole suite in both. Widget tests run on Qt's offscreen platform.
set -euo pipefail
cd "$(dirname "$0")"
scripts/setup.sh release dev-asan

# The MIDI end-to-end tests talk to a simulated synthesizer over JACK. Run from here, a missing
# server fails them instead of letting them skip.
. scripts/jack-server.sh
trap stop_jack_server EXIT
start_jack_server || true
export ZANQ_REQUIRE_JACK=1

status=0
for preset in release dev-asan; do
  echo "== ctest ($preset)"
  ctest --preset "$preset" -j2 || status=1
done
exit $status
