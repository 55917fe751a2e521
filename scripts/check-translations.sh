#!/usr/bin/env bash
# Fails when a user-visible text of the program is missing from the catalog template, when the
# German catalog lacks a translation, or when a catalog's placeholders do not match its texts.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
cd "$root"
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

git ls-files 'src/*.cpp' 'src/*.h' | sort | xgettext --files-from=- --from-code=UTF-8 --language=C++ \
  --keyword=_ --keyword=N_ --keyword=qtr -o "$tmp/fresh.pot"
ids() { msgcat --no-wrap --sort-output "$1" | python3 -c '
import re, sys
text = sys.stdin.read()
for m in re.finditer(r"^msgid ((?:\".*\"\n)+)", text, re.M):
    s = "".join(re.findall(r"\"(.*)\"", m.group(1)))
    if s: print(s)'; }
ids "$tmp/fresh.pot" | sort -u >"$tmp/fresh"
ids po/default.pot | sort -u >"$tmp/template"
missing=$(comm -23 "$tmp/fresh" "$tmp/template")
if [ -n "$missing" ]; then
  echo "translations: these texts are not in po/default.pot; run scripts/update-translations.sh:" >&2
  echo "$missing" | sed 's/^/  /' >&2
  exit 1
fi

for po in po/*.po; do
  msgfmt --check --output-file=/dev/null "$po" || { echo "translations: $po is not valid" >&2; exit 1; }
done
# German is complete: every text of the template is translated and none is left fuzzy.
msgcmp po/de.po po/default.pot || { echo "translations: po/de.po lacks texts of the template" >&2; exit 1; }
left=$(msgattrib --untranslated --no-obsolete po/de.po; msgattrib --only-fuzzy --no-obsolete po/de.po)
if grep -q '^msgid "[^"]' <<<"$left"; then
  echo "translations: po/de.po has untranslated or fuzzy texts:" >&2
  grep '^msgid "[^"]' <<<"$left" | sed 's/^/  /' >&2
  exit 1
fi
echo "translations: template current, German complete"
