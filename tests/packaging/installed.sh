#!/bin/sh
# Installs into a temporary DESTDIR, then runs the installed program as a user would: it must
# find its shipped files under the prefix and write nothing there.
# Usage: installed.sh BUILD_DIR SOURCE_DIR
set -eu
build=$1
src=$2
tmp=$(mktemp -d)
pid=
cleanup() {
    [ -n "$pid" ] && kill "$pid" 2>/dev/null || true
    rm -rf "$tmp"
}
trap cleanup EXIT
fail() {
    echo "FAIL: $*" >&2
    exit 1
}

DESTDIR="$tmp/root" cmake --install "$build" --prefix /usr >/dev/null
prefix="$tmp/root/usr"
app=org.optalis.Optalis

[ -x "$prefix/bin/optalis" ] || fail "no program in bin/"
for f in share/applications/$app.desktop share/metainfo/$app.metainfo.xml \
         share/mime/packages/$app.xml share/icons/hicolor/scalable/apps/$app.svg \
         share/icons/hicolor/48x48/apps/$app.png share/man/man1/optalis.1.gz \
         share/doc/optalis/copyright share/optalis/translations/qtprint_fr.qm; do
    [ -f "$prefix/$f" ] || fail "$f not installed"
done
# Everything data/ holds is shipped, but the sources of the exercises.
(cd "$src/data" && find . -type f -not -path './contenu/*') | while read -r f; do
    [ -f "$prefix/share/optalis/$f" ] || fail "data file $f not installed"
done
[ ! -e "$prefix/share/optalis/contenu" ] || fail "the exercises' sources are shipped"

# The informative options need no display.
run() { env -u DISPLAY -u WAYLAND_DISPLAY QT_QPA_PLATFORM=xcb "$prefix/bin/optalis" "$@"; }
run --version | grep -q '^Optalis version ' || fail "--version"
run --help | grep -q '^Utilisation : optalis' || fail "--help"
if run --vite 2>"$tmp/err"; then fail "an unknown option is refused"; fi
grep -q 'option inconnue' "$tmp/err" || fail "unknown option message"

# A user of their own, so nothing of the machine's user is touched.
export HOME="$tmp/home" XDG_DATA_HOME="$tmp/home/data" XDG_CONFIG_HOME="$tmp/home/config"
export XDG_CACHE_HOME="$tmp/home/cache" XDG_RUNTIME_DIR="$tmp/home/run"
mkdir -p "$XDG_RUNTIME_DIR" && chmod 700 "$XDG_RUNTIME_DIR"
exchange="$XDG_DATA_HOME/optalis/TEMPQX.TMP"
run --chemins >"$tmp/paths"
grep -qx "Fichiers fournis (aide, exercices) : $prefix/share/optalis" "$tmp/paths" \
    || fail "shipped files not read from the prefix: $(cat "$tmp/paths")"
grep -qx "Fichier d'échange : $exchange" "$tmp/paths" || fail "exchange file: $(cat "$tmp/paths")"
[ -f "$prefix/share/optalis/Qvex.html" ] || fail "help not installed"
# Every picture the help shows is installed beside it.
for picture in $(grep -o 'src="aide/[^"]*"' "$prefix/share/optalis/Qvex.html" | sed 's/^src="//; s/"$//' | sort -u); do
    [ -f "$prefix/share/optalis/$picture" ] || fail "help picture not installed: $picture"
done

# Started offscreen (root may write anywhere: the rule must not depend on it).
find "$tmp/root" -printf '%p %s %T@ %m\n' | sort >"$tmp/before"
QT_QPA_PLATFORM=offscreen "$prefix/bin/optalis" &
pid=$!
i=0
while [ ! -s "$exchange" ]; do
    i=$((i + 1))
    [ $i -le 300 ] || fail "no exchange file in the user's data folder"
    kill -0 "$pid" 2>/dev/null || fail "the program ended at start-up"
    sleep 0.1
done
sleep 1
kill -0 "$pid" 2>/dev/null || fail "the program did not keep running"
# Record 11 (128-byte records) says the program runs.
[ "$(dd if="$exchange" bs=1 skip=1282 count=3 2>/dev/null)" = OUI ] || fail "running flag"
kill "$pid"
wait "$pid" 2>/dev/null || true
pid=
find "$tmp/root" -printf '%p %s %T@ %m\n' | sort >"$tmp/after"
cmp -s "$tmp/before" "$tmp/after" || fail "written under the prefix: $(diff "$tmp/before" "$tmp/after")"

# The freedesktop files, with the validators when they are installed.
if command -v desktop-file-validate >/dev/null; then
    desktop-file-validate "$prefix/share/applications/$app.desktop" || fail "desktop entry"
fi
if command -v appstreamcli >/dev/null; then
    appstreamcli validate --no-net "$prefix/share/metainfo/$app.metainfo.xml" \
        || fail "metainfo"
fi
if command -v update-mime-database >/dev/null; then
    XDG_DATA_DIRS="$prefix/share" update-mime-database "$prefix/share/mime" 2>"$tmp/mime" || fail "MIME types"
    [ ! -s "$tmp/mime" ] || fail "MIME types: $(cat "$tmp/mime")"
    grep -q 'application/x-optalis-config' "$prefix/share/mime/globs2" || fail "no .P17 type"
fi
echo "installed tree: OK"
