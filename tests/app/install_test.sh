#!/bin/sh
# Installs into a temporary prefix and checks the file list, the desktop entry and AppStream
# metadata with their validators, and the installed program, moved to another prefix.
# Usage: install_test.sh BUILD_DIR SOURCE_DIR VERSION
set -eu
build=$1
source=$2
version=$3
id=io.github.pelorix.Pelorix
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

cmake --install "$build" --prefix "$tmp/prefix" >/dev/null

{
  echo "./bin/pelorix"
  echo "./share/applications/$id.desktop"
  for size in 48 64 128 256; do echo "./share/icons/hicolor/${size}x${size}/apps/$id.png"; done
  echo "./share/man/man6/pelorix.6"
  echo "./share/metainfo/$id.metainfo.xml"
  for sample in "$source"/assets/samples/*; do echo "./share/pelorix/samples/$(basename "$sample")"; done
  # The screen-saver module: its entries and the program's links where the savers look.
  echo "./share/applications/screensavers/pelorix.desktop"
  echo "./share/xscreensaver/config/pelorix.xml"
  echo "./libexec/xscreensaver/pelorix"
  echo "./libexec/xfce4-screensaver/pelorix"
  echo "./lib/mate-screensaver/mate-screensaver/pelorix"
} | LC_ALL=C sort >"$tmp/want"
(cd "$tmp/prefix" && find . -type f -o -type l) | LC_ALL=C sort >"$tmp/got"
diff -u "$tmp/want" "$tmp/got"
echo "ok   installed files"

desktop-file-validate "$tmp/prefix/share/applications/$id.desktop"
grep -qx "Exec=pelorix --user-folder" "$tmp/prefix/share/applications/$id.desktop"
grep -q "^Categories=.*Game;.*LogicGame;" "$tmp/prefix/share/applications/$id.desktop"
desktop-file-validate "$tmp/prefix/share/applications/screensavers/pelorix.desktop"
echo "ok   desktop-file-validate"
appstreamcli validate --no-net "$tmp/prefix/share/metainfo/$id.metainfo.xml"
echo "ok   appstreamcli validate"

# Every icon is a PNG of its theme size.
for size in 48 64 128 256; do
  file="$tmp/prefix/share/icons/hicolor/${size}x${size}/apps/$id.png"
  [ "$(od -An -tx1 -N8 "$file" | tr -d ' \n')" = "89504e470d0a1a0a" ]
  [ "$(od -An -tu1 -j16 -N8 "$file" | awk '{print $3*256+$4 "x" $7*256+$8}')" = "${size}x${size}" ]
done
echo "ok   icons"

# The program finds its samples relative to itself, wherever the prefix is moved.
mv "$tmp/prefix" "$tmp/moved"
[ "$("$tmp/moved/bin/pelorix" --version)" = "pelorix $version" ]
echo "ok   installed pelorix --version"
mkdir -p "$tmp/home"
HOME="$tmp/home" XDG_CONFIG_HOME="$tmp/home/.config" XDG_DATA_HOME="$tmp/home/.local/share" \
  "$tmp/moved/bin/pelorix" --user-folder --add "$tmp/moved/share/icons/hicolor/48x48/apps/$id.png" >"$tmp/out"
folder="$tmp/home/.local/share/pelorix/Pelorix"
grep -q "added as $folder/$id.regular_picture" "$tmp/out"
for sample in "$source"/assets/samples/*; do cmp "$sample" "$folder/$(basename "$sample")"; done
echo "ok   Pelorix folder seeded from the moved prefix"
echo "5 passed, 0 failed"
