#!/usr/bin/env bash
# Runs the installed programs the way a user's terminal does.
# Usage: installedprograms.sh BINDIR VERSION
set -euo pipefail
bin=$1 version=$2
fail() {
    echo "FAIL: $*" >&2
    exit 1
}
export QT_QPA_PLATFORM=offscreen

out=$("$bin/hmktse" --version) || fail "hmktse --version failed"
[ "$out" = "HMK Tileset Editor $version" ] || fail "hmktse --version: $out"
out=$("$bin/hmktse" --help) || fail "hmktse --help failed"
for word in "[FILE]" "--version" "--help"; do
    [[ $out == *"$word"* ]] || fail "hmktse --help does not mention $word: $out"
done
out=$("$bin/hmkset" --version) || fail "hmkset --version failed"
[ "$out" = "hmkset $version" ] || fail "hmkset --version: $out"
out=$("$bin/hmkset" help) || fail "hmkset help failed"
[[ $out == *"--version"* && $out == *"diff A B"* ]] || fail "hmkset help: $out"

# Printing needs no display: with one that cannot be reached the editor could not start.
out=$(env -u DISPLAY -u WAYLAND_DISPLAY QT_QPA_PLATFORM=xcb "$bin/hmktse" --version 2>&1) ||
    fail "hmktse --version needs a display: $out"
# One file at most, refused before any window shows (a window would wait for its user).
status=0
out=$(timeout 20 "$bin/hmktse" a.dat b.dat 2>&1) || status=$?
[ "$status" = 1 ] && [[ $out == *"only one FILE"* ]] ||
    fail "hmktse a.dat b.dat: exit $status: $out"

# Started on a file from a prefix it cannot write, as a user who is not root, and ended as
# a session ends it: the file was opened, and the settings went to the user's folder.
home=$(mktemp -d)
trap 'rm -rf "$home"' EXIT
chmod 755 "$home"
echo '{"format": "hmkset", "tilesets": 1, "entriesPerTileset": 1,
       "sets": [{"name": "Moss", "entries": ["moss.bmp"]}]}' | "$bin/hmkset" build - "$home/moss.dat"
chmod 644 "$home/moss.dat"
mkdir -m 777 "$home/config"
user=()
[ "$(id -u)" = 0 ] && user=(setpriv --reuid=nobody --regid=nogroup --clear-groups)
[ -w "$bin" ] && [ ${#user[@]} = 0 ] && chmod a-w "$bin" && trap 'chmod u+w "$bin"; rm -rf "$home"' EXIT
XDG_CONFIG_HOME=$home/config HOME=$home "${user[@]}" "$bin/hmktse" "$home/moss.dat" &
sleep 3 # the window is up and the file open
kill -TERM $!
wait $! || fail "hmktse did not end on SIGTERM"
ini="$home/config/HMK Tileset Editor/hmktse.ini"
[ -f "$ini" ] || fail "no hmktse.ini in the user's folder"
grep -q "^LastOpened= $home/moss.dat" "$ini" || fail "the file argument was not opened: $(cat "$ini")"
[ ! -e "$bin/hmktse.ini" ] || fail "hmktse.ini written beside the installed program"
grep -q "moss.dat" "$home/config/HMK Tileset Editor/recent.conf" || fail "not among the recent files"
