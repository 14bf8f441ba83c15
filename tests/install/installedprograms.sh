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
