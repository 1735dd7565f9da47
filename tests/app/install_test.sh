#!/bin/sh
# SPDX-License-Identifier: MIT
# Installs into a temporary prefix and checks the file list, the desktop entry and AppStream
# metadata with their validators, and the installed program, moved to another prefix; then builds
# the Debian package and checks its layout and its program, leaving it as OUT_DEB for lintian's
# verdict (app.package_lintian).
# Usage: install_test.sh BUILD_DIR SOURCE_DIR VERSION OUT_DEB
set -eu
build=$1
source=$2
version=$3
out=$4
rm -f "$out"
id=io.github.pelorix.Pelorix
sizes="16 24 32 48 64 128 256"
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
passed=0
ok() { echo "ok   $1"; passed=$((passed + 1)); }

cmake --install "$build" --prefix "$tmp/prefix" >/dev/null

{
  echo "./bin/pelorix"
  echo "./share/applications/$id.desktop"
  for size in $sizes; do echo "./share/icons/hicolor/${size}x${size}/apps/$id.png"; done
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
ok "installed files"

desktop-file-validate "$tmp/prefix/share/applications/$id.desktop"
grep -qx "Exec=pelorix --user-folder" "$tmp/prefix/share/applications/$id.desktop"
grep -q "^Categories=.*Game;.*LogicGame;" "$tmp/prefix/share/applications/$id.desktop"
desktop-file-validate "$tmp/prefix/share/applications/screensavers/pelorix.desktop"
ok "desktop-file-validate"
appstreamcli validate --no-net "$tmp/prefix/share/metainfo/$id.metainfo.xml"
grep -q "<project_license>MIT</project_license>" "$tmp/prefix/share/metainfo/$id.metainfo.xml"
ok "appstreamcli validate"

# Every icon of a tree (the prefix given) is a PNG of its theme size.
check_icons() {
  for size in $sizes; do
    file="$1/share/icons/hicolor/${size}x${size}/apps/$id.png"
    [ "$(od -An -tx1 -N8 "$file" | tr -d ' \n')" = "89504e470d0a1a0a" ]
    [ "$(od -An -tu1 -j16 -N8 "$file" | awk '{print $3*256+$4 "x" $7*256+$8}')" = "${size}x${size}" ]
  done
}
check_icons "$tmp/prefix"
ok "icons"

# The program (the path given) finds its samples relative to itself: it seeds a new Pelorix folder.
check_seeding() {
  home=$(mktemp -d -p "$tmp")
  HOME="$home" XDG_CONFIG_HOME="$home/.config" XDG_DATA_HOME="$home/.local/share" \
    "$1" --user-folder --add "$source/data/icons/48x48/$id.png" >"$tmp/out"
  folder="$home/.local/share/pelorix/Pelorix"
  grep -q "added as $folder/$id.regular_picture" "$tmp/out"
  for sample in "$source"/assets/samples/*; do cmp "$sample" "$folder/$(basename "$sample")"; done
}
mv "$tmp/prefix" "$tmp/moved"
[ "$("$tmp/moved/bin/pelorix" --version | head -n 1)" = "pelorix $version" ]
ok "installed pelorix --version"
check_seeding "$tmp/moved/bin/pelorix"
ok "Pelorix folder seeded from the moved prefix"

# The Debian package, built as `make package` builds it, into a folder of the test's own.
cpack -G DEB --config "$build/CPackConfig.cmake" -B "$tmp/pkg" >"$tmp/cpack.log" 2>&1 || { cat "$tmp/cpack.log"; exit 1; }
deb="$tmp/pkg/pelorix_${version}_amd64.deb"
dpkg-deb -x "$deb" "$tmp/deb"
root="$tmp/deb/usr"
# A game's program is in /usr/games, and the savers' links lead there.
[ -x "$root/games/pelorix" ]
[ ! -e "$root/bin" ]
for dir in libexec/xscreensaver libexec/xfce4-screensaver lib/mate-screensaver/mate-screensaver; do
  [ "$(realpath "$root/$dir/pelorix")" = "$(realpath "$root/games/pelorix")" ]
done
check_icons "$root"
check_seeding "$root/games/pelorix"
ok "package layout: /usr/games, saver links, icons, samples found"
# Stripped: no symbol table and no debug information.
if readelf -S "$root/games/pelorix" | grep -Eq '\.symtab|\.debug_'; then echo "the packaged program is not stripped"; exit 1; fi
zcat "$root/share/man/man6/pelorix.6.gz" | grep -q '^\.TH PELORIX 6'
zcat "$root/share/doc/pelorix/changelog.gz" | grep -q "^pelorix ($version) "
grep -qx "Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/" "$root/share/doc/pelorix/copyright"
dpkg-deb -f "$deb" Depends | grep -q "libqt6widgets6"
dpkg-deb -f "$deb" Description | awk 'length > 80 { exit 1 }'
ok "package: stripped, gzipped manual, changelog, copyright, computed dependencies"
cp "$deb" "$out"
echo "$passed passed, 0 failed"
