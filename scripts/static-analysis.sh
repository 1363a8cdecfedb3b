#!/usr/bin/env bash
# Static analysis, as the test command runs it: cppcheck over all of our code, clang-tidy (with
# the committed .clang-tidy) over the portable core, which it can compile natively.
set -euo pipefail
source "$(dirname "$0")/common.sh"
cd "$YOMITRON_ROOT"

status=0
echo "-- cppcheck"
cppcheck --enable=warning,performance,portability --std=c++20 --inline-suppr --quiet \
  --suppress=missingIncludeSystem --error-exitcode=1 -D_WIN32 -DUNICODE -I src src tools fuzz ||
  status=1

echo "-- clang-tidy"
db="$YOMITRON_BUILD/tidy"
cmake -S . -B "$db" -DCMAKE_EXPORT_COMPILE_COMMANDS=ON -DCMAKE_CXX_COMPILER=clang++ \
  -DCMAKE_C_COMPILER=clang >/dev/null
tidy_rc=0
tidy_out=$(clang-tidy -p "$db" --quiet src/base/*.cpp src/meter/*.cpp src/settings/*.cpp 2>&1) ||
  tidy_rc=$?
grep -v -E '^[0-9]+ warnings? generated\.$' <<<"$tidy_out" || true
[[ $tidy_rc -eq 0 ]] || status=1
exit $status
