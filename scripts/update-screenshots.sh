#!/usr/bin/env bash
# Regenerates the window screenshots in docs/ from the offscreen window tests.
set -euo pipefail
cd "$(dirname "$0")/.."
cmake --build build
export QT_QPA_PLATFORM=offscreen QTWEBENGINE_DISABLE_SANDBOX=1 VELMARIN_UPDATE_DOCS=1
for test in build/tests/*_form_test; do
    "$test"
done
ls -l docs/*.png
