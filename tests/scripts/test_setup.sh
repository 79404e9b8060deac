#!/usr/bin/env bash
# A new user's first command: scripts/setup.sh with a package missing, as root and as a sudo
# user. Stand-ins first on PATH play the package database, apt-get and sudo (both only write
# down how they were called) and id (root or not). Nothing is installed and, with no presets
# given, nothing is built.
set -uo pipefail
setup="$(cd "$(dirname "$0")/../.." && pwd)/scripts/setup.sh"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir "$work/bin"
passed=0 failed=0

stand_in() {  # stand_in NAME BODY
  printf '#!/usr/bin/env bash\n%s\n' "$2" >"$work/bin/$1"
  chmod +x "$work/bin/$1"
}
stand_in apt-get 'echo "apt-get $* [DEBIAN_FRONTEND=${DEBIAN_FRONTEND:-}]" >>"$CALLS"'
# sudo keeps the environment only when asked to with -E.
stand_in sudo 'echo "sudo $*" >>"$CALLS"
if [ "$1" = -E ]; then shift; else unset DEBIAN_FRONTEND; fi
exec "$@"'
stand_in id '[ "$1" = -u ] && echo "$STAND_IN_UID"'

# check NAME UID EXPECTED-CALLS: runs setup.sh as UID and compares what the stand-ins saw.
check() {
  : >"$work/calls"
  if ! CALLS="$work/calls" STAND_IN_UID=$2 PATH="$work/bin:$PATH" bash "$setup" \
      >"$work/out" 2>&1; then
    echo "FAIL ($1): setup.sh stopped:"; cat "$work/out"; failed=$((failed + 1)); return
  fi
  if [ "$(cat "$work/calls")" != "$3" ]; then
    printf 'FAIL (%s): expected\n%s\ngot\n%s\n' "$1" "$3" "$(cat "$work/calls")"
    failed=$((failed + 1)); return
  fi
  passed=$((passed + 1))
}

stand_in dpkg-query '[ "${@: -1}" = cmake ] || printf "install ok installed"'
update='update -qq'
install='install -y -qq --no-install-recommends cmake'
env='[DEBIAN_FRONTEND=noninteractive]'
check root 0 "apt-get $update $env
apt-get $install $env"
check "sudo user" 1000 "sudo -E apt-get $update
apt-get $update $env
sudo -E apt-get $install
apt-get $install $env"

stand_in dpkg-query 'printf "install ok installed"'
check "root, nothing missing" 0 ""
check "sudo user, nothing missing" 1000 ""

echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
