#!/bin/sh
# The tour in a real X server: every screen in every theme is visited and written as a PNG. Each
# picture must show something, no two may be alike, the player's settings and library must stay
# as they were, and the program must end with status 0.
# Usage: tour.sh PROGRAM OUTPUT_FOLDER SCREENS_PER_THEME; the screenshots stay in OUTPUT_FOLDER.
set -eu
PROGRAM=$1
OUT=$2
PER_THEME=$3
. "$(dirname "$0")/../support/program_in_x.sh"

BEFORE=$(cd "$WORK/program" && find Jigsaws Text -type f -exec md5sum {} + | sort)
rm -rf "$OUT"
STATUS=0
timeout 280 "$WORK/program/$(basename "$PROGRAM")" --tour "$OUT" >"$WORK/stdout.txt" 2>"$WORK/stderr.txt" || STATUS=$?
cat "$WORK/stderr.txt"
[ "$STATUS" -eq 0 ] || { echo "the tour ended with status $STATUS"; exit 1; }

THEMES=$(ls "$WORK/program/Graphics"/*.ini | wc -l)
COUNT=$(ls "$OUT"/*.png | wc -l)
[ "$COUNT" -eq $((THEMES * PER_THEME)) ] || { echo "$COUNT screenshots, expected $((THEMES * PER_THEME))"; exit 1; }
for f in "$OUT"/*.png; do
  DEVIATION=$(convert "$f" -format "%[fx:int(standard_deviation*1000)]" info:)
  [ "$DEVIATION" -gt 20 ] || { echo "$(basename "$f") looks blank (deviation $DEVIATION)"; exit 1; }
done
SAME=$(md5sum "$OUT"/*.png | awk '{print $1}' | sort | uniq -d | wc -l)
[ "$SAME" -eq 0 ] || { echo "some screenshots are identical"; md5sum "$OUT"/*.png | sort; exit 1; }
[ ! -e "$OUT/.tour-home" ] || { echo "the tour left its scratch folder behind"; exit 1; }
AFTER=$(cd "$WORK/program" && find Jigsaws Text -type f -exec md5sum {} + | sort)
[ "$BEFORE" = "$AFTER" ] || { echo "the tour changed the player's files"; exit 1; }
echo "$COUNT screenshots in $OUT"
