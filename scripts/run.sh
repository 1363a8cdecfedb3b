#!/usr/bin/env bash
# Builds the program and starts it under Wine with the project's own prefix. In a desktop
# session it opens in your display; with no display it starts a virtual one, takes a
# screenshot of the window and prints where it saved it.
set -euo pipefail
source "$(dirname "$0")/common.sh"
cd "$YOMITRON_ROOT"

yomitron_ensure_packages
cmake --preset windows -B "$YOMITRON_BUILD/windows" >/dev/null
cmake --build "$YOMITRON_BUILD/windows" --target yomitron -j 2
exe="$YOMITRON_BUILD/windows/yomitron.exe"

if [[ -n ${DISPLAY:-} ]] && xdpyinfo >/dev/null 2>&1; then
  yomitron_wine_prefix
  echo "Starting $exe"
  exec wine "$exe" </dev/null
fi

trap yomitron_wine_down EXIT
yomitron_wine_up
wine "$exe" </dev/null >/dev/null 2>&1 &
# The program's visible windows include small helper ones; the main window is the widest.
found=
for _ in $(seq 1 100); do
  for window in $(xdotool search --onlyvisible --class yomitron.exe 2>/dev/null || true); do
    eval "$(xdotool getwindowgeometry --shell "$window")"
    if ((WIDTH > 100)); then
      found=$window
      break 2
    fi
  done
  sleep 0.1
done
if [[ -z $found ]]; then
  echo "The window did not appear." >&2
  exit 1
fi
sleep 1.5  # let it paint
shot="$YOMITRON_BUILD/yomitron-screenshot.png"
# shellcheck disable=SC2153 # X, Y, WIDTH and HEIGHT come from xdotool
import -window root -crop "$((WIDTH + 40))x$((HEIGHT + 40))+$((X - 20))+$((Y - 20))" "$shot"
echo "No display: ran the program in a virtual one. Screenshot: $shot"
