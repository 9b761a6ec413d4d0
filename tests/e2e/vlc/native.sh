#!/usr/bin/env bash
# The native hub with the VLC plug-in and Debian's VLC on the hub host, the reference client on
# the client host. The hub's plug-in prepares VLC's own vlcrc; VLC, started afterwards with no
# remote-control option of its own, takes it and listens on loopback; the client then drives it.
#   native.sh BIN_FOLDER VLC_PLUGIN
# shellcheck source-path=SCRIPTDIR
set -u
here=$(cd "$(dirname "$0")" && pwd)
source "$here/../netns.sh"
source "$here/../hubhost.sh"
source "$here/vlchost.sh"
source "$here/../session.sh"
source "$here/drive.sh"
REMOTE=$1/tolvanu-remote
[ -x "$REMOTE" ] || { echo "FAIL: not built: $REMOTE"; exit 1; }
[ -f "$2" ] || { echo "FAIL: not built: $2"; exit 1; }
vlc_check_tools

e2e_start
vlc_watchdog 210
hub_prepare "$1/tolvanu" "$2"
hub_level 0
user_vars hub
# VLC and the hub read the same vlcrc: the hub user's, where the plug-in looks for it.
vlc_prepare "$WORK/users/hub/config"
vlc_make_tunes "${TUNES[@]}"
vlc_write_default_config
grep -q '^#rc-host=' "$VLC_CONFIG/vlc/vlcrc" || fail "VLC's default vlcrc has no commented rc-host line"

hub_start
expect_log "plugin: Tolvanu_VLC" "the hub loads the VLC plug-in"
if ! grep -qx 'rc-host=localhost:6637' "$VLC_CONFIG/vlc/vlcrc" || ! grep -qx 'extraintf=oldrc' "$VLC_CONFIG/vlc/vlcrc"; then
  fail "the plug-in did not prepare vlcrc for the remote control on 6637"
fi
pass "the hub's plug-in prepared VLC's vlcrc"

# shellcheck disable=SC2119  # VLC takes the prepared vlcrc, no option of its own
vlc_start
vlc_wait_ready "Charlie Tone"
in_hub ss -Hltn 'sport = :6637' | grep -q '127.0.0.1:6637' || fail "VLC does not listen on 127.0.0.1:6637"
pass "VLC took the prepared vlcrc: remote control on 127.0.0.1:6637"

remote --timeout 3000 discover media
expect_status 0 "discover media"
expect_out_line "$HUB_ADDR media" "discover media"
pass "the client finds the hub's media service"

drive_vlc "$(hostname)"
expect_log "[media:$CLIENT_ADDR] media.set_shuffle -1" "the hub's log of the commands"
