#!/usr/bin/env bash
# Makes the Windows installer (zelt-setup.exe, NSIS) and the portable zip
# (zelt-windows.zip) from a cross-build.
# Usage: tools/windows/package.sh BUILD_DIR QT_PREFIX OUT_DIR
set -euo pipefail
mkdir -p "$3"
build=$(cd "$1" && pwd) qt=$(cd "$2" && pwd) out=$(cd "$3" && pwd)
root=$(cd "$(dirname "$0")/../.." && pwd)
version=$(sed -n 's/.*kVersion\[\] = "V\([0-9.]*\)".*/\1/p' "$root/src/ui/main_form.h" 2>/dev/null | head -1)
version=${version:-1.0.0.1}

stage=$out/package/zelt
rm -rf "$out/package"
mkdir -p "$stage/platforms" "$stage/sqldrivers" "$stage/styles" "$stage/imageformats" \
  "$stage/translations"
cp "$build/src/zelt.exe" "$build/tools/provision/zelt-provision.exe" "$stage/"
for dll in Qt6Core Qt6Gui Qt6Widgets Qt6Sql Qt6SerialPort libstdc++-6 libgcc_s_seh-1 libwinpthread-1; do
  cp "$qt/bin/$dll.dll" "$stage/"
done
cp "$qt/plugins/platforms/qwindows.dll" "$stage/platforms/"
cp "$qt/plugins/sqldrivers/qsqlite.dll" "$stage/sqldrivers/"
cp "$qt/plugins/styles/qwindowsvistastyle.dll" "$stage/styles/"
cp "$qt/plugins/imageformats/qico.dll" "$stage/imageformats/"
cp "$qt/translations/qtbase_ru.qm" "$qt/translations/qtserialport_ru.qm" "$stage/translations/"
cp "$root/scripts/Setup.KVS" "$stage/"
sed 's/$/\r/' "$root/README.md" > "$stage/README.txt"
python3 "$root/packaging/windows/make_icon.py" "$root/packaging/zelt.svg" "$stage/zelt.ico"
x86_64-w64-mingw32-strip --strip-unneeded "$stage/zelt.exe" "$stage/zelt-provision.exe"

# The uninstaller deletes what was installed, file by file, folders last.
(
  cd "$stage"
  find . -type f | sort | sed 's|^\./||; s|/|\\|g; s|.*|  Delete "$INSTDIR\\&"|'
  find . -mindepth 1 -type d | sort -r | sed 's|^\./||; s|/|\\|g; s|.*|  RMDir "$INSTDIR\\&"|'
) > "$out/package/files.nsh"

makensis -V2 -DSTAGE="$stage" -DFILES="$out/package/files.nsh" -DOUTFILE="$out/zelt-setup.exe" -DVERSION="$version" \
  "$root/packaging/windows/zelt.nsi"
rm -f "$out/zelt-windows.zip"
(cd "$out/package" && zip -qr9 "$out/zelt-windows.zip" zelt)
ls -l "$out/zelt-setup.exe" "$out/zelt-windows.zip"
