#!/usr/bin/env bash
# Checks the built package with Debian's own checkers: lintian (no error and
# no warning), desktop-file-validate and appstreamcli on what it installs;
# and that the version is the same everywhere it is written.
#   check_package.sh PACKAGES_DIR VERSION
set -euo pipefail
dir=$1
version=$2
debs=("$dir"/zorvel_"$version"_*.deb)
deb=${debs[0]}
[ -f "$deb" ] || { echo "check_package: no zorvel_${version}_*.deb in $dir"; exit 1; }
echo "check_package: $deb"

tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
dpkg-deb -x "$deb" "$tmp/root"
failed=0
fail() { echo "check_package: FAILED: $*"; failed=1; }

# lintian, once: it takes a while. Infos are printed, and listed with their
# reasons in docs/packaging.md; a warning or an error fails.
root=()
[ "$(id -u)" -ne 0 ] || root=(--allow-root)
echo "--- lintian"
lintian "${root[@]}" --display-info --pedantic --fail-on error,warning "$deb" || fail "lintian"

echo "--- desktop-file-validate"
desktops=("$tmp"/root/usr/share/applications/*.desktop)
desktop-file-validate "${desktops[@]}" || fail "desktop-file-validate"

echo "--- appstreamcli validate"
metainfos=("$tmp"/root/usr/share/metainfo/*.metainfo.xml)
appstreamcli validate --no-net "${metainfos[@]}" || fail "appstreamcli validate"

# The metadata names the desktop entry after itself, and that entry is there.
id=$(sed -n 's:.*<id>\(.*\)</id>.*:\1:p' "${metainfos[0]}")
[ "$(basename "${metainfos[0]}")" = "$id.metainfo.xml" ] || fail "metainfo file is not named after its id $id"
[ -f "$tmp/root/usr/share/applications/$id.desktop" ] || fail "no desktop entry $id.desktop"
grep -q "<launchable type=\"desktop-id\">$id.desktop</launchable>" "${metainfos[0]}" ||
  fail "the metadata does not launch $id.desktop"

# The version of the build is that of the package, its changelog and its
# newest AppStream release.
[ "$(dpkg-deb -f "$deb" Version)" = "$version" ] || fail "package version $(dpkg-deb -f "$deb" Version)"
changelog=$(zcat "$tmp/root/usr/share/doc/zorvel/changelog.gz" | dpkg-parsechangelog -l - -S Version)
[ "$changelog" = "$version" ] || fail "changelog's newest version is $changelog"
release=$(grep -o '<release version="[^"]*"' "${metainfos[0]}" | head -1 | cut -d'"' -f2)
[ "$release" = "$version" ] || fail "metainfo's newest release is $release"
for page in zorvel chathost; do
  zcat "$tmp/root/usr/share/man/man1/$page.1.gz" | head -1 | grep -q "\"zorvel $version\"" ||
    fail "$page(1) does not name version $version"
done

# The dependencies come from the libraries the programs link.
depends=$(dpkg-deb -f "$deb" Depends)
echo "Depends: $depends"
for lib in libc6 libqt6core6 libqt6widgets6; do
  [[ "$depends" == *"$lib "* || "$depends" == *"$lib," || "$depends" == *"$lib" ]] || fail "Depends lacks $lib"
done

[ "$failed" -eq 0 ] && echo "check_package: all checks passed"
exit "$failed"
