#!/bin/sh
# Starts the real program in a real X server, waits for its first frame, takes a screenshot,
# checks that something was drawn, quits with Escape and expects a clean exit.
# Usage: smoke.sh PROGRAM OUTPUT_FOLDER NAME [PROGRAM ARGUMENTS...]; the screenshot is NAME.png.
set -eu
PROGRAM=$1
OUT=$2
NAME=$3
shift 3
mkdir -p "$OUT"
. "$(dirname "$0")/../support/program_in_x.sh"
"$WORK/program/$(basename "$PROGRAM")" "$@" >"$OUT/$NAME-stdout.txt" 2>"$OUT/$NAME-stderr.txt" &
GPID=$!

WID=$(timeout 60 xdotool search --sync --onlyvisible --name "Quorvane Jigsaw" | head -n 1)
[ -n "$WID" ] || { echo "no window appeared"; exit 1; }
sleep 3  # the first frames
import -window root "$OUT/$NAME.png"
eval "$(xdotool getwindowgeometry --shell "$WID")"
echo "window ${WIDTH}x${HEIGHT} at ${X},${Y}"
# The first start takes the largest size the game uses (1600 x 1200 at most) that fits the
# desktop; without a window manager there is no frame and the whole screen is free.
SCREEN_SIZE=$(xdpyinfo | sed -n 's/^ *dimensions: *\([0-9]*\)x\([0-9]*\) .*/\1 \2/p')
WANT_W=$(echo "$SCREEN_SIZE" | awk '{print ($1 < 1600 ? $1 : 1600)}')
WANT_H=$(echo "$SCREEN_SIZE" | awk '{print ($2 < 1200 ? $2 : 1200)}')
[ "$WIDTH" -eq "$WANT_W" ] && [ "$HEIGHT" -eq "$WANT_H" ] ||
  { echo "window is ${WIDTH}x${HEIGHT}, expected ${WANT_W}x${WANT_H} on a $SCREEN_SIZE screen"; exit 1; }
COLOURS=$(convert "$OUT/$NAME.png" -crop "${WIDTH}x${HEIGHT}+${X}+${Y}" +repage -format "%k" info:)
DEVIATION=$(convert "$OUT/$NAME.png" -crop "${WIDTH}x${HEIGHT}+${X}+${Y}" +repage -format "%[fx:int(standard_deviation*1000)]" info:)
echo "colours=$COLOURS deviation=$DEVIATION"
[ "$COLOURS" -gt 50 ] && [ "$DEVIATION" -gt 5 ] || { echo "the window looks blank"; exit 1; }

xdotool windowfocus --sync "$WID"
xdotool key Escape
for i in $(seq 1 100); do kill -0 "$GPID" 2>/dev/null || break; sleep 0.1; done
if kill -0 "$GPID" 2>/dev/null; then echo "the program did not quit on Escape"; exit 1; fi
STATUS=0
wait "$GPID" || STATUS=$?
GPID=""
[ "$STATUS" -eq 0 ] || { echo "exit status $STATUS"; cat "$OUT/$NAME-stderr.txt"; exit 1; }
echo "clean exit"
