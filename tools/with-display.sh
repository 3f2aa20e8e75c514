#!/usr/bin/env bash
# Runs a command with an X display for Wine (a private Xvfb) and the build's
# Wine prefix, with a fresh wineserver bound to that display.
# Usage: tools/with-display.sh PREFIX_DIR command...
set -euo pipefail
prefix=$(realpath -m "$1"); shift
export WINEPREFIX="$prefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
if [ "${TAVREL_INSIDE_XVFB:-}" != 1 ]; then
  export TAVREL_INSIDE_XVFB=1
  exec xvfb-run -a -s "-screen 0 1280x1024x24" bash "$0" "$prefix" "$@"
fi
# Wine's desktop process stays bound to the display it started on.
wineserver -k >/dev/null 2>&1 || true
wineserver -w >/dev/null 2>&1 || true
# Detached and kept alive briefly, so tests do not wait on it.
wineserver -p30 </dev/null >/dev/null 2>&1
# Start Wine's service and desktop processes now, detached from our output:
# started by a test, they would inherit its pipe and hold every test up.
wine cmd /c exit </dev/null >/dev/null 2>&1 || true
unset TAVREL_INSIDE_XVFB
"$@"
