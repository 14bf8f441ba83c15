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

# Printing and refusing need no display, as over ssh: only the window does. Without one
# the editor could not start, so each answer comes from the command line alone.
noDisplay=(env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM -u XDG_SESSION_TYPE)
answers() { # STATUS TEXT ARGUMENTS...
    local expected=$1 text=$2 status=0 out
    shift 2
    out=$(timeout 20 "${noDisplay[@]}" "$bin/hmktse" "$@" 2>&1) || status=$?
    [ "$status" = "$expected" ] && [[ $out == *"$text"* ]] || fail "hmktse $*: exit $status: $out"
}
answers 0 "HMK Tileset Editor $version" --version
answers 0 "--help-all" --help-all
answers 1 "Unknown option 'bogus'" --bogus
answers 1 "only one FILE" a.dat b.dat # one file at most, refused before any window shows
answers 1 "no display to show the window on" a.dat # said plainly, not aborted

# Started on a file from a prefix it cannot write, as a user who is not root, from the file's
# folder with Qt's own options, and ended as a session ends it or as Ctrl+C does: the file was
# opened under its full path, and the settings went to the user's folder.
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
settings="$home/config/HMK Tileset Editor"
for signal in TERM INT; do
    rm -rf "$settings"
    (cd "$home" && XDG_CONFIG_HOME=$home/config HOME=$home exec "${user[@]}" "$bin/hmktse" \
        -platform offscreen moss.dat) &
    # The window is up and the file open once it is among the recent files.
    for _ in $(seq 100); do grep -qs "$home/moss.dat" "$settings/recent.conf" && break; sleep 0.1; done
    kill -$signal $!
    for _ in $(seq 50); do kill -0 $! 2>/dev/null && sleep 0.1; done
    kill -0 $! 2>/dev/null && kill -KILL $! && fail "hmktse did not end on SIG$signal"
    wait $! || fail "hmktse did not end well on SIG$signal"
    [ -f "$settings/hmktse.ini" ] || fail "no hmktse.ini in the user's folder after SIG$signal"
    grep -q "^LastOpened= $home/moss.dat" "$settings/hmktse.ini" ||
        fail "the file argument was not opened: $(cat "$settings/hmktse.ini")"
    [ ! -e "$bin/hmktse.ini" ] || fail "hmktse.ini written beside the installed program"
    grep -q "$home/moss.dat" "$settings/recent.conf" || fail "not among the recent files"
done
