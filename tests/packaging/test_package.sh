#!/usr/bin/env bash
# Builds the Debian package from a configured build tree and holds it to what a desktop user
# and Debian expect: lintian reports no error and no warning, the layout's fonts come with it,
# the menu icons come in every size, both programs come with their manual pages, the changelog
# names this version, and the manual page names every environment variable that the program
# reads.
#   test_package.sh BUILD-DIR SOURCE-DIR
set -uo pipefail
build=$1 source=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failed=0
fail() { echo "FAIL: $*"; failed=$((failed + 1)); }

command -v lintian >/dev/null || { echo "FAIL: lintian is not installed (scripts/setup.sh brings it)"; exit 1; }
cpack -G DEB --config "$build/CPackConfig.cmake" -B "$work" >"$work/cpack.log" 2>&1 ||
  { cat "$work/cpack.log"; exit 1; }
deb=$(ls "$work"/*.deb)

lintian --fail-on error,warning "$deb" >"$work/lintian" 2>&1 || fail "lintian: $(cat "$work/lintian")"

depends=$(dpkg-deb -f "$deb" Depends)
for package in fonts-crosextra-carlito fonts-liberation2 libqt6sql6-sqlite; do
  [[ ", $depends," == *", $package"[\ ,]* ]] || fail "Depends lacks $package: $depends"
done

dpkg-deb -c "$deb" >"$work/contents"
for size in 48x48 128x128 256x256 scalable; do
  grep -q "/icons/hicolor/$size/apps/zanq-librarian\." "$work/contents" || fail "no $size icon"
done

dpkg-deb -x "$deb" "$work/root"
for program in zanq-librarian zanq-cli; do
  [ -x "$work/root/usr/bin/$program" ] || fail "the package lacks $program"
done
for program in "$work"/root/usr/bin/*; do
  [ -f "$work/root/usr/share/man/man1/$(basename "$program").1.gz" ] ||
    fail "$(basename "$program") comes without its manual page"
done
manual=$(zcat "$work/root/usr/share/man/man1/zanq-librarian.1.gz")
for variable in $(grep -rhoE '(getenv|qgetenv|qEnvironmentVariable[A-Za-z]*)\("[A-Za-z_]+"' \
                  "$source/src" | grep -oE '"[A-Za-z_]+"' | tr -d '"' | sort -u); do
  grep -q "^\.B $variable\$" <<<"$manual" || fail "the manual page does not list $variable"
done

version=$(dpkg-deb -f "$deb" Version)
zcat "$work/root/usr/share/doc/zanq-librarian/changelog.gz" | head -1 | grep -qF "($version)" ||
  fail "the changelog's newest entry is not $version"

[ "$failed" -eq 0 ] && echo "package $(basename "$deb"): clean"
[ "$failed" -eq 0 ]
