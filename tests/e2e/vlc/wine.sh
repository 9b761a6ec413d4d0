#!/usr/bin/env bash
# The Windows hub (Tolvanu.exe with Tolvanu_VLC.dll) under Wine on the hub host drives Debian's
# VLC there on loopback; the native reference client on the client host drives it through the
# hub. The plug-in prepares the vlcrc of the Wine profile (VLC's Windows file, CR LF); the Linux
# VLC keeps its own configuration, so it is started on the port the plug-in wrote there.
# Wine makes its sockets in its wineserver, so the prefix (the test's own) is brought up inside
# the hub host's namespace and ended there.
#   wine.sh TOLVANU_EXE VLC_DLL NATIVE_REMOTE WINE_RUN
# shellcheck source-path=SCRIPTDIR
set -u
here=$(cd "$(dirname "$0")" && pwd)
source "$here/../netns.sh"
source "$here/../hubhost.sh"
source "$here/vlchost.sh"
source "$here/../session.sh"
source "$here/drive.sh"
REMOTE=$3
WINE_RUN=$4
[ -x "$REMOTE" ] || e2e_skip "no native client at $REMOTE (build the native preset first)"
command -v wine >/dev/null || e2e_skip "wine is not installed"
vlc_check_tools

e2e_start
vlc_watchdog 270
hub_prepare "$1" "$2"
prefix=$WORK/wineprefix

# wine-run would otherwise start the server in a network of its own, not on the hub host.
on_hub_host() {
  user_vars hub
  in_hub env -u DISPLAY -u WAYLAND_DISPLAY TOLVANU_ISOLATED=1 "${USER_ENV[@]}" "$WINE_RUN" --prefix "$prefix" "$@"
}

on_hub_host --up "$1" || fail "the Wine prefix did not come up on the hub host"
netns_on_exit "on_hub_host --down"
on_hub_host reg add 'HKCU\SOFTWARE\Tessary\Tolvanu' /v security /t REG_DWORD /d 0 /f >/dev/null 2>&1 ||
  fail "the level could not be written into the Wine registry"
appdata=$(find "$prefix/drive_c/users" -mindepth 3 -maxdepth 3 -path '*/AppData/Roaming' ! -path '*/Public/*' | head -n 1)
[ -d "$appdata" ] || fail "no application-data folder in the Wine profile"
name=$(on_hub_host cmd /c echo %COMPUTERNAME% 2>/dev/null | tr -d '\r\n')
[ -n "$name" ] || fail "Wine gave no computer name"

# VLC's own default file, as VLC for Windows keeps it: CR LF line ends.
vlc_prepare "$WORK/vlc/config"
vlc_make_tunes "${TUNES[@]}"
vlc_write_default_config
mkdir -p "$appdata/vlc"
sed 's/$/\r/' "$VLC_CONFIG/vlc/vlcrc" >"$appdata/vlc/vlcrc"
vlcrc=$appdata/vlc/vlcrc

on_hub_host "$WORK/hub/$(basename "$1")" </dev/null >"$WORK/hub.log" 2>&1 &
netns_track $!
port=
for _ in $(seq 100); do
  port=$(sed -n 's/^rc-host=localhost:\([0-9][0-9]*\)\r$/\1/p' "$vlcrc" | head -n 1)
  [ -n "$port" ] && break
  sleep 0.1
done
[ "$port" = 6637 ] || fail "the Windows plug-in did not prepare the profile's vlcrc (port '$port')"
grep -qx $'extraintf=oldrc\r' "$vlcrc" || fail "vlcrc has no extraintf=oldrc line"
[ "$(grep -vc $'\r$' "$vlcrc")" -eq 0 ] || fail "the prepared vlcrc has lines without CR LF"
[ -f "$vlcrc.bak" ] || fail "no vlcrc.bak beside the prepared vlcrc"
pass "the Windows plug-in prepared the Wine profile's vlcrc: port $port, CR LF kept, old file kept"

vlc_start --extraintf oldrc --rc-host "localhost:$port" --rc-fake-tty
vlc_wait_ready "Charlie Tone"
in_hub ss -Hltn "sport = :$port" | grep -q "127.0.0.1:$port" || fail "VLC does not listen on 127.0.0.1:$port"

discover_until_offered media
expect_out_line "$HUB_ADDR media" "discover media"
pass "the client finds the Windows hub's media service"

drive_vlc "$name"
