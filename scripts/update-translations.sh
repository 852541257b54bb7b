#!/bin/sh
# Brings translations/*.ts up to date with the texts in src/ (new texts come in unfinished, texts
# no longer used are marked obsolete); translate the unfinished ones, then build.
set -eu
cd "$(dirname "$0")/.."
LUPDATE=${LUPDATE:-/usr/lib/qt6/bin/lupdate}
for ts in translations/pellimo_*.ts; do
    "$LUPDATE" -recursive -locations none -no-obsolete src -ts "$ts"
done
