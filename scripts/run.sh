#!/usr/bin/env bash
# Sets up the machine, builds, and starts Velmarin with the given arguments.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
exec build/src/velmarin "$@"
