#!/usr/bin/env bash
# The native hub with the echo plug-in at level 0, the reference client on another host:
# discovery, open, commands and reports, close, and a client left without a hub.
#   conversation.sh BIN_FOLDER ECHO_PLUGIN
# shellcheck source-path=SCRIPTDIR
set -u
here=$(cd "$(dirname "$0")" && pwd)
source "$here/netns.sh"
source "$here/hubhost.sh"
REMOTE=$1/tolvanu-remote
[ -x "$REMOTE" ] || { echo "FAIL: not built: $REMOTE"; exit 1; }

e2e_start
hub_prepare "$1/tolvanu" "$2"
hub_level 0
hub_start

remote --timeout 1500 discover echo
expect_status 0 "discover echo"
expect_out_line "$HUB_ADDR echo" "discover echo"
remote --timeout 800 discover media
expect_status 1 "discover a class nobody offers"
expect_err "no hub answered" "discover a class nobody offers"
pass "discovery finds the hub and its class only"

remote open echo
expect_status 0 "open"
port=$OUT
[[ $port =~ ^[0-9]+$ ]] && [ "$port" -gt 0 ] || fail "open printed no port"
in_hub ss -Hulnp "sport = :$port" | grep -q '"tolvanu"' || fail "the hub does not listen on port $port"
expect_log "[in:$CLIENT_ADDR] open;echo;$CLIENT_ADDR;" "open"
closes=$(log_count "media.close")
remote close echo
expect_status 0 "close"
expect_log "[in:$CLIENT_ADDR] close;echo;" "close"
for _ in $(seq 30); do [ "$(log_count media.close)" -gt "$closes" ] && break; sleep 0.1; done
[ "$(log_count media.close)" -gt "$closes" ] || fail "close did not reach the plug-in"
pass "open gets the plug-in's port $port, close reaches the plug-in"

remote send echo echo.hello grüße aus Köln
expect_status 0 "send"
# The service takes the first word after the command as its argument.
expect_out_line "echo.reply echo.hello grüße" "send"
expect_out_line "media.close" "send"
expect_log "[media:$CLIENT_ADDR] echo.hello grüße aus Köln" "send"
expect_log "[media>$CLIENT_ADDR] echo.reply echo.hello grüße" "send"
expect_log "[media>$CLIENT_ADDR] media.close" "send"
pass "a command reaches the plug-in, its report comes back, close ends the session"

remote session echo <<'LINES'
echo.one 1

media.get_state
echo.two 2
LINES
expect_status 0 "session"
replies=$(grep '^echo.reply' <<<"$OUT")
wanted=$'echo.reply echo.one 1\necho.reply media.get_state \necho.reply echo.two 2'
[ "$replies" = "$wanted" ] || fail "session: replies out of order or missing"
# Asked for the state, the service reports at each poll while the session lasts.
grep -qx "echo.ping" <<<"$OUT" || fail "session: no report from the poll"
pass "a session sends each line and prints the reports as they come"

remote frob
expect_status 2 "wrong arguments"
expect_err "unknown command 'frob'" "wrong arguments"

hub_stop
remote --timeout 800 open echo
expect_status 1 "open without a hub"
expect_err "no hub answered the search for \"echo\"" "open without a hub"
pass "no hub, wrong arguments: clear messages and their own statuses"
