#!/usr/bin/env bash
# Makes the Debian package from a built tree and checks it: every file that
# the desktop needs is in it, the menu entry, the metainfo and the manual
# pages pass their validators, the licence is LICENSE's, lintian finds no
# error or warning and no lack of hardening, and vantrel-cli unpacked from
# the package runs the sample pages.
#   bash scripts/package.sh [BUILD_DIR]    (default build/, already built)
# Needs dpkg-dev, desktop-file-utils, appstream, lintian, file and groff-base
# (scripts/setup.sh installs them).
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
build=$(cd "${1:-build}" && pwd)

failed=0
fail() {
  echo "FAIL: $*" >&2
  failed=1
}

version=$(sed -n 's/^VANTREL_VERSION_DISPLAY:INTERNAL=//p' "$build/CMakeCache.txt")
arch=$(dpkg --print-architecture)
deb=$build/vantrel_${version}_${arch}.deb
rm -f "$deb"
if ! (cd "$build" && cpack -G DEB) >"$build/cpack.log" 2>&1 || [ ! -f "$deb" ]; then
  cat "$build/cpack.log" >&2
  echo "FAIL: cpack made no $deb" >&2
  exit 1
fi
echo "$(basename "$deb"): $(stat -c %s "$deb") bytes"
dpkg-deb -f "$deb" Depends

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# Content.
dpkg-deb -c "$deb" | awk '{print $6}' | sed 's|^\./|/|' >"$work/content"
grep -v '/$' "$work/content"
app=org.vantrel.Vantrel
expected=(
  /usr/bin/vantrel
  /usr/bin/vantrel-cli
  /usr/share/applications/$app.desktop
  /usr/share/metainfo/$app.metainfo.xml
  /usr/share/icons/hicolor/16x16/apps/$app.png
  /usr/share/icons/hicolor/32x32/apps/$app.png
  /usr/share/icons/hicolor/48x48/apps/$app.png
  /usr/share/man/man1/vantrel-cli.1.gz
  /usr/share/man/man1/vantrel.1.gz
  /usr/share/bash-completion/completions/vantrel-cli
  /usr/share/zsh/vendor-completions/_vantrel-cli
  /usr/share/fish/vendor_completions.d/vantrel-cli.fish
  /usr/share/doc/vantrel/copyright
  /usr/share/doc/vantrel/changelog.gz
)
for path in "${expected[@]}"; do
  grep -qxF "$path" "$work/content" || fail "$path is not in the package"
done
# Menu and icon caches update through their own packages' triggers.
scripts=$(dpkg-deb -I "$deb" | grep -oE '(pre|post)(inst|rm)' || true)
[ -z "$scripts" ] || fail "the package has maintainer scripts:" $scripts
deps=$(dpkg-deb -f "$deb" Depends)
for lib in libc6 libicu libqt6widgets6 libstdc++6; do
  [[ "$deps" == *"$lib"* ]] || fail "Depends lacks $lib: $deps"
done

# The unpacked files.
tree=$work/tree
dpkg-deb -x "$deb" "$tree"
desktop-file-validate "$tree/usr/share/applications/$app.desktop" ||
  fail "desktop-file-validate rejects the menu entry"
appstreamcli validate --no-net \
  "$tree/usr/share/metainfo/$app.metainfo.xml" >"$work/appstream" ||
  { cat "$work/appstream"; fail "appstreamcli rejects the metainfo"; }
grep -q "<release version=\"$version\" date=\"[0-9-]*\"" \
  "$tree/usr/share/metainfo/$app.metainfo.xml" ||
  fail "the metainfo has no release $version with a date"
for size in 16 32 48; do
  file -b "$tree/usr/share/icons/hicolor/${size}x${size}/apps/$app.png" |
    grep -q "^PNG image data, $size x $size," ||
    fail "the ${size}x$size icon is not a $size-pixel PNG"
done
for page in vantrel-cli vantrel; do
  warnings=$(zcat "$tree/usr/share/man/man1/$page.1.gz" |
               groff -man -Tutf8 -ww -z 2>&1)
  [ -z "$warnings" ] || fail "groff warns on $page.1: $warnings"
done
# The licence: LICENSE's terms word for word in the package's copyright,
# under Debian's name for the MIT licence, and its SPDX name in the
# metainfo.
if [ -f "$root/LICENSE" ]; then
  sed -n '/^Permission/,$p' "$root/LICENSE" >"$work/terms"
  awk '/^License: Expat$/ { on = 1; next }
       on && /^ / { line = substr($0, 2); print (line == "." ? "" : line); next }
       on { exit }' "$tree/usr/share/doc/vantrel/copyright" >"$work/shipped"
  [ -s "$work/terms" ] && cmp -s "$work/terms" "$work/shipped" ||
    fail "the package's copyright does not carry LICENSE's terms as Expat"
else
  fail "there is no LICENSE"
fi
grep -q '<project_license>MIT</project_license>' \
  "$tree/usr/share/metainfo/$app.metainfo.xml" ||
  fail "the metainfo does not name the MIT licence"
zcat "$tree/usr/share/doc/vantrel/changelog.gz" >"$work/changelog"
logged=$(dpkg-parsechangelog -l "$work/changelog" -S Version)
[ "$logged" = "$version" ] ||
  fail "the changelog's last entry is $logged, the package $version"
missing=$(ldd "$tree/usr/bin/vantrel" "$tree/usr/bin/vantrel-cli" |
            grep 'not found' || true)
[ -z "$missing" ] || fail "libraries not found: $missing"

# lintian fails on errors and warnings; its notes are shown, not fatal,
# except that the programs must be hardened as Debian builds its own
# (those tags are only informational).
lintian --display-info --fail-on error,warning "$deb" >"$work/lintian" 2>&1 ||
  fail "lintian finds errors or warnings"
grep -v 'running with root privileges' "$work/lintian" || true
if grep -q ' hardening-' "$work/lintian"; then
  fail "the programs are not built with all of Debian's hardening flags"
fi

# vantrel-cli from the package, on a copy of the sample pages.
cli=$tree/usr/bin/vantrel-cli
shown=$("$cli" --version)
[ "$shown" = "vantrel-cli $version" ] ||
  fail "vantrel-cli --version prints \"$shown\""
cp -r "$root/examples/pages" "$work/pages"
status=0
"$cli" --quiet "$work/pages" >"$work/out" || status=$?
printf '%s\n' "Haven't end: drafts.htm" "Output: $work/pages/Export1.htm" \
  "4 checked, 1 didn't find." >"$work/expected"
diff -u "$work/expected" "$work/out" ||
  fail "the packaged vantrel-cli printed something else on the samples"
[ $status -eq 1 ] || fail "the packaged vantrel-cli exited with $status, not 1"
[ -s "$work/pages/Export1.htm" ] || fail "no Export1.htm was written"

if [ $failed -ne 0 ]; then
  echo "package checks FAILED" >&2
  exit 1
fi
echo "package checks passed"
