#!/usr/bin/env bash
# The Debian package: installs with dpkg into a throw-away root (dependencies checked against
# this machine's packages), the installed hub starts from usr/bin, loads its plug-ins from
# usr/lib/tolvanu/ and answers the installed client on another host; dpkg -r removes it all;
# lintian finds no error.
#   deb.sh PACKAGE.deb
# shellcheck source-path=SCRIPTDIR
set -u
here=$(cd "$(dirname "$0")" && pwd)
source "$here/../e2e/netns.sh"
source "$here/../e2e/hubhost.sh"
deb=$(realpath "${1:?usage: deb.sh PACKAGE.deb}")
[ -f "$deb" ] || { echo "FAIL: no package $deb"; exit 1; }

e2e_start
root=$WORK/root
admin=$root/var/lib/dpkg
mkdir -p "$admin/info" "$admin/updates" "$admin/triggers"
# The packages of this machine, whose files the installed programs use.
cp /var/lib/dpkg/status "$admin/status"
: >"$admin/available"
# Maintainer scripts run outside the root: it holds no shell to chroot into.
in_root() { dpkg --root="$root" --force-script-chrootless "$@" >"$WORK/dpkg.out" 2>&1; }

in_root -i "$deb" || { cat "$WORK/dpkg.out"; fail "dpkg -i failed"; }
for file in usr/bin/tolvanu usr/bin/tolvanu-remote usr/lib/tolvanu/Tolvanu_VLC.so \
  usr/lib/tolvanu/Tolvanu_system.so usr/share/applications/tolvanu.desktop \
  usr/share/man/man1/tolvanu.1.gz usr/share/doc/tolvanu/copyright; do
  [ -f "$root/$file" ] || fail "dpkg -i did not install /$file"
done
pass "dpkg -i installs the programs, the plug-ins, the desktop entry and the manual"

REMOTE=$root/usr/bin/tolvanu-remote
in_client "$REMOTE" --help >"$WORK/help" 2>&1 || fail "tolvanu-remote --help failed"
grep -q discover "$WORK/help" || fail "tolvanu-remote --help does not list its commands"

# The hub started through a link: it finds the plug-ins by its real place, as from /usr/bin.
mkdir -p "$WORK/hub"
ln -s "$root/usr/bin/tolvanu" "$WORK/hub/tolvanu"
hub_level 0
# A vlcrc with the remote control on: without one the VLC plug-in declines to load.
mkdir -p "$WORK/users/hub/config/vlc"
printf '[core]\nextraintf=oldrc\n[oldrc]\nrc-host=localhost:6637\nrc-fake-tty=1\n' \
  >"$WORK/users/hub/config/vlc/vlcrc"
hub_start
expect_log "plugins: 2 loaded from $root/usr/lib/tolvanu/" "start from usr/bin"
expect_log "plugin: Tolvanu_VLC.so (service media) loaded" "start from usr/bin"
remote --timeout 1500 discover system
expect_status 0 "discover system"
expect_out_line "$HUB_ADDR system" "discover system"
remote --timeout 1500 discover media
expect_status 0 "discover media"
expect_out_line "$HUB_ADDR media" "discover media"
pass "the installed hub loads its plug-ins from usr/lib/tolvanu/ and answers a search"
remote open system
expect_status 0 "open system"
[ "$OUT" = 26001 ] || fail "open system: port '$OUT', wanted 26001"
remote close system
hub_stop
pass "the installed client opens the system service through the installed hub"

in_root -r tolvanu || { cat "$WORK/dpkg.out"; fail "dpkg -r failed"; }
left=$(cd "$root" && find usr -type f 2>/dev/null)
[ -z "$left" ] || fail "dpkg -r left files: $left"
pass "dpkg -r removes every file"

if command -v lintian >/dev/null; then
  lintian --no-tag-display-limit "$deb" >"$WORK/lintian" 2>&1
  grep '^E:' "$WORK/lintian" && fail "lintian reports errors"
  pass "lintian: no errors ($(grep -c '^W:' "$WORK/lintian") warnings)"
else
  echo "lintian is not installed: not checked"
fi
