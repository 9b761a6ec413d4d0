#!/usr/bin/env bash
# ThreadSanitizer soak: the hub (a TSan build) with the VLC plug-in and Debian's VLC on the hub
# host; on the client host the reference client opens a session, drives VLC, lets the polls run
# and closes, again and again for MINUTES. Any ThreadSanitizer report, in the hub or the client,
# fails it, as does a session that stops working.
#   soak.sh BIN_FOLDER VLC_PLUGIN MINUTES
# shellcheck source-path=SCRIPTDIR
set -u
here=$(cd "$(dirname "$0")" && pwd)
source "$here/../netns.sh"
source "$here/../hubhost.sh"
source "$here/vlchost.sh"
source "$here/../session.sh"
source "$here/drive.sh"
REMOTE=$1/tolvanu-remote
minutes=${3:-10}
[ -x "$REMOTE" ] || { echo "FAIL: not built: $REMOTE"; exit 1; }
[ -f "$2" ] || { echo "FAIL: not built: $2"; exit 1; }
vlc_check_tools

# Every report is wanted, not just the first; the client inherits this through the namespace.
export TSAN_OPTIONS="halt_on_error=0:second_deadlock_stack=1:suppressions=$(cd "$(dirname "$0")/../.." && pwd)/tsan.supp"
tsan_reports() { grep -c "WARNING: ThreadSanitizer" "$@" 2>/dev/null | awk -F: '{ n += $NF } END { print n + 0 }'; }
check_clean() {
  local hub client
  hub=$(tsan_reports "$WORK/hub.log")
  client=$(tsan_reports "$WORK"/client-*.err)
  [ "$hub" -eq 0 ] && [ "$client" -eq 0 ] && return 0
  cat "$WORK"/client-*.err 2>/dev/null | grep -A30 "WARNING: ThreadSanitizer" | head -60
  fail "ThreadSanitizer reports: $hub in the hub, $client in the client ($1)"
}

e2e_start
vlc_watchdog $((minutes * 60 + 150))
hub_prepare "$1/tolvanu" "$2"
hub_level 0
user_vars hub
vlc_prepare "$WORK/users/hub/config"
vlc_make_tunes "${TUNES[@]}"
vlc_write_default_config
HUB_ENV=("TSAN_OPTIONS=$TSAN_OPTIONS")
hub_start
expect_log "plugin: Tolvanu_VLC" "the hub loads the VLC plug-in"
vlc_start
vlc_wait_ready "Charlie Tone"

positions_after_say() {
  local _
  for _ in $(seq $(($2 * 10))); do
    [ "$(reports_since_say | grep -c '^media\.pos ')" -ge "$1" ] && return 0
    sleep 0.1
  done
  return 1
}

# One session: open, greet, dump, jump to another tune, pause and play, volume, a poll, close.
cycle() {
  local n=$1 track=$(($1 % 3))
  session_begin media
  say "media.init $HUB_ADDR"
  expect_report "media.app $(hostname):VLC" 10
  say media.get_complete
  await_report '^media\.speed ' 10 >/dev/null || session_fail "no speed in the dump (cycle $n)"
  # Which tune VLC's "goto" lands on is VLC's affair (see drive.sh): any new title will do.
  say "media.set_track $track"
  await_report '^media\.title [^ ]' 10 >/dev/null || session_fail "no title after media.set_track (cycle $n)"
  await_report '^media\.speed 1\.0$' 10 >/dev/null || vlc_shows status "( state playing )" ||
    session_fail "VLC does not play after media.set_track (cycle $n)"
  say media.pause
  expect_report "media.speed 0.0" 10
  say media.play
  expect_report "media.speed 1.0" 10
  say "media.set_volume $((n % 2 ? 25 : 50))"
  expect_report "media.volume $((n % 2 ? 25 : 50)).00" 10
  # The answer's position and then the poll's: the session stays open over polls.
  say media.get_state
  positions_after_say 2 10 || session_fail "no position from the poll (cycle $n)"
  session_end
  cp "$WORK/session.err" "$WORK/client-$((n % 2)).err"
  expect_status 0 "session $n"
  expect_out_line "media.close" "the end of session $n"
}

end=$((SECONDS + minutes * 60))
cycles=0
while ((SECONDS < end)); do
  cycle "$cycles"
  cycles=$((cycles + 1))
  _alive "$HUB_PID" || fail "the hub ended after $cycles sessions"
  check_clean "after $cycles sessions"
done
hub_stop
check_clean "at the hub's exit"
pass "$cycles sessions in $minutes min, polls running, no ThreadSanitizer report"
