#!/usr/bin/env bash
# Extracts the user-visible texts of the program into the catalog template po/default.pot and
# merges the template into every language's po/<code>.po. Run it after changing a text; then
# translate the new entries (they come in empty or marked fuzzy).
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
cd "$root"
# Texts are marked by _() where they are shown, N_() where they are stored to be shown later, and
# qtr() where a Qt widget shows them.
git ls-files 'src/*.cpp' 'src/*.h' | sort | xgettext --files-from=- --from-code=UTF-8 --language=C++ \
  --keyword=_ --keyword=N_ --keyword=qtr --add-comments=TRANSLATORS: --sort-by-file \
  --package-name=korvane-viewer --msgid-bugs-address=korvane-viewer@localhost \
  --copyright-holder="KorvaneViewer developers" -o po/default.pot
# The creation date would change the template at every run.
sed -i '/^"POT-Creation-Date:/d' po/default.pot
for po in po/*.po; do
  [ -e "$po" ] || continue
  msgmerge --quiet --update --backup=none --sort-by-file "$po" po/default.pot
done
