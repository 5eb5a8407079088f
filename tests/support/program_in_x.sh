# Sourced by the tests that run a copy of the real program in a real X server, with PROGRAM set:
# a fresh WORK folder, removed at exit together with the server and the program (GPID, when
# started); the copy in $WORK/program (the program writes its settings beside itself); the server
# on DISPLAY, and the environment the program runs in.
WORK=$(mktemp -d)
XPID=""
GPID=""
cleanup() {
  [ -n "$GPID" ] && kill -9 "$GPID" 2>/dev/null || true
  [ -n "$XPID" ] && { kill "$XPID" 2>/dev/null; wait "$XPID" 2>/dev/null; } || true
  rm -rf "$WORK"
}
trap cleanup EXIT

cp -r "$(dirname "$PROGRAM")" "$WORK/program"
. "$(dirname "$0")/../support/xserver.sh"
start_x 1280x1024

export SDL_AUDIODRIVER=dummy XDG_CONFIG_HOME="$WORK/config"
# In a sanitizer build, the X and D-Bus client libraries keep allocations to the end, which the
# leak checker would count against us; the headless tests check our own code for leaks.
export ASAN_OPTIONS="${ASAN_OPTIONS:-detect_leaks=0}"
