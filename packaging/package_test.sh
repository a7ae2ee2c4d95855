#!/usr/bin/env bash
# Installs the Debian package on this machine with apt, checks its files,
# starts the installed programs, purges it and checks that nothing of it is
# left. Needs root (or sudo).
#   package_test.sh DEB PROGRAM...
set -euo pipefail
deb=$(realpath "$1")
shift
programs=("$@")
fail() { echo "FAIL: $*" >&2; exit 1; }
sudo_cmd=""
if [ "$(id -u)" -ne 0 ]; then
  sudo -n true 2>/dev/null || { echo "needs root or sudo without a password"; exit 77; }
  sudo_cmd="sudo -n"
fi
apt_get() {
  $sudo_cmd env DEBIAN_FRONTEND=noninteractive apt-get -y -q -o DPkg::Lock::Timeout=600 "$@"
}

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# The package's paths, and which of them were there before (shared folders).
dpkg-deb -c "$deb" | awk '{ print $6 }' | sed 's|^\./|/|; s|/$||' | grep -v '^$' > "$work/paths"
while read -r path; do [ -e "$path" ] && echo "$path"; done < "$work/paths" > "$work/before" || true

apt_get install "$deb" > "$work/install.log" 2>&1 || { cat "$work/install.log"; fail "apt-get install"; }
dpkg-query -W -f='${Status}' zelt | grep -q "install ok installed" || fail "zelt is not installed"

for program in "${programs[@]}"; do
  [ -x "/usr/bin/$program" ] || fail "no /usr/bin/$program"
  [ "$(man -w "$program")" = "/usr/share/man/man1/$program.1.gz" ] || fail "no manual page for $program"
done
for file in /usr/share/zelt/Setup.KVS /usr/share/applications/zelt.desktop \
            /usr/share/icons/hicolor/scalable/apps/zelt.svg /usr/share/metainfo/ru.tavel.zelt.metainfo.xml \
            /usr/share/org.kde.syntax-highlighting/syntax/kvs.xml /usr/share/doc/zelt/copyright; do
  [ -s "$file" ] || fail "no $file"
done

# The installed programs, as a user starts them, in a home of their own.
export HOME="$work/home" XDG_RUNTIME_DIR="$work/runtime"
unset XDG_DATA_HOME XDG_CONFIG_HOME XDG_CACHE_HOME
mkdir -p "$HOME" && mkdir -m 700 "$XDG_RUNTIME_DIR"
cd "$HOME"
[ "$(/usr/bin/kvs '2 3 +')" = 5 ] || fail "kvs '2 3 +' did not print 5"
/usr/bin/kvs --check /usr/share/zelt/Setup.KVS || fail "kvs --check of the shipped Setup.KVS"
# zelt-provision finds the installed Setup.KVS and checks a profile with it.
printf '[Settings]\r\nS0=9\r\n' > "$work/profile.ini"
status=0
/usr/bin/zelt-provision --ports "$work/none" "$work/profile.ini" 2> "$work/provision.err" || status=$?
[ $status -eq 2 ] && grep -qF "profile.ini:2: S0=9" "$work/provision.err" ||
  fail "the installed zelt-provision did not check the profile: $(cat "$work/provision.err")"
echo '{"screens":[{"name":"s","x":0,"y":0,"width":1366,"height":768,"logicalDpi":96}]}' > "$work/screen.json"
QT_QPA_PLATFORM="offscreen:configfile=$work/screen.json" timeout 60 /usr/bin/zelt --demo \
  --screenshot "$work/demo.png" || fail "the installed zelt --demo exited with $?"
[ -s "$work/demo.png" ] || fail "no screenshot from the installed zelt"
cp "$work/demo.png" "${ZELT_SCREENSHOT_COPY:-/dev/null}" 2>/dev/null || true
[ -s "$HOME/.local/share/zelt/Tables.db" ] || fail "the shipped START did not run in the user data folder"

cd /
apt_get purge zelt > "$work/purge.log" 2>&1 || { cat "$work/purge.log"; fail "apt-get purge"; }
if dpkg-query -W -f='${Status}' zelt 2>/dev/null | grep -q installed; then fail "zelt still installed"; fi
left=$(while read -r path; do
         [ -e "$path" ] && ! grep -qxF "$path" "$work/before" && echo "$path"
       done < "$work/paths" || true)
[ -z "$left" ] || fail "left after purge: $left"
ls /var/lib/dpkg/info/zelt.* >/dev/null 2>&1 && fail "dpkg still keeps zelt's lists"
echo "installed, started and purged $(basename "$deb"): $(wc -l < "$work/paths") paths, none left"
