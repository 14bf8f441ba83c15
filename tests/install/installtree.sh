#!/usr/bin/env bash
# Installs the build into a fresh prefix and checks what lands there: exactly the expected
# files; a desktop entry that validates and names the installed program, icon and MIME
# type; a MIME package that claims hmkset.dat.
# Usage: installtree.sh CMAKE BUILD SOURCE PREFIX APP_ID BINDIR DATADIR DOCDIR
set -euo pipefail
cmake=$1 build=$2 source=$3 prefix=$4 id=$5 bindir=$6 datadir=$7 docdir=$8
fail() {
    echo "FAIL: $*" >&2
    exit 1
}

rm -rf "$prefix"
"$cmake" --install "$build" --prefix "$prefix" >/dev/null
cd "$prefix"

# Nothing more: a stray settings or description file would have to be written in place.
expected=$(printf '%s\n' "$bindir/hmkset" "$bindir/hmktse" "$datadir/applications/$id.desktop" \
    "$datadir/icons/hicolor/scalable/apps/$id.svg" "$datadir/mime/packages/$id.xml" \
    "$docdir/readme.txt" | sort)
actual=$(find . ! -type d | sed 's|^\./||' | sort)
[ "$actual" = "$expected" ] || fail "installed files differ:"$'\n'"$(diff <(echo "$expected") <(echo "$actual"))"
for program in hmktse hmkset; do
    [ -x "$bindir/$program" ] || fail "$bindir/$program is not executable"
done
cmp -s "$docdir/readme.txt" "$source/resources/readme.txt" || fail "readme.txt is not the project's"
cmp -s "$datadir/icons/hicolor/scalable/apps/$id.svg" "$source/resources/icons/app.svg" ||
    fail "the icon is not the application's"

desktop=$datadir/applications/$id.desktop
if command -v desktop-file-validate >/dev/null; then
    report=$(desktop-file-validate "$desktop" 2>&1) || fail "$report"
    [ -z "$report" ] || fail "$report"
else
    echo "desktop-file-validate not found: the desktop entry is not validated"
fi
key() { sed -n "s/^$1=//p" "$desktop"; }
[ "$(key Name)" = "HMK Tileset Editor" ] || fail "Name=$(key Name)"
[ "$(key Exec)" = "hmktse %f" ] || fail "Exec=$(key Exec)"
[ "$(key Icon)" = "$id" ] || fail "Icon=$(key Icon) is not the installed $id.svg"
mimeType=$(key MimeType)
mimeType=${mimeType%;}
[ -n "$mimeType" ] && [[ $mimeType != *";"* ]] || fail "MimeType=$(key MimeType)"

# The MIME database built from the package alone maps the file name to the entry's type.
if command -v update-mime-database >/dev/null; then
    scratch=$(mktemp -d)
    trap 'rm -rf "$scratch"' EXIT
    mkdir -p "$scratch/mime/packages"
    cp "$datadir/mime/packages/$id.xml" "$scratch/mime/packages/"
    # In the search path, so that it only reports problems of the package.
    report=$(XDG_DATA_DIRS=$scratch update-mime-database "$scratch/mime" 2>&1) || fail "$report"
    [ -z "$report" ] || fail "$report"
    globs=$scratch/mime/globs2
    grep -qx "[0-9]*:$mimeType:hmkset.dat" "$globs" || fail "hmkset.dat is not $mimeType"
    [ "$(grep -cv '^#' "$globs")" = 1 ] || fail "the MIME package claims more than hmkset.dat"
else
    grep -q "type=\"$mimeType\"" "$datadir/mime/packages/$id.xml" || fail "$mimeType not defined"
    echo "update-mime-database not found: the MIME package is not built"
fi
