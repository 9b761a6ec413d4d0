# shellcheck shell=bash
# One long session of the reference client on the client host: commands are fed one at a time
# through a FIFO, the reports it prints are collected in a file and awaited line by line.
# Sourced after hubhost.sh (REMOTE set), once e2e_start has made WORK.
#   session_begin CLASS          tolvanu-remote session CLASS, running until session_end
#   say COMMAND                  one command; the reports before it no longer count
#   expect_report TEXT [SEC]     a report equal to TEXT, within SEC seconds (5)
#   expect_any_report TEXT [SEC] a report equal to TEXT since the session began, within SEC (5)
#   await_report REGEX [SEC]     the first report matching REGEX (extended) on stdout, or status 1
#   reports_since_say            the reports after the last say
#   session_end                  end of input: the client closes and exits; sets RC, OUT, ERR
#   session_fail MESSAGE         fail, with the session's output and, where the script defines
#                                session_context, what it prints

_session_pid=
_session_mark=0

session_begin() {
  # A client that is gone must fail the test, not end the script by SIGPIPE without its clean-up.
  trap '' PIPE
  rm -f "$WORK/session.in"
  mkfifo "$WORK/session.in"
  : >"$WORK/session.out"
  user_vars client
  in_client env "${USER_ENV[@]}" "$REMOTE" --timeout 5000 --wait 1500 session "$1" \
    <"$WORK/session.in" >"$WORK/session.out" 2>"$WORK/session.err" &
  _session_pid=$!
  netns_track "$_session_pid"
  # Held open, so that the client reads no end of input before session_end.
  exec 8>"$WORK/session.in"
  local _
  for _ in $(seq 100); do
    grep -q "one command per line" "$WORK/session.err" && return 0
    _alive "$_session_pid" || break
    sleep 0.1
  done
  session_fail "the client did not open a session for \"$1\""
}

say() {
  _session_mark=$(wc -l <"$WORK/session.out")
  printf '%s\n' "$1" >&8 || session_fail "the client is gone before '$1'"
}

reports_since_say() { tail -n "+$((_session_mark + 1))" "$WORK/session.out"; }

expect_report() {
  local tries=$((${2:-5} * 10)) _
  for _ in $(seq "$tries"); do
    reports_since_say | grep -qxF -- "$1" && return 0
    sleep 0.1
  done
  session_fail "no report '$1'"
}

expect_any_report() {
  local tries=$((${2:-5} * 10)) _
  for _ in $(seq "$tries"); do
    grep -qxF -- "$1" "$WORK/session.out" && return 0
    sleep 0.1
  done
  session_fail "no report '$1' in the session"
}

await_report() {
  local tries=$((${2:-5} * 10)) line _
  for _ in $(seq "$tries"); do
    line=$(reports_since_say | grep -m1 -E -- "$1")
    [ -n "$line" ] && { printf '%s\n' "$line"; return 0; }
    sleep 0.1
  done
  return 1
}

session_end() {
  exec 8>&-
  wait "$_session_pid"
  RC=$?
  OUT=$(cat "$WORK/session.out")
  ERR=$(cat "$WORK/session.err")
}

session_fail() {
  OUT=$(cat "$WORK/session.out" 2>/dev/null)
  ERR=$(cat "$WORK/session.err" 2>/dev/null)
  declare -F session_context >/dev/null && session_context
  fail "$1"
}
