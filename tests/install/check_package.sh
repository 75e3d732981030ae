#!/bin/sh
# Builds the Debian package from the build folder as it stands (cpack packs what `cmake
# --install` installs; nothing is built again) and checks it: the control fields, every file of
# installed-files.txt under /usr and no other, and lintian's verdict where lintian is installed
# (an error fails; warnings are shown).
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
for lib in libc6 libqt6core6 libqt6widgets6 libqt6webenginewidgets6; do
    echo "$depends" | grep -Eq "(^|, )$lib \(>= [^)]+\)" || fail "Depends lacks $lib: $depends"
done
[ "$(field Description | wc -l)" -ge 3 ] || fail "Description has no long text"

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

if command -v lintian > /dev/null; then
    echo "== lintian"
    verdict=0
    lintian --fail-on error --display-info --tag-display-limit 0 "$deb" > "$out/lintian" 2>&1 || verdict=$?
    grep -v 'running with root privileges is not recommended' "$out/lintian" || true
    [ "$verdict" -eq 0 ] || fail "lintian reports errors ($verdict)"
else
    echo "== lintian is not installed (tools/install-deps installs it): not run"
fi
echo "PASS: $deb"
