#!/bin/sh
# Installs the game into a throwaway prefix and runs it there with a home of its own: the desktop
# files must validate, the installed game must start in a real X server on the selector with a
# picture to open, quit on Escape and leave its settings and library in the player's XDG folders, and the prefix
# must be byte for byte what the installation made it.
# Usage: install.sh BUILD_DIR
set -eu
BUILD=$1
WORK=$(mktemp -d)
XPID=""
GPID=""
cleanup() {
  [ -n "$GPID" ] && kill "$GPID" 2>/dev/null || true
  [ -n "$XPID" ] && { kill "$XPID" 2>/dev/null; wait "$XPID" 2>/dev/null; } || true
  rm -rf "$WORK"
}
trap cleanup EXIT
fail() { echo "FAIL: $*"; exit 1; }

PREFIX=$WORK/prefix
cmake --install "$BUILD" --prefix "$PREFIX" >/dev/null
SHARE=$PREFIX/share

desktop-file-validate "$SHARE/applications/com.tellmarin.QuorvaneJigsaw.desktop"
appstreamcli validate --no-net "$SHARE/metainfo/com.tellmarin.QuorvaneJigsaw.metainfo.xml"
for size in 16 24 32 48 64 128 256; do
  icon=$SHARE/icons/hicolor/${size}x${size}/apps/quorvane-jigsaw.png
  [ "$(identify -format '%m %wx%h' "$icon")" = "PNG ${size}x${size}" ] || fail "icon $icon"
done
for folder in Text Graphics Shapes sound help Jigsaws; do
  [ -d "$SHARE/quorvane-jigsaw/$folder" ] || fail "no $folder in the installed data set"
done
# Every sample picture comes with its puzzle.
for picture in "$SHARE/quorvane-jigsaw/Jigsaws"/*.jpg; do
  [ -s "${picture%.jpg}.pzl" ] || fail "no puzzle beside the sample picture $picture"
done

# Every file of the prefix with its checksum and mode, and every folder.
listing() { (cd "$PREFIX" && find . -printf '%y %m %p\n' | sort && find . -type f -exec sha256sum {} + | sort -k 2); }
listing >"$WORK/before"

# The player: a home of their own, XDG variables unset so the ~/.config and ~/.local/share
# defaults are used, and a picture to open from a folder of theirs.
export HOME=$WORK/home
unset XDG_CONFIG_HOME XDG_DATA_HOME
mkdir -p "$HOME/Pictures"
convert "$SHARE/quorvane-jigsaw/Jigsaws/Flower Meadow.jpg" -resize 50% "$HOME/Pictures/Holiday.png"
GAME=$PREFIX/bin/quorvane-jigsaw
CONFIG=$HOME/.config/quorvane-jigsaw
LIBRARY=$HOME/.local/share/quorvane-jigsaw/Jigsaws

"$GAME" --version | grep -q "^Quorvane Jigsaw " || fail "--version"
"$GAME" --help | grep -q "^Usage: quorvane-jigsaw" || fail "--help"
status=0; "$GAME" --no-such-option 2>"$WORK/err" || status=$?
[ "$status" -eq 2 ] && grep -q "unknown option: --no-such-option" "$WORK/err" || fail "unknown option gave $status"

. "$(dirname "$0")/../support/xserver.sh"
start_x 1280x1024
export SDL_AUDIODRIVER=dummy
export ASAN_OPTIONS="${ASAN_OPTIONS:-detect_leaks=0}"  # the X client libraries keep memory to the end

# Started from an unrelated folder with a relative picture name, as a file manager may do.
(cd "$HOME/Pictures" && exec "$GAME" Holiday.png) >"$WORK/stdout" 2>"$WORK/stderr" &
GPID=$!
WID=$(timeout 60 xdotool search --sync --onlyvisible --name "Quorvane Jigsaw" | head -n 1)
[ -n "$WID" ] || fail "no window appeared"
sleep 2
xdotool windowfocus --sync "$WID"
# The opened picture brings up the selector: Escape goes back to the main menu, then quits.
xdotool key Escape
sleep 1
xdotool key Escape
for i in $(seq 1 100); do kill -0 "$GPID" 2>/dev/null || break; sleep 0.1; done
kill -0 "$GPID" 2>/dev/null && fail "the game did not quit on Escape"
status=0; wait "$GPID" || status=$?
GPID=""
[ "$status" -eq 0 ] || { cat "$WORK/stderr"; fail "exit status $status"; }

[ -s "$CONFIG/Jigsaw.stg" ] && grep -q "^\[Hotkeys\]" "$CONFIG/Jigsaw.stg" || fail "no settings in $CONFIG"
[ -s "$CONFIG/registry.ini" ] || fail "no installation record in $CONFIG"
for picture in "Autumn Forest.jpg" "Flower Meadow.jpg" "Harbour Town.jpg" "Stained Glass.jpg" Holiday.png; do
  [ -f "$LIBRARY/$picture" ] || fail "$picture is not in the library $LIBRARY"
done
for puzzle in "Autumn Forest.pzl" "Flower Meadow.pzl" "Harbour Town.pzl" "Stained Glass.pzl"; do
  cmp -s "$SHARE/quorvane-jigsaw/Jigsaws/$puzzle" "$LIBRARY/$puzzle" || fail "$puzzle is not in the library $LIBRARY"
done
cmp -s "$HOME/Pictures/Holiday.png" "$LIBRARY/Holiday.png" || fail "the opened picture was not copied whole"

# The installed cut tool finds the installed shapes and writes beside the player's picture.
"$PREFIX/bin/quorvane-jigsaw-cut" "$LIBRARY/Holiday.png" --piece-size 60 60 >/dev/null
[ -s "$LIBRARY/Holiday.pzl" ] || fail "no puzzle file beside the opened picture"

listing >"$WORK/after"
diff "$WORK/before" "$WORK/after" || fail "the install prefix changed"
[ "$(ls -A "$HOME/Pictures")" = Holiday.png ] || fail "files written into the folder the game was started from"
echo "installed game ran in $HOME; prefix unchanged"
