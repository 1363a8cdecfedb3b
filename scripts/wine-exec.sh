#!/usr/bin/env bash
# Runs a Windows executable through Wine for ctest. The test command prepares WINEPREFIX and
# DISPLAY; without them, this refuses rather than touching the user's own Wine setup.
if [ -z "${WINEPREFIX:-}" ]; then
  echo "wine-exec: WINEPREFIX is not set; run the tests through scripts/test.sh" >&2
  exit 2
fi
exec wine "$@" </dev/null
