#!/usr/bin/env bash
# "check-translations.sh SOURCE_DIR LUPDATE": gathers the texts of the sources into copies
# of the shipped .ts files and fails when any text is missing from one or unfinished there,
# so no text ships untranslated. scripts/update-translations brings the new ones in.
set -eu
src=$1 lupdate=$2
[ -x "$lupdate" ] || { echo "Skipped: no lupdate (scripts/install-deps)"; exit 77; }
out=$(mktemp -d) && trap 'rm -rf "$out"' EXIT
status=0
for ts in "$src"/translations/zanku_*.ts; do
    name=$(basename "$ts")
    cp "$ts" "$out/$name"
    pluralonly=()
    [ "$name" = zanku_en.ts ] && pluralonly=(-pluralonly)
    "$lupdate" -recursive -locations none -no-ui-lines -silent "${pluralonly[@]}" "$src/src" \
        -ts "$out/$name" >/dev/null
    count=$(grep -c 'type="unfinished"' "$out/$name" || true)
    if [ "$count" -ne 0 ]; then
        echo "$name: $count texts missing or unfinished (run scripts/update-translations):"
        grep -B2 'type="unfinished"' "$out/$name" | sed -n 's/.*<source>\(.*\)<\/source>.*/  \1/p'
        status=1
    fi
done
exit $status
