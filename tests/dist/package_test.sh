#!/bin/bash
# Builds the Debian package, checks what it holds, unpacks it into a scratch root and starts
# the editor from there with a fresh Verosta folder.
# Usage: package_test.sh <build folder> <source folder>   (exit 77 = skipped)
set -eu
build=$1 source=$2
command -v dpkg-deb >/dev/null && command -v cpack >/dev/null || { echo "dpkg-deb or cpack missing: skipped"; exit 77; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

(cd "$build" && cpack -G DEB -B "$work/out" >"$work/cpack.log" 2>&1) || { cat "$work/cpack.log"; fail "cpack"; }
deb=$(ls "$work"/out/*.deb)
dpkg-deb -c "$deb" | awk '{print $6}' | sed 's|^\./|/|' >"$work/list"
for f in /usr/bin/verosta /usr/lib/verosta/verosta /usr/lib/verosta/Comp /usr/lib/verosta/Delete \
         /usr/lib/verosta/secure-transfer.so \
         /usr/lib/verosta/res/Verosta.ini /usr/lib/verosta/res/shipped.txt /usr/lib/verosta/New.web \
         /usr/lib/verosta/help/index.html /usr/lib/verosta/JavaScript/jquery.js /usr/lib/verosta/Library/menu.lib \
         /usr/lib/verosta/Themes/Dark.scol /usr/share/applications/verosta.desktop \
         /usr/share/icons/hicolor/48x48/apps/verosta.png /usr/share/icons/hicolor/scalable/apps/verosta.svg \
         /usr/share/mime/packages/verosta.xml /usr/share/metainfo/org.verosta.editor.metainfo.xml \
         /usr/share/man/man1/verosta.1.gz /usr/share/doc/verosta/copyright /usr/share/doc/verosta/changelog.gz; do
  grep -qx "$f" "$work/list" || fail "the package lacks $f"
done
# The user's files never ship.
for f in /usr/lib/verosta/Verosta.ini /usr/lib/verosta/FtpProjs.ini /usr/lib/verosta/Sessions/; do
  ! grep -qx "$f" "$work/list" || fail "the package holds $f"
done
depends=$(dpkg-deb -f "$deb" Depends)
for d in libqt6widgets6 libqscintilla2-qt6 qt6-qpa-plugins libqt6svg6 libcurl; do
  [[ $depends == *"$d"* ]] || fail "Depends lacks $d: $depends"
done

root=$work/root
dpkg -x "$deb" "$root"
command -v desktop-file-validate >/dev/null && desktop-file-validate "$root/usr/share/applications/verosta.desktop"
command -v appstreamcli >/dev/null && appstreamcli validate --no-net "$root/usr/share/metainfo/org.verosta.editor.metainfo.xml"
[[ $("$root/usr/bin/verosta" --version) == "Verosta editor "* ]] || fail "--version"

# A start from the unpacked package: New Program saves into the Verosta folder.
if command -v Xvfb >/dev/null && command -v xdotool >/dev/null; then
  python3 "$source/tests/e2e/journey.py" "$root/usr/bin/verosta" --quick || fail "the editor from the package"
else
  export VEROSTA_HOME=$work/home/Verosta XDG_CONFIG_HOME=$work/config QT_QPA_PLATFORM=offscreen
  timeout 20 "$root/usr/bin/verosta" || true
  [ -f "$XDG_CONFIG_HOME/verosta/Verosta.ini" ] && [ -f "$VEROSTA_HOME/New.web" ] || fail "no Verosta folder was set up"
fi

if command -v lintian >/dev/null; then
  lintian --no-tag-display-limit "$deb" | tee "$work/lintian" || true
  ! grep -q '^E:' "$work/lintian" || fail "lintian reports errors"
fi
echo "package test passed: $(basename "$deb")"
