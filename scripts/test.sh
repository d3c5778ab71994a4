#!/usr/bin/env bash
# Builds and runs every test through CTest: the release build, the same suite
# under AddressSanitizer and UndefinedBehaviorSanitizer, and the fuzzers.
set -euo pipefail
cd "$(dirname "$0")/.."

cmake --workflow --preset release
./scripts/check-deb.sh
cmake --workflow --preset asan
cmake --workflow --preset fuzz
