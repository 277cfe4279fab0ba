#!/usr/bin/env bash
# Installs what is missing, builds and runs every test on a private X server, then runs the unit and GL tests
# once more in a build with AddressSanitizer and UndefinedBehaviorSanitizer. Exits non-zero if any test fails.
set -euo pipefail
# shellcheck source=scripts/common.sh
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"

private_display=(xvfb-run -a -s "-screen 0 1280x1024x24")

install_missing_packages
status=0

build_into build
"${private_display[@]}" ctest --test-dir "$VOIDSKIRMISH_ROOT/build" --output-on-failure || status=1

# The end-to-end tests drive the game at llvmpipe speed; under the sanitizers it would crawl, so they run once.
# Benchmarks are never run there either, so that build leaves them out.
build_into build-asan -DVOIDSKIRMISH_SANITIZE=ON -DVOIDSKIRMISH_BENCHMARKS=OFF
sanitizer_options=(
  ASAN_OPTIONS=detect_leaks=1
  "LSAN_OPTIONS=suppressions=$VOIDSKIRMISH_ROOT/scripts/lsan.supp:print_suppressions=0"
  UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1
)
echo "Sanitizer options: ${sanitizer_options[*]}"
env "${sanitizer_options[@]}" "${private_display[@]}" \
  ctest --test-dir "$VOIDSKIRMISH_ROOT/build-asan" -LE e2e --output-on-failure || status=1

exit $status
