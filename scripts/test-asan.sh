#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Builds and runs the whole suite with AddressSanitizer and UndefinedBehaviorSanitizer (leaks
# included). Takes several times as long as scripts/test-all.sh; run it before merging changes
# to the file readers, the PDF code or the clipboard path.
#   scripts/test-asan.sh [ctest arguments...]     e.g. -L pdfstamp
set -euo pipefail
cd "$(dirname "$0")/.."

cmake --preset asan
cmake --build --preset asan
ctest --preset asan "$@"
