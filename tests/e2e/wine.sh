#!/usr/bin/env bash
# The Windows hub (Tolvanu.exe with the echo plug-in) under Wine on the hub host, driven by the
# native reference client: the conversation at level 0, the refusal at level 4; then the
# Windows client under Wine on the client host in the same conversation.
# Wine makes its sockets in its wineserver, so each host has a prefix of its own, brought up
# inside that host's namespace and ended there.
#   wine.sh TOLVANU_EXE ECHO_DLL NATIVE_REMOTE WINE_RUN WINDOWS_REMOTE
# shellcheck source-path=SCRIPTDIR
set -u
here=$(cd "$(dirname "$0")" && pwd)
source "$here/netns.sh"
source "$here/hubhost.sh"
source "$here/winehub.sh"
REMOTE=$3
WINE_RUN=$4
WINDOWS_REMOTE=$5
[ -x "$REMOTE" ] || e2e_skip "no native client at $REMOTE (build the native preset first)"
command -v wine >/dev/null || e2e_skip "wine is not installed"

e2e_start
hub_prepare "$1" "$2"

on_client_host() {
  user_vars winclient
  in_client env -u DISPLAY -u WAYLAND_DISPLAY TOLVANU_ISOLATED=1 "${USER_ENV[@]}" "$WINE_RUN" \
    --prefix "$WORK/clientprefix" "$@"
}

# The prefix's server, and with it every program of the prefix, ends on its host.
wine_down() { on_hub_host --down; }

windows_remote() {
  on_client_host "$WINDOWS_REMOTE" "$@" >"$WORK/out" 2>"$WORK/err"
  RC=$?
  OUT=$(tr -d '\r' <"$WORK/out")
  ERR=$(tr -d '\r' <"$WORK/err")
}

wine_level() {
  on_hub_host reg add 'HKCU\SOFTWARE\Tessary\Tolvanu' /v security /t REG_DWORD /d "$1" /f >/dev/null 2>&1 ||
    fail "the level could not be written into the Wine registry"
}

wine_hub_start() {
  on_hub_host "$WORK/hub/$(basename "$1")" </dev/null >"$WORK/hub.log" 2>&1 &
  netns_track $!
  discover_until_offered echo
}

on_hub_host --up "$1" || fail "the Wine prefix did not come up on the hub host"
netns_on_exit wine_down
wine_level 0
wine_hub_start "$1"

remote --timeout 1500 discover echo
expect_status 0 "discover echo"
expect_out_line "$HUB_ADDR echo" "discover echo"
pass "discovery finds the Windows hub and its class"

remote send echo echo.hello grüße
expect_status 0 "send"
expect_out_line "echo.reply echo.hello grüße" "send"
expect_out_line "media.close" "send"
pass "a command reaches the plug-in, its report comes back, close ends the session"

remote session echo <<'LINES'
echo.one 1
echo.two 2
LINES
expect_status 0 "session"
replies=$(grep '^echo.reply' <<<"$OUT")
[ "$replies" = $'echo.reply echo.one 1\necho.reply echo.two 2' ] || fail "session: replies out of order or missing"
expect_out_line "media.close" "session"
pass "a session sends each line and prints the reports"

[ -f "$WINDOWS_REMOTE" ] || fail "not built: $WINDOWS_REMOTE"
on_client_host --up "$WINDOWS_REMOTE" || fail "the Wine prefix did not come up on the client host"
netns_on_exit "on_client_host --down"
windows_remote --timeout 1500 discover echo
expect_status 0 "Windows client: discover echo"
expect_out_line "$HUB_ADDR echo" "Windows client: discover echo"
windows_remote send echo echo.hello grüße
expect_status 0 "Windows client: send"
expect_out_line "echo.reply echo.hello grüße" "Windows client: send"
expect_out_line "media.close" "Windows client: send"
on_client_host reg query 'HKCU\SOFTWARE\Tessary\Tolvanu Remote' /v device 2>/dev/null | grep -q REG_SZ ||
  fail "Windows client: no device id in its registry"
pass "the Windows client finds the hub, sends, receives the report and closes"

wine_down
wine_level 4
wine_hub_start "$1"
remote --timeout 1500 open echo
expect_status 3 "open at level 4"
expect_err "access refused" "open at level 4"
pass "level 4 refuses"
