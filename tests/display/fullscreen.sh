#!/bin/sh
# The real program under a real X server with a window manager on a 2560 x 1440 screen: the first
# window fits the work area; Alt+Enter covers the screen and the menu fills its height; a click in
# the scaled picture hits the control under it; settings naming a mode and refresh the machine
# lacks start full screen without fault.
# Usage: fullscreen.sh PROGRAM OUTPUT_FOLDER
set -eu
PROGRAM=$1
OUT=$2
mkdir -p "$OUT"
WORK=$(mktemp -d)
XPID=""
WMPID=""
GPID=""
cleanup() {
  [ -n "$GPID" ] && kill "$GPID" 2>/dev/null || true
  [ -n "$WMPID" ] && kill "$WMPID" 2>/dev/null || true
  [ -n "$XPID" ] && { kill "$XPID" 2>/dev/null; wait "$XPID" 2>/dev/null; } || true
  rm -rf "$WORK"
}
trap cleanup EXIT
fail() {
  echo "FAIL: $*"
  tail -n 5 "$WORK/xvfb.log" "$WORK/openbox.log" "$OUT"/*-stderr.txt 2>/dev/null
  exit 1
}

SCREEN_W=2560
SCREEN_H=1440
. "$(dirname "$0")/../support/xserver.sh"
start_x ${SCREEN_W}x${SCREEN_H}

# Without a window manager X11 never grants full screen; openbox says it is ready by taking the
# root window's _NET_SUPPORTING_WM_CHECK property.
openbox --sm-disable >"$WORK/openbox.log" 2>&1 &
WMPID=$!
for i in $(seq 1 100); do
  xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q "window id" && break
  sleep 0.1
done
xprop -root _NET_SUPPORTING_WM_CHECK | grep -q "window id" || fail "openbox did not start"

export SDL_AUDIODRIVER=dummy XDG_CONFIG_HOME="$WORK/config"
export ASAN_OPTIONS="${ASAN_OPTIONS:-detect_leaks=0}"

# Few frames: each one sends the whole screen to the X server, which then answers slowly.
FAST="MaxFPS=5"

# start NAME [ARGUMENTS...]: a fresh copy of the program folder (the program writes its settings
# at exit) whose Text/Jigsaw.stg holds the [Screen] lines in $SCREEN; sets WID to its window.
start() {
  NAME=$1
  shift
  rm -rf "$WORK/program"
  cp -r "$(dirname "$PROGRAM")" "$WORK/program"
  printf '[Screen]\r\n%s\r\n' "$SCREEN" | sed 's/ /\r\n/g' >"$WORK/program/Text/Jigsaw.stg"
  "$WORK/program/$(basename "$PROGRAM")" "$@" >"$OUT/$NAME-stdout.txt" 2>"$OUT/$NAME-stderr.txt" &
  GPID=$!
  WID=$(timeout 60 xdotool search --sync --onlyvisible --name "Quorvane Jigsaw" | head -n 1)
  [ -n "$WID" ] || fail "$NAME: no window appeared"
  sleep 1.5  # the first frames
  xdotool windowfocus --sync "$WID"
}

# The window's client area in screen pixels: X, Y, WIDTH, HEIGHT. From xwininfo: xdotool counts
# the frame of a reparenting window manager twice in the position.
geometry() {
  eval "$(xwininfo -id "$WID" | sed -n 's/^ *Absolute upper-left X: *\(-*[0-9]*\)/X=\1/p;
    s/^ *Absolute upper-left Y: *\(-*[0-9]*\)/Y=\1/p; s/^ *Width: *\([0-9]*\)/WIDTH=\1/p;
    s/^ *Height: *\([0-9]*\)/HEIGHT=\1/p')"
}

# The keys go to the focused window: after a switch the window manager may not have given the
# focus back yet. The program is held while they are typed, so that they reach it all at once, as
# they do whenever a frame takes longer than the typing: Enter must still come with its Alt.
alt_enter() {
  xdotool windowfocus --sync "$WID"
  kill -STOP "$GPID"
  xdotool keydown alt key Return keyup alt
  kill -CONT "$GPID"
  sleep 1.5
}

# wait_size W H: until the window's client area is W x H, for at most ten seconds (a sanitizer
# build answers the window manager slowly).
wait_size() {
  for i in $(seq 1 100); do
    geometry
    [ "$WIDTH" -eq "$1" ] && [ "$HEIGHT" -eq "$2" ] && return 0
    sleep 0.1
  done
  return 1
}

shot() { xwd -root -silent | convert xwd:- "$OUT/$1.png"; }

# mean NAME X Y W H: the mean brightness (0..1000) of a rectangle of a screenshot.
mean() { convert "$OUT/$1.png" -crop "$4x$5+$2+$3" +repage -colorspace gray -format "%[fx:int(mean*1000)]" info:; }

# fit SW SH: where a SW x SH surface lands in the window (the same arithmetic as the game's):
# PX, PY, PW, PH in screen pixels.
fit() {
  SW=$1
  SH=$2
  geometry
  if [ $((WIDTH * SH)) -le $((HEIGHT * SW)) ]; then
    PW=$WIDTH
    PH=$(((2 * SH * WIDTH + SW) / (2 * SW)))
  else
    PH=$HEIGHT
    PW=$(((2 * SW * HEIGHT + SH) / (2 * SH)))
  fi
  PX=$((X + (WIDTH - PW) / 2))
  PY=$((Y + (HEIGHT - PH) / 2))
}

# click_surface X Y: a left click on the screen pixel showing surface pixel (X, Y), after which
# the mouse leaves so that no hint covers what is looked at.
click_surface() {
  xdotool mousemove $((PX + (2 * $1 + 1) * PW / (2 * SW))) $((PY + (2 * $2 + 1) * PH / (2 * SH))) click 1
  xdotool mousemove 0 $((SCREEN_H - 1))
  sleep 1.5
}

# changed A B X Y W H: how many screen pixels differ between two screenshots within the screen
# area of a surface rectangle.
changed() {
  AREA="$(($5 * PW / SW))x$(($6 * PH / SH))+$((PX + $3 * PW / SW))+$((PY + $4 * PH / SH))"
  compare -metric AE "$OUT/$1.png[$AREA]" "$OUT/$2.png[$AREA]" null: 2>&1 || true
}

# The gallery's "Click me" button spans surface columns 160 to 289 from row 84: a click well
# beside it leaves its count alone, a click on it counts.
expect_click_hits() {
  shot "$1-before"
  click_surface 150 95
  shot "$1-beside"
  click_surface 170 95
  shot "$1-on"
  BESIDE=$(changed "$1-before" "$1-beside" 296 84 120 24)
  ON=$(changed "$1-beside" "$1-on" 296 84 120 24)
  echo "$1: the click count's label changed in $BESIDE pixels after a click beside the button, $ON on it"
  [ "$BESIDE" -eq 0 ] || fail "$1: a click beside the button counted"
  [ "$ON" -gt 0 ] || fail "$1: a click on the button did not count"
}

expect_full_screen() {
  wait_size $SCREEN_W $SCREEN_H || true
  echo "$1: window ${WIDTH}x${HEIGHT} at ${X},${Y}"
  [ "$WIDTH" -eq $SCREEN_W ] && [ "$HEIGHT" -eq $SCREEN_H ] && [ "$X" -eq 0 ] && [ "$Y" -eq 0 ] ||
    fail "$1: the window does not cover the screen"
}

# The picture reaches the top and bottom rows of the screen; the bars beside it stay black.
expect_fills_height() {
  shot "$1"
  TOP=$(mean "$1" "$PX" 0 "$PW" 8)
  BOTTOM=$(mean "$1" "$PX" $((SCREEN_H - 8)) "$PW" 8)
  BAR=0
  [ "$PX" -eq 0 ] || BAR=$(mean "$1" 0 0 "$PX" "$SCREEN_H")
  echo "$1: brightness top=$TOP bottom=$BOTTOM bar=$BAR"
  [ "$TOP" -gt 0 ] && [ "$BOTTOM" -gt 0 ] || fail "$1: the picture does not fill the screen's height"
  [ "$BAR" -eq 0 ] || fail "$1: the bars beside the picture are not black"
}

quit() {
  xdotool windowfocus --sync "$WID" key Escape
  for i in $(seq 1 100); do kill -0 "$GPID" 2>/dev/null || break; sleep 0.1; done
  kill -0 "$GPID" 2>/dev/null && fail "$1: the program did not quit on Escape"
  STATUS=0
  wait "$GPID" || STATUS=$?
  GPID=""
  [ "$STATUS" -eq 0 ] || { cat "$OUT/$1-stderr.txt"; fail "$1: exit status $STATUS"; }
  [ ! -s "$OUT/$1-stderr.txt" ] || { cat "$OUT/$1-stderr.txt"; fail "$1: something was reported"; }
  echo "$1: clean exit"
}

# The client size the first start must take: the largest the game uses (1600 x 1200 at most)
# whose frame fits the work area. Sets WANT_W and WANT_H.
first_window_size() {
  eval "$(xprop -root _NET_WORKAREA | sed -n 's/.*= *\([0-9-]*\), *\([0-9-]*\), *\([0-9]*\), *\([0-9]*\).*/AREA_W=\3 AREA_H=\4/p')"
  eval "$(xprop -id "$WID" _NET_FRAME_EXTENTS | sed -n 's/.*= *\([0-9]*\), *\([0-9]*\), *\([0-9]*\), *\([0-9]*\).*/FL=\1 FR=\2 FT=\3 FB=\4/p')"
  WANT_W=$((AREA_W - FL - FR)); [ "$WANT_W" -le 1600 ] || WANT_W=1600
  WANT_H=$((AREA_H - FT - FB)); [ "$WANT_H" -le 1200 ] || WANT_H=1200
}

