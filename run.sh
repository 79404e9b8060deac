#!/usr/bin/env bash
# Installs what is missing, builds the Release configuration and starts the librarian.
set -euo pipefail
cd "$(dirname "$0")"
scripts/setup.sh release
exec build/release/zanq-librarian "$@"
