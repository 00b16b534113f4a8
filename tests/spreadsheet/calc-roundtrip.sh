#!/usr/bin/env bash
# The value list as a spreadsheet user meets it: Python's csv module reads the CSV export as
# --values prints the values, and after a trip through LibreOffice Calc (CSV -> .ods -> CSV) the
# list sets the same values in a copy of the original, byte for byte.
#   tests/spreadsheet/calc-roundtrip.sh PROGRAM DEMO_IMAGE
set -euo pipefail
. "$(dirname "$0")/../../tools/desktop.sh"
need tools/test.sh soffice python3
program=$1 demo=$2
[ -f "$demo" ] || fail "no demo image at $demo (build the target demo-rom)"

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp "$demo" "$work/edited.pce"
"$program" --set "$work/edited.pce" 'shop.motor[0]=450' 'shop.body[3]=32000' \
  'race.prize[11]=1234' 'race.ai[11]=9' 'race.turbo[37]=0' >/dev/null
"$program" --export-values "$work/edited.pce" "$work/values.csv"
"$program" --values "$work/edited.pce" >"$work/values.tsv"

python3 - "$work/values.csv" "$work/values.tsv" <<'PY' || fail "Python reads the CSV export wrongly"
import csv, sys
with open(sys.argv[1], newline='', encoding='utf-8') as f:
    rows = list(csv.reader(f, strict=True))
with open(sys.argv[2], encoding='utf-8') as f:
    values = [line.rstrip('\n').split('\t') for line in f]
assert rows[0] == ['name', 'index', 'label', 'value'], rows[0]
assert rows[1:] == values, 'the rows differ from --values'
assert ['race.prize', '11', 'Race 12, prize money', '1234'] in rows
PY

# Calc with a profile and a home of its own, as a user would open and save the file.
export HOME=$work/home
calc() {
  soffice "-env:UserInstallation=file://$work/profile" --headless --norestore "$@" \
    >"$work/calc.log" 2>&1 || fail "soffice failed: $(cat "$work/calc.log")"
}
calc --infilter="Text - txt - csv (StarCalc):44,34,76,1" --convert-to ods --outdir "$work/ods" \
  "$work/values.csv"
[ -s "$work/ods/values.ods" ] || fail "Calc made no .ods: $(cat "$work/calc.log")"
calc --convert-to "csv:Text - txt - csv (StarCalc):44,34,76,1" --outdir "$work/back" \
  "$work/ods/values.ods"
[ -s "$work/back/values.csv" ] || fail "Calc wrote no CSV: $(cat "$work/calc.log")"

cp "$demo" "$work/imported.pce"
"$program" --import-values "$work/back/values.csv" "$work/imported.pce" >/dev/null ||
  fail "the CSV saved by Calc was refused"
cmp "$work/imported.pce" "$work/edited.pce" || fail "the import of Calc's CSV differs from the edited image"
echo "Calc's CSV sets the same image"
