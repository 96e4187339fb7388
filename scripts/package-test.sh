#!/usr/bin/env bash
# Checks the .deb that `make package` built: unpacks it into a clean folder with
# dpkg -x (nothing is installed), looks at what it carries and starts the unpacked
# program offscreen on a database made by the unpacked kestavion-initdb.
# Usage: scripts/package-test.sh [package build folder]
set -euo pipefail
BUILD=${1:-build-package}
deb=$(ls -t "$BUILD"/kestavion_*.deb 2>/dev/null | head -1 || true)
[ -n "$deb" ] || { echo "package-test: no kestavion_*.deb in $BUILD (run make package)"; exit 1; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "package-test: FAIL: $*"; exit 1; }

echo "package-test: $deb"
dpkg-deb --field "$deb" Depends | tee "$work/depends"
grep -q 'fonts-wqy-zenhei' "$work/depends" || fail "the Chinese fonts are not a dependency"
grep -q 'libsqlcipher' "$work/depends" || fail "SQLCipher is not a dependency"
dpkg-deb --ctrl-tarfile "$deb" | tar -t | grep -q 'postinst' || fail "no postinst"

root="$work/root"
dpkg -x "$deb" "$root"
for f in usr/bin/kestavion usr/bin/kestavion-initdb usr/bin/kestavion-xlsdump usr/share/applications/kestavion.desktop \
         usr/share/icons/hicolor/scalable/apps/kestavion.svg usr/share/kestavion/data-folder; do
  [ -e "$root/$f" ] || fail "$f missing"
done
if command -v desktop-file-validate >/dev/null; then desktop-file-validate "$root/usr/share/applications/kestavion.desktop"; fi

# The .xls reader runs as a program of its own beside the program: it must be
# packaged and read a real supplier's sheet.
here=$(cd "$(dirname "$0")/.." && pwd)
"$root/usr/bin/kestavion-xlsdump" "$here/tests/intake/data/delivery_note.xls" | head -c 4 | grep -q KXLS \
  || fail "the packaged .xls reader does not read an .xls file"

# Installed, the program and the tool use the machine-wide folder.
where=$(env -u KESTAVION_DATA_DIR "$root/usr/bin/kestavion-initdb" --where)
[ "$where" = "/var/lib/kestavion/Kestavion.mdb" ] || fail "data folder is $where"

# A database in a scratch folder, then the program: --check opens it, and a real start
# must still be running (at its log-in) after a few seconds, with nothing on stderr.
export KESTAVION_DATA_DIR="$work/data" QT_QPA_PLATFORM=offscreen
mkdir -p "$KESTAVION_DATA_DIR"
"$root/usr/bin/kestavion-initdb" >/dev/null
[ -f "$KESTAVION_DATA_DIR/Kestavion.mdb" ] || fail "kestavion-initdb made no database"
"$root/usr/bin/kestavion" --check || fail "the program does not open its database"
set +e
timeout 8 "$root/usr/bin/kestavion" 2>"$work/stderr"
rc=$?
set -e
[ "$rc" -eq 124 ] || { cat "$work/stderr"; fail "the program ended (exit $rc) instead of waiting at its log-in"; }
grep -v '^QStandardPaths\|propagateSizeHints' "$work/stderr" | grep . && fail "the program wrote errors" || true
echo "package-test: ok"
