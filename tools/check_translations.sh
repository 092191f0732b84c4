#!/bin/sh
# Fails when a text of the interface has no translation: lupdate brings a copy of each
# translations/loomscope_*.ts in step with the sources, and any text it finds unfinished
# (new in the code, or changed since it was translated) is listed.
# Usage: tools/check_translations.sh LUPDATE
set -eu
lupdate=$1
top=$(cd "$(dirname "$0")/.." && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
status=0
for ts in "$top"/translations/loomscope_*.ts; do
    copy="$work/$(basename "$ts")"
    cp "$ts" "$copy"
    "$lupdate" -silent -no-obsolete -locations none -source-language zh_CN \
        -tr-function-alias translate+=uiText "$top/src" -ts "$copy"
    if grep -q 'type="unfinished"' "$copy"; then
        echo "$(basename "$ts"): texts without a translation:"
        grep -B1 'type="unfinished"' "$copy" | grep '<source>' | sed 's/^ */  /'
        status=1
    fi
done
exit $status
