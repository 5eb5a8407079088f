#!/bin/sh
# A game in progress in a real X server: the program starts straight on the table (--play) in
# one theme, the ghost is switched on with its hot key, a tray is opened from its icon and the
# mouse rests on the menu bar; the screenshot is checked for content and kept for a person.
# Usage: play.sh PROGRAM OUTPUT_FOLDER NAME THEME PICTURE
set -eu
PROGRAM=$1
OUT=$2
NAME=$3
THEME=$4
PICTURE=$5
mkdir -p "$OUT"
. "$(dirname "$0")/../support/program_in_x.sh"
sed -i "s/^Environment=.*/Environment=$THEME/" "$WORK/program/Text/Jigsaw.stg"
cp "$PICTURE" "$WORK/table.jpg"
"$WORK/program/$(basename "$PROGRAM")" --play "$WORK/table.jpg" >"$OUT/$NAME-stdout.txt" 2>"$OUT/$NAME-stderr.txt" &
GPID=$!

WID=$(timeout 60 xdotool search --sync --onlyvisible --name "Quorvane Jigsaw" | head -n 1)
[ -n "$WID" ] || { echo "no window appeared"; exit 1; }
sleep 3  # the cut and the first frames
eval "$(xdotool getwindowgeometry --shell "$WID")"
xdotool windowfocus --sync "$WID"
xdotool key g                                             # the ghost
sleep 1
xdotool mousemove $((X + WIDTH / 2)) $((Y + HEIGHT - 8))  # the bar comes up
sleep 1
xdotool mousemove $((X + WIDTH - 35)) $((Y + HEIGHT - 70)) click 1  # tray 1's icon
sleep 1
xdotool mousemove $((X + 45)) $((Y + HEIGHT - 25))      # rests on the first button
sleep 2
import -window root "$OUT/$NAME.png"
convert "$OUT/$NAME.png" -crop "${WIDTH}x${HEIGHT}+${X}+${Y}" +repage "$OUT/$NAME.png"
COLOURS=$(convert "$OUT/$NAME.png" -format "%k" info:)
echo "colours=$COLOURS"
[ "$COLOURS" -gt 1000 ] || { echo "the table looks blank"; exit 1; }
kill -0 "$GPID" || { echo "the program ended"; cat "$OUT/$NAME-stderr.txt"; exit 1; }
echo "a game in progress was drawn"
