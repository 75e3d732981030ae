#!/bin/sh
# Builds the Debian package from the build folder as it stands (cpack packs what `cmake
# --install` installs; nothing is built again) and checks it: the control fields, every file of
# installed-files.txt under /usr and no other, that it becomes one of the system's web browsers
# on install and stops being one on removal (its maintainer scripts, run on a root of their
# own), and lintian's verdict where lintian is installed (an error or a hardening tag fails;
# warnings are shown).
#     check_package.sh <cpack> <build folder> <output folder> <installed-files.txt> <version>
set -eu
cpack=$1 build=$2 out=$3 list=$4 version=$5

fail() {
    echo "FAIL: $*" >&2
    exit 1
}

rm -rf "$out"
mkdir -p "$out"
(cd "$build" && "$cpack" -G DEB -B "$out") || fail "cpack -G DEB failed"
deb="$out/quorbrowser_${version}_$(dpkg --print-architecture).deb"
[ -f "$deb" ] || fail "no package at $deb"

echo "== dpkg-deb --info"
dpkg-deb --info "$deb" | tee "$out/info"
field() {
    dpkg-deb --field "$deb" "$1"
}
[ "$(field Package)" = quorbrowser ] || fail "Package is not quorbrowser"
[ "$(field Version)" = "$version" ] || fail "Version is not $version"
[ "$(field Section)" = web ] || fail "Section is not web"
[ "$(field Architecture)" = "$(dpkg --print-architecture)" ] || fail "wrong Architecture"
field Maintainer | grep -Eq '^[^<]+ <[^@ ]+@[^> ]+>$' || fail "Maintainer is not: name <address>"
# Worked out by dpkg-shlibdeps from the program's libraries, with their versions.
depends=$(field Depends)
# The packages are the ones that hold the libraries on this system: their names differ between
# releases (Debian 13's carry a t64 suffix).
multiarch=$(dpkg-architecture -qDEB_HOST_MULTIARCH)
for so in libc.so.6 libQt6Core.so.6 libQt6Widgets.so.6 libQt6WebEngineWidgets.so.6; do
    lib=$(dpkg -S "$multiarch/$so" 2>/dev/null | grep -E "^[^:]+:[^:]+: /[^ ]*/$multiarch/$so\$" |
          head -n 1 | cut -d: -f1)
    [ -n "$lib" ] || fail "no package holds $so"
    echo "$depends" | grep -Eq "(^|, )$lib \(>= [^)]+\)" || fail "Depends lacks $lib: $depends"
done
[ "$(field Description | wc -l)" -ge 3 ] || fail "Description has no long text"
[ "$(field Provides)" = www-browser ] || fail "Provides is not www-browser"

echo "== dpkg-deb --contents"
dpkg-deb --contents "$deb" | tee "$out/contents"
# "./usr/bin/quorbrowser -> QuorBrowser" from the listing's sixth column on; folders left out.
awk '$1 !~ /^d/ { $1 = $2 = $3 = $4 = $5 = ""; sub(/^ +/, ""); sub(/^\.\/usr\//, ""); print }' \
    "$out/contents" | sort > "$out/packaged-files"
grep -v '^#' "$list" | sed '/^$/d' | sort > "$out/expected-files"
diff -u "$out/expected-files" "$out/packaged-files" \
    || fail "the package's files differ from $list (- expected, + packaged)"
dpkg-deb --contents "$deb" | awk '$1 !~ /^d/ && $2 != "root/root" { exit 1 }' \
    || fail "a file is not owned by root"

echo "== the alternatives x-www-browser and gnome-www-browser"
# The package unpacked into a root of its own, its scripts run as dpkg runs them, with
# update-alternatives told to work in that root: the system's own alternatives stay untouched.
root="$out/root"
mkdir -p "$root/var/lib/dpkg/alternatives" "$root/etc/alternatives" "$out/shim"
dpkg-deb -x "$deb" "$root"
dpkg-deb -e "$deb" "$out/control"
real=$(command -v update-alternatives)
printf '#!/bin/sh\nexec %s --root %s "$@"\n' "$real" "$root" > "$out/shim/update-alternatives"
chmod +x "$out/shim/update-alternatives"
browsers() {
    for name in x-www-browser gnome-www-browser; do
        "$real" --root "$root" --list "$name" 2> /dev/null || true
    done
}
PATH="$out/shim:$PATH" sh -e "$out/control/postinst" configure
[ "$(browsers)" = "/usr/bin/quorbrowser
/usr/bin/quorbrowser" ] || fail "after install the browsers are: $(browsers)"
[ "$(readlink "$root/usr/bin/x-www-browser")" = /etc/alternatives/x-www-browser ] \
    && [ "$(readlink "$root/etc/alternatives/x-www-browser")" = /usr/bin/quorbrowser ] \
    || fail "x-www-browser does not lead to the program"
PATH="$out/shim:$PATH" sh -e "$out/control/prerm" remove
[ -z "$(browsers)" ] || fail "after removal the browsers are still: $(browsers)"
[ ! -e "$root/usr/bin/x-www-browser" ] || fail "x-www-browser is left behind"

if command -v lintian > /dev/null; then
    echo "== lintian"
    verdict=0
    lintian --fail-on error --display-info --tag-display-limit 0 "$deb" > "$out/lintian" 2>&1 || verdict=$?
    grep -v 'running with root privileges is not recommended' "$out/lintian" || true
    [ "$verdict" -eq 0 ] || fail "lintian reports errors ($verdict)"
    ! grep -q ' hardening-' "$out/lintian" || fail "lintian finds the program not hardened"
else
    echo "== lintian is not installed (tools/install-deps installs it): not run"
fi
echo "PASS: $deb"
