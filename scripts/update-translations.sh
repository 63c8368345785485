#!/bin/sh
# Gathers the texts the program shows from its sources into the translations
# (translations/harmonet_<language>.ts): a new or changed text comes in
# unfinished, for a translator to fill in with Qt Linguist or by hand; a text
# gone from the sources is dropped.
#
#   scripts/update-translations.sh           updates the .ts files
#   scripts/update-translations.sh --check   changes nothing; fails, naming
#       them, when the sources hold texts a shipped language lacks or the
#       translations hold texts the sources no longer have
#
# The folders gathered are those translations/CMakeLists.txt gives lupdate:
# every folder of the program but the command-line tools, tests, benchmarks
# and fuzz targets, which speak English only.
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
lupdate=${LUPDATE:-/usr/lib/qt6/bin/lupdate}
[ -x "$lupdate" ] || { echo "lupdate not found at $lupdate (Debian package qt6-l10n-tools)" >&2; exit 2; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
for folder in "$root"/*/; do
    name=$(basename "$folder")
    case "$name" in
        tests | bench | fuzz | tools | examples | docs | scripts | cmake | translations | build*) continue ;;
    esac
    find "$folder" -name '*.cpp' -o -name '*.h'
done | sort >"$work/sources"

if [ "${1:-}" != "--check" ]; then
    "$lupdate" -silent -no-obsolete -locations none -I "$root" "@$work/sources" -ts "$root"/translations/harmonet_*.ts
    exit 0
fi

status=0
for ts in "$root"/translations/harmonet_*.ts; do
    copy="$work/$(basename "$ts")"
    cp "$ts" "$copy"
    "$lupdate" -silent -locations none -I "$root" "@$work/sources" -ts "$copy"
    # lupdate marks a text without translation "unfinished" and one the
    # sources lost "vanished" (or "obsolete", when it had a translation).
    missing=$(grep -c 'type="unfinished"' "$copy" || true)
    gone=$(grep -cE 'type="(vanished|obsolete)"' "$copy" || true)
    if [ "$missing" -ne 0 ] || [ "$gone" -ne 0 ]; then
        echo "$(basename "$ts"): $missing text(s) without translation, $gone text(s) the sources no longer have" >&2
        grep -B3 -E 'type="(unfinished|vanished|obsolete)"' "$copy" | grep -E '<source>|<context>|<name>' | head -40 >&2
        status=1
    fi
done
[ $status -eq 0 ] && echo "every text translated in $(ls "$root"/translations/harmonet_*.ts | wc -l) languages"
exit $status
