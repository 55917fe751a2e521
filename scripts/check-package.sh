#!/usr/bin/env bash
# Builds the Debian package from a configured build folder and checks it as a user's machine would
# see it: its files and control data, the installed program run from a throw-away root, the
# desktop entry, the file types, the completions, and the viewer as the default for drawings.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${1:-$root/build}"
cd "$build"
rm -f korvane-viewer_*.deb
cpack -G DEB >/dev/null
deb=$(ls korvane-viewer_*.deb)
fail() { echo "package: $*" >&2; exit 1; }

contents=$(dpkg-deb -c "$deb" | awk '{print $6}')
for f in ./usr/bin/korvane-viewer ./usr/share/applications/korvane-viewer.desktop \
  ./usr/share/mime/packages/korvane-viewer.xml ./usr/share/man/man1/korvane-viewer.1.gz \
  ./usr/share/bash-completion/completions/korvane-viewer ./usr/share/zsh/vendor-completions/_korvane-viewer \
  ./usr/share/icons/hicolor/scalable/apps/korvane-viewer.svg ./usr/share/icons/hicolor/48x48/apps/korvane-viewer.png \
  ./usr/share/doc/korvane-viewer/folders.md ./usr/share/korvane-viewer/locale/de/LC_MESSAGES/default.mo \
  ./usr/share/korvane-viewer/locale/fr/LC_MESSAGES/default.mo; do
  grep -qxF "$f" <<<"$contents" || fail "$deb lacks $f"
done
# Nothing of the build or the tests goes into the package.
if grep -E '\.a$|/include/|test_|bench_' <<<"$contents"; then fail "$deb holds build files"; fi

depends=$(dpkg-deb -f "$deb" Depends)
for lib in libqt6widgets6 libqt6pdf6 libzip4 libc6 fonts-liberation2; do
  grep -q "$lib" <<<"$depends" || fail "Depends lacks $lib: $depends"
done
[ "$(dpkg-deb -f "$deb" Package)" = korvane-viewer ] || fail "wrong package name"

tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
dpkg -x "$deb" "$tmp/root"
usr="$tmp/root/usr"
"$usr/bin/korvane-viewer" --version | grep -q '^korvane-viewer ' || fail "--version"
XDG_RUNTIME_DIR="$tmp" QT_QPA_PLATFORM=offscreen \
  "$usr/bin/korvane-viewer" --render "$tmp/sample.png" --size 320x240 "$root/samples/pump-unit.kdf"
[ -s "$tmp/sample.png" ] || fail "--render wrote no picture"
# The installed program finds its catalogs: a user who chose German reads its messages in German.
mkdir -p "$tmp/config/QUAV/KorvaneViewer/Ini"
printf '[Main]\nLanguage=de\n' >"$tmp/config/QUAV/KorvaneViewer/Ini/korvane-viewer.ini"
said=$(XDG_CONFIG_HOME="$tmp/config" "$usr/bin/korvane-viewer" --dump "$tmp/missing.kdf" 2>&1 || true)
grep -q 'existiert nicht' <<<"$said" || fail "the installed program does not speak German: $said"
zcat "$usr/share/man/man1/korvane-viewer.1.gz" | grep -qF -- 'group\-mode' || fail "manual page lacks the options"

desktop-file-validate "$usr/share/applications/korvane-viewer.desktop"
xmllint --noout "$usr/share/mime/packages/korvane-viewer.xml"
mkdir -p "$tmp/share/mime/packages" "$tmp/share/applications"
cp "$usr/share/mime/packages/korvane-viewer.xml" "$tmp/share/mime/packages/"
XDG_DATA_DIRS="$tmp/share" update-mime-database "$tmp/share/mime"
[ -f "$tmp/share/mime/application/x-korvane-diagram.xml" ] || fail "the MIME database did not take the file types"
bash -n "$usr/share/bash-completion/completions/korvane-viewer"
zsh -n "$usr/share/zsh/vendor-completions/_korvane-viewer"

# A file manager asks the MIME database for the default application of a drawing.
cp "$usr/share/applications/korvane-viewer.desktop" "$tmp/share/applications/"
update-desktop-database "$tmp/share/applications"
default=$(HOME="$tmp" XDG_CONFIG_HOME="$tmp/config" XDG_DATA_HOME="$tmp/share" XDG_DATA_DIRS="$tmp/share" \
  XDG_CURRENT_DESKTOP= xdg-mime query default application/x-korvane-diagram)
[ "$default" = korvane-viewer.desktop ] || fail "the default for drawings is '$default'"
# File managers tell a file's type by the globs of the MIME database.
for glob in 'application/x-korvane-diagram:*.kdf' 'application/x-korvane-symbol:*.sym' \
  'application/x-korvane-packed-diagram:*.kdx'; do
  grep -qF ":$glob" "$tmp/share/mime/globs2" || fail "the MIME database lacks $glob"
done
echo "package: $deb installs, runs and opens drawings ($(du -h "$deb" | cut -f1))"
