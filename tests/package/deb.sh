#!/bin/sh
# Builds the Debian package with CPack and checks it: the files a desktop needs are in it, its
# Depends name the libraries the game links, and the game unpacked into a throwaway root finds
# its data set.
# Usage: deb.sh BUILD_DIR
set -eu
BUILD=$(cd "$1" && pwd)
WORK=$(mktemp -d)
trap 'rm -rf "$WORK"' EXIT
fail() { echo "FAIL: $*"; exit 1; }

cpack --config "$BUILD/CPackConfig.cmake" -G DEB -B "$WORK/out" >"$WORK/cpack.log" 2>&1 || { cat "$WORK/cpack.log"; fail "cpack"; }
DEB=$(ls "$WORK"/out/*.deb)

dpkg-deb -I "$DEB" >"$WORK/info"
dpkg-deb -c "$DEB" >"$WORK/contents"
cat "$WORK/info"
DEPENDS=$(sed -n 's/^ Depends: //p' "$WORK/info")
for lib in libsdl2-2.0-0 libsdl2-ttf-2.0-0 libsdl2-mixer-2.0-0 libjpeg62-turbo libpng16-16 libfontconfig1 libstdc++6 libc6; do
  echo "$DEPENDS" | grep -q "$lib" || fail "Depends lacks $lib: $DEPENDS"
done
for file in ./usr/bin/quorvane-jigsaw ./usr/bin/quorvane-jigsaw-cut \
    ./usr/share/applications/com.tellmarin.QuorvaneJigsaw.desktop \
    ./usr/share/metainfo/com.tellmarin.QuorvaneJigsaw.metainfo.xml \
    ./usr/share/icons/hicolor/48x48/apps/quorvane-jigsaw.png \
    ./usr/share/quorvane-jigsaw/Text/Jigsaw.stg ./usr/share/quorvane-jigsaw/Shapes/ \
    "./usr/share/quorvane-jigsaw/Jigsaws/Harbour Town.pzl"; do
  grep -q " $file\$" "$WORK/contents" || fail "the package lacks $file"
done

dpkg-deb -x "$DEB" "$WORK/root"
HOME=$WORK/home "$WORK/root/usr/bin/quorvane-jigsaw-cut" "$WORK/root/usr/share/quorvane-jigsaw/Jigsaws/Harbour Town.jpg" \
  --no-save --count >/dev/null || fail "the unpacked cut tool cannot find its data set"
echo "$(basename "$DEB"): $(wc -l <"$WORK/contents") entries"
