#!/usr/bin/env bash
# The access check seen from the client: level 4 refuses without a word; level 1 asks the
# hub's user on its terminal, remembers a Yes (also across a restart) and refuses on No.
#   access.sh BIN_FOLDER ECHO_PLUGIN
# shellcheck source-path=SCRIPTDIR
set -u
here=$(cd "$(dirname "$0")" && pwd)
source "$here/netns.sh"
source "$here/hubhost.sh"
REMOTE=$1/tolvanu-remote
[ -x "$REMOTE" ] || { echo "FAIL: not built: $REMOTE"; exit 1; }
command -v tmux >/dev/null || e2e_skip "tmux is not installed"

e2e_start
hub_prepare "$1/tolvanu" "$2"

hub_level 4
hub_start
remote --timeout 1500 discover echo
expect_status 0 "discover at level 4"
remote --timeout 1500 open echo
expect_status 3 "open at level 4"
expect_err "access refused" "open at level 4"
expect_log "[in:$CLIENT_ADDR] open;echo;" "open at level 4"
grep -q "Do you want" <<<"$(hub_log)" && fail "level 4 asked the user"
pass "level 4 refuses without asking"
hub_stop

question="Do you want to give access to Kitchen tablet? [y/N]"
hub_level 1
hub_start_tty
remote_begin client --timeout 20000 --name "Kitchen tablet" open echo
wait_for_log "$question" 10 || fail "level 1 did not ask"
hub_type y Enter
remote_finish
expect_status 0 "open answered Yes"
[[ $OUT =~ ^[0-9]+$ ]] || fail "open answered Yes printed no port"
device=$(sed -n 's/^"device"="\(.*\)"$/\1/p' "$(user_settings client)")
[ -n "$device" ] || fail "the client kept no device id"
grep -qF "\"$device\"=dword:00000001" "$(user_settings hub)" || fail "the hub did not record device $device"
remote close echo
remote --timeout 5000 --name "Kitchen tablet" open echo
expect_status 0 "open of an accepted device"
[ "$(log_count "$question")" -eq 1 ] || fail "an accepted device was asked again"
remote close echo
pass "level 1 asks once, Yes records the device and lets it in"

hub_stop
hub_start_tty
remote --timeout 5000 --name "Kitchen tablet" open echo
expect_status 0 "open of an accepted device after a restart"
grep -q "Do you want" <<<"$(hub_log)" && fail "an accepted device was asked again after a restart"
remote close echo
pass "the accepted device is still known after a restart"

other="Do you want to give access to Stranger? [y/N]"
remote_begin stranger --timeout 6000 --name Stranger open echo
wait_for_log "$other" 10 || fail "level 1 did not ask for an unknown device"
hub_type n Enter
remote_finish
expect_status 3 "open answered No"
expect_err "access refused" "open answered No"
stranger=$(sed -n 's/^"device"="\(.*\)"$/\1/p' "$(user_settings stranger)")
[ -n "$stranger" ] && ! grep -qF "\"$stranger\"" "$(user_settings hub)" || fail "a refused device was recorded"
pass "No gets no answer and records nothing"
