#!/usr/bin/env bash
# The test command: installs what is missing, builds, runs every test.
#   tools/test.sh          release build (build/)
#   tools/test.sh asan     AddressSanitizer + UndefinedBehaviorSanitizer (build-asan/)
#   tools/test.sh tsan     ThreadSanitizer, the threaded tests only (build-tsan/)
set -euo pipefail
cd "$(dirname "$0")/.."
preset="${1:-default}"
tools/deps.sh
case "$preset" in
  default|asan) tools/build.sh "$preset" ;;
  tsan) tools/build.sh tsan --target coredll_tests common_tests cemapi_tests inbox_tests rule_tests bubble_tests ;;
  *) echo "usage: tools/test.sh [default|asan|tsan]" >&2; exit 2 ;;
esac
ctest --preset "$preset"
