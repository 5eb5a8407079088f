#!/bin/sh
# The X server goes away under the running game: it ends at once with a plain message on stderr
# and exit status 1, instead of Xlib's cryptic I/O error.
# Usage: displayloss.sh PROGRAM
set -eu
PROGRAM=$1
WORK=$(mktemp -d)
XPID=""
GPID=""
cleanup() {
  [ -n "$GPID" ] && kill -9 "$GPID" 2>/dev/null || true
  [ -n "$XPID" ] && kill "$XPID" 2>/dev/null || true
  rm -rf "$WORK"
}
trap cleanup EXIT
fail() { echo "FAIL: $*"; cat "$WORK/stderr" 2>/dev/null; exit 1; }

cp -r "$(dirname "$PROGRAM")" "$WORK/program"
. "$(dirname "$0")/../support/xserver.sh"
start_x 1024x768
export SDL_AUDIODRIVER=dummy XDG_CONFIG_HOME="$WORK/config"
export ASAN_OPTIONS="${ASAN_OPTIONS:-detect_leaks=0}"

"$WORK/program/$(basename "$PROGRAM")" >/dev/null 2>"$WORK/stderr" &
GPID=$!
timeout 60 xdotool search --sync --onlyvisible --name "Quorvane Jigsaw" >/dev/null || fail "no window appeared"
sleep 1
kill "$XPID"
wait "$XPID" 2>/dev/null || true
XPID=""
for i in $(seq 1 100); do kill -0 "$GPID" 2>/dev/null || break; sleep 0.1; done
kill -0 "$GPID" 2>/dev/null && fail "the game went on without its display"
STATUS=0
wait "$GPID" || STATUS=$?
GPID=""
[ "$STATUS" -eq 1 ] || fail "exit status $STATUS"
grep -q "the connection to the display was lost" "$WORK/stderr" || fail "no plain message"
grep -qi "XIO" "$WORK/stderr" && fail "Xlib's own message came through"
echo "the game ended with: $(cat "$WORK/stderr")"
