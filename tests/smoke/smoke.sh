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
[ "$WIDTH" -eq 790 ] && [ "$HEIGHT" -eq 570 ] || { echo "window is ${WIDTH}x${HEIGHT}, expected 790x570"; exit 1; }
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
