#!/usr/bin/env bash
# The installed program and its package: an install into a temporary root passes the desktop entry
# and metadata validators; the installed program, started from a read-only copy of that root,
# keeps its settings and example register under the user's data folder; the Debian package
# passes lintian without errors (its warnings are shown).
# Expects $1 = the build folder, $2 = x11_window_tool; runs under a virtual X server.
set -u
build=$1
window_tool=$2
top=$(mktemp -d)
pid=
cleanup() {
    [ -n "$pid" ] && kill "$pid" 2>/dev/null
    chmod -R u+w "$top" 2>/dev/null
    rm -rf "$top"
}
trap cleanup EXIT
fail() { echo "FAIL: $*"; exit 1; }
id=org.quillet.quillet

DESTDIR="$top/root" cmake --install "$build" --prefix /usr >/dev/null || fail "the install failed"
root=$top/root/usr
for file in bin/quillet share/quillet/quillet.html share/applications/$id.desktop share/metainfo/$id.metainfo.xml \
            share/icons/hicolor/256x256/apps/$id.png share/man/man1/quillet.1.gz share/doc/quillet/copyright \
            bin/quillet-cli share/man/man1/quillet-cli.1.gz; do
    [ -f "$root/$file" ] || fail "$file was not installed"
done
desktop-file-validate "$root/share/applications/$id.desktop" || fail "the desktop entry is not valid"
appstreamcli validate --no-net "$root/share/metainfo/$id.metainfo.xml" >"$top/appstream.log" 2>&1 ||
    { cat "$top/appstream.log"; fail "the metadata is not valid"; }

# A read-only copy, as a system folder is to a user; and a user of its own.
cp -a "$top/root" "$top/readonly"
chmod -R a-w "$top/readonly"
mkdir -p "$top/home" "$top/runtime"
chmod 700 "$top/runtime"
export HOME=$top/home XDG_DATA_HOME=$top/data XDG_RUNTIME_DIR=$top/runtime
touch "$top/before"
"$top/readonly/usr/bin/quillet" &
pid=$!
"$window_tool" wait Quillet 20 || fail "the installed program shows no window"
data=$XDG_DATA_HOME/quillet
# The window shows first; the settings are written while start-up goes on.
for _ in $(seq 1 50); do [ -s "$data/Example.qlt" ] && break; sleep 0.1; done
[ "$(stat -c %s "$data/Example.qlt" 2>/dev/null)" = 633 ] || fail "no example register in $data"
cmp -s "$data/Quillet.ini" "$(dirname "$0")/../data/settings/default.ini" || fail "the settings in $data are not the defaults"
[ -z "$(find "$top/readonly" -newer "$top/before")" ] || fail "the program wrote into its own folder"
"$window_tool" key Quillet x ctrl || fail "could not press Ctrl+X"
for _ in $(seq 1 100); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
kill -0 "$pid" 2>/dev/null && fail "the program did not end"
wait "$pid" || fail "the program ended with an error"
pid=

# Two packages: the program, and quillet-cli on its own (no Qt, no display), which the program needs.
# Every date in both is SOURCE_DATE_EPOCH's.
export SOURCE_DATE_EPOCH=1796904000
cpack -G DEB -B "$top/package" --config "$build/CPackConfig.cmake" >"$top/cpack.log" 2>&1 ||
    { cat "$top/cpack.log"; fail "cpack failed"; }
deb=$(ls "$top"/package/quillet_*.deb)
cli_deb=$(ls "$top"/package/quillet-cli_*.deb)
dpkg-deb -c "$deb" >"$top/contents" && grep -q "./usr/bin/quillet$" "$top/contents" || fail "the package holds no program"
grep -q "quillet-cli" "$top/contents" && fail "the program's package holds quillet-cli's files"
dpkg-deb -c "$cli_deb" >"$top/cli_contents" && grep -q "./usr/bin/quillet-cli$" "$top/cli_contents" ||
    fail "quillet-cli's package holds no quillet-cli"
grep -q "./usr/share/man/man1/quillet-cli.1.gz$" "$top/cli_contents" || fail "quillet-cli's package holds no manual page"
version=$(dpkg-deb -f "$deb" Version)
[ "$(dpkg-deb -f "$cli_deb" Version)" = "$version" ] || fail "the two packages' versions differ"
zcat "$root/share/doc/quillet/changelog.gz" | grep -q "^quillet ($version)" || fail "the changelog has no entry for $version"
grep -q "<release version=\"$version\"" "$root/share/metainfo/$id.metainfo.xml" || fail "the metadata has no release $version"
depends=$(dpkg-deb -f "$deb" Depends)
for needed in fonts-dejavu-core qt6-qpa-plugins libqt6widgets6 "quillet-cli (= $version)"; do
    [[ "$depends" == *"$needed"* ]] || fail "the package does not depend on $needed: $depends"
done
cli_depends=$(dpkg-deb -f "$cli_deb" Depends)
[[ "$cli_depends" == *libsqlite3* ]] || fail "quillet-cli's dependencies were not found: $cli_depends"
[[ "$cli_depends" == *libqt* || "$cli_depends" == *libx11* ]] && fail "quillet-cli needs Qt or X: $cli_depends"
[[ "$(dpkg-deb -f "$deb" Recommends)" == *xdg-utils* ]] || fail "the package does not recommend xdg-utils"

# So a second packaging a second later, of files touched since, gives the same bytes.
sleep 1
touch "$build/bin/quillet-cli"
cpack -G DEB -B "$top/second" --config "$build/CPackConfig.cmake" >"$top/cpack.log" 2>&1 || fail "cpack failed"
for name in "$(basename "$deb")" "$(basename "$cli_deb")"; do
    cmp -s "$top/package/$name" "$top/second/$name" || fail "two packagings of one build differ: $name"
    dates=$(dpkg-deb --fsys-tarfile "$top/package/$name" | TZ=UTC tar -t -v --full-time | awk '{print $4" "$5}' | sort -u)
    [ "$dates" = "2026-12-10 12:00:00" ] || fail "$name holds files not dated from SOURCE_DATE_EPOCH: $dates"
done
unset SOURCE_DATE_EPOCH
# Root may run it here: CI has no other user.
lintian --fail-on error "$deb" "$cli_deb" 2> >(grep -v "running with root privileges" >&2) || fail "lintian found errors"
echo "1 passed, 0 failed"