# 1. The main menu on a first start: the window is the largest the game uses that fits the work
# area with its frame; Alt+Enter goes full screen at the desktop's own resolution (the game's
# screen 1600 x 900, filling the whole 2560 x 1440 screen) and back to the same window.
SCREEN="$FAST"
start menu
first_window_size
wait_size "$WANT_W" "$WANT_H" || fail "menu: the first window is ${WIDTH}x${HEIGHT}, expected ${WANT_W}x${WANT_H}"
echo "menu: first window ${WIDTH}x${HEIGHT} at ${X},${Y}"
alt_enter
expect_full_screen menu
fit 1600 900
expect_fills_height menu-full
alt_enter
wait_size "$WANT_W" "$WANT_H" || fail "menu: the window did not come back at ${WANT_W}x${WANT_H} (it is ${WIDTH}x${HEIGHT})"
echo "menu: back to a ${WIDTH}x${HEIGHT} window"
quit menu

# 1b. Settings from before the desktop's resolution (800 x 600, refresh index 3, which no display
# offers at that size here) keep their mode.
SCREEN="DisplayResolution=1 DisplayRefresh=3 $FAST"
start oldmode
alt_enter
expect_full_screen oldmode
fit 800 600
expect_fills_height oldmode-full
quit oldmode

# 2. Settings naming a mode and refresh index the machine lacks: full screen from the start,
# 1280 x 960 scaled by 1.5; clicks land on the right surface pixels.
SCREEN="FullScreen=1 DisplayResolution=6 DisplayRefresh=9 $FAST"
start lacking --gallery 0
expect_full_screen lacking
fit 1280 960
expect_fills_height lacking
expect_click_hits lacking
quit lacking

# 3. A window larger than the play table: the surface stays 1600 x 1200 and is scaled up.
SCREEN="$FAST"
start window --gallery 0
xdotool windowsize --sync "$WID" 2400 1350
sleep 1.5
fit 1600 1200
echo "window: ${WIDTH}x${HEIGHT}, picture ${PW}x${PH} at ${PX},${PY}"
expect_click_hits window
quit window
