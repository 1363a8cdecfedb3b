# shellcheck shell=bash
# Shared by the run and test commands: installs what the build needs and sets up a private
# Wine prefix and virtual display. Source it; it never touches the user's own Wine or display.

YOMITRON_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
# Where builds and the Wine prefix go; another folder keeps a second checkout's runs apart.
YOMITRON_BUILD=${YOMITRON_BUILD:-$YOMITRON_ROOT/build}

# command-or-file -> Debian package
yomitron_requirements=(
  "cmake:cmake"
  "make:make"
  "g++:g++"
  "/usr/src/googletest/CMakeLists.txt:googletest"
  "x86_64-w64-mingw32-g++-posix:g++-mingw-w64-x86-64-posix"
  "wine:wine"
  "/usr/lib/wine/wine64:wine64"
  "/usr/share/wine/fonts/tahoma.ttf:fonts-wine"
  "Xvfb:xvfb"
  "xdpyinfo:x11-utils"
  "xdotool:xdotool"
  "import:imagemagick"
  "/usr/share/fonts/opentype/ipafont-gothic/ipag.ttf:fonts-ipafont-gothic"
  "iconv:libc-bin"
  "clang-format:clang-format"
  "clang-tidy:clang-tidy"
  "cppcheck:cppcheck"
  "clang:clang"
  "/usr/lib/llvm-14/lib/clang/14.0.6/lib/linux/libclang_rt.fuzzer-x86_64.a:libclang-rt-14-dev"
  "chmcmd:fp-utils"
  "extract_chmLib:libchm-bin"
  "zip:zip"
  "unzip:unzip"
)

yomitron_ensure_packages() {
  local missing=() entry what package
  for entry in "${yomitron_requirements[@]}"; do
    what=${entry%%:*}
    package=${entry#*:}
    if [[ $what == /* ]]; then
      [[ -e $what ]] && continue
    else
      command -v "$what" >/dev/null 2>&1 && continue
    fi
    missing+=("$package")
  done
  [[ ${#missing[@]} -eq 0 ]] && return 0
  if [[ $(id -u) -eq 0 ]] && command -v apt-get >/dev/null 2>&1; then
    echo "Installing: ${missing[*]}"
    export DEBIAN_FRONTEND=noninteractive
    apt-get update -qq
    apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
  else
    echo "Missing packages: ${missing[*]}" >&2
    echo "Install them (on Debian: sudo apt-get install ${missing[*]}) and run again." >&2
    return 1
  fi
}

# The Windows settings the tests and the run command rely on, as a registry file.
yomitron_registry_file() {
  local systemlink
  # "ipag.ttf,IPAGothic" as REG_MULTI_SZ: UTF-16LE, two terminating NULs, hex bytes.
  systemlink=$(printf 'ipag.ttf,IPAGothic\0\0' | iconv -f UTF-8 -t UTF-16LE | od -An -v -tx1 |
    tr -s ' \n' ' ' | sed 's/^ //; s/ $//; s/ /,/g')
  cat <<REG
Windows Registry Editor Version 5.00

[HKEY_CURRENT_USER\\Software\\Wine\\X11 Driver]
"Managed"="N"
"Decorated"="Y"

[HKEY_CURRENT_USER\\Software\\Wine\\WineDbg]
"ShowCrashDialog"=dword:00000000

[HKEY_CURRENT_USER\\Software\\Wine\\Fonts\\Replacements]
"ＭＳ ゴシック"="IPAGothic"
"ＭＳ Ｐゴシック"="IPAGothic"
"MS Gothic"="IPAGothic"
"MS UI Gothic"="IPAGothic"

[HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows NT\\CurrentVersion\\FontLink\\SystemLink]
REG
  local face
  for face in "Tahoma" "Tahoma Bold" "MS Sans Serif" "Microsoft Sans Serif" "MS Shell Dlg" \
    "MS Shell Dlg 2"; do
    printf '"%s"=hex(7):%s\n' "$face" "$systemlink"
  done
}

# The private Wine prefix: the environment for it, and the prefix itself, made once (again
# whenever this file changes).
yomitron_wine_prefix() {
  export WINEPREFIX="$YOMITRON_BUILD/wine/prefix"
  export WINEDEBUG=-all
  export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
  export WINEARCH=win64
  export LANG=C.UTF-8

  local stamp
  stamp=$(md5sum <"${BASH_SOURCE[0]}" | cut -d' ' -f1)
  if [[ -f $WINEPREFIX/.yomitron-stamp && $(cat "$WINEPREFIX/.yomitron-stamp") == "$stamp" ]]; then
    return 0
  fi
  echo "Creating the Wine prefix (once)..."
  rm -rf "$WINEPREFIX"
  mkdir -p "$WINEPREFIX"
  wineboot -i </dev/null >/dev/null 2>&1
  wineserver -w
  local fonts="$WINEPREFIX/drive_c/windows/Fonts"
  mkdir -p "$fonts"
  cp /usr/share/wine/fonts/*.ttf "$fonts/" 2>/dev/null || true
  cp /usr/share/fonts/opentype/ipafont-gothic/ipag.ttf "$fonts/"
  yomitron_registry_file | iconv -f UTF-8 -t UTF-16LE | { printf '\xff\xfe'; cat; } \
    >"$WINEPREFIX/drive_c/yomitron.reg"
  wine regedit /S 'C:\yomitron.reg' </dev/null >/dev/null 2>&1
  rm -f "$WINEPREFIX/drive_c/yomitron.reg"
  wineserver -k || true
  wineserver -w
  echo "$stamp" >"$WINEPREFIX/.yomitron-stamp"
}

# A private virtual X display; yomitron_wine_down stops it.
yomitron_start_display() {
  local n=90
  while [[ -e /tmp/.X$n-lock || -e /tmp/.X11-unix/X$n ]]; do n=$((n + 1)); done
  Xvfb ":$n" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
  YOMITRON_XVFB_PID=$!
  export DISPLAY=":$n"
  for _ in $(seq 1 100); do
    xdpyinfo >/dev/null 2>&1 && return 0
    sleep 0.1
  done
  echo "Xvfb did not start on $DISPLAY" >&2
  return 1
}

# Starts a private X display and Wine prefix for the tests; yomitron_wine_down stops both.
yomitron_wine_up() {
  yomitron_start_display
  yomitron_wine_prefix
  # A persistent server, with its services started before any test runs.
  wineserver -p
  wine cmd /c exit 0 </dev/null >/dev/null 2>&1
}

yomitron_wine_down() {
  if [[ -n ${WINEPREFIX:-} ]]; then wineserver -k 2>/dev/null || true; fi
  if [[ -n ${YOMITRON_XVFB_PID:-} ]]; then
    kill "$YOMITRON_XVFB_PID" 2>/dev/null || true
    wait "$YOMITRON_XVFB_PID" 2>/dev/null || true
    YOMITRON_XVFB_PID=
  fi
}
