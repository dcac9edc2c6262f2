#!/usr/bin/env bash
# Sets up a fresh machine, then configures, builds and runs every test.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
cmake --workflow --preset default
