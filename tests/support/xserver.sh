# Sourced by the tests that run the real program in a real X server.
# start_x WxH: an Xvfb of that screen size on a display the server picks itself (so runs one
# after another, or side by side, never meet); sets XPID and exports DISPLAY. $WORK must exist.
# Without -noreset the server starts over whenever its last client leaves (the check below, or a
# short-lived tool), and a program connecting in that moment is refused.
start_x() {
  Xvfb -displayfd 3 -screen 0 "$1"x24 -nolisten tcp -noreset 3>"$WORK/display" >"$WORK/xvfb.log" 2>&1 &
  XPID=$!
  for i in $(seq 1 200); do [ -s "$WORK/display" ] && break; sleep 0.1; done
  export DISPLAY=":$(cat "$WORK/display")"
  xdpyinfo >/dev/null 2>&1 || { echo "the X server did not start"; cat "$WORK/xvfb.log"; exit 1; }
}
