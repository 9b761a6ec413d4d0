# shellcheck shell=bash
# The hub with the echo plug-in on the hub host, the reference client on the client host, each
# run as a user of its own (HOME and XDG folders in the test's temporary folder).
# Sourced after netns.sh by the end-to-end tests.
#   e2e_start                 skip (77) unless root with network namespaces; hosts up; WORK
#   user_vars NAME            USER_ENV: the env assignments of user NAME, made on first use
#   user_env NAME             the same as words on stdout, for $(...)
#   user_settings NAME        the file of that user's settings store
#   hub_prepare PROGRAM PLUGIN...   the hub and its plug-ins together in WORK/hub
#   hub_level LEVEL           the security level in the hub user's settings (hub stopped)
#   HUB_ENV                   more assignments for the hub's environment (DISPLAY=...)
#   hub_start / hub_start_tty / hub_stop   the native hub, its log on stdout or on a tmux screen
#   hub_log                   the hub's output so far; wait_for_log TEXT [SECONDS], log_count TEXT
#   hub_type KEYS...          keys typed on the hub's terminal (after hub_start_tty)
#   remote_as USER ARGS...    tolvanu-remote on the client host: sets OUT, ERR, RC
#   remote ARGS...            the same as user "client"
#   remote_begin USER ARGS... / remote_finish   the same in the background, and its end
#   expect_*, fail, pass      checks; a failed check ends the test with what was seen

REMOTE=${REMOTE:-}
# More of the hub's environment (the desktop it serves).
HUB_ENV=()
HUB_PID=
USER_ENV=()
_tmux=()

e2e_skip() { echo "SKIP: $*"; exit 77; }

e2e_start() {
  [ "$(id -u)" -eq 0 ] || e2e_skip "needs root for network namespaces"
  ip netns list >/dev/null 2>&1 || e2e_skip "ip netns is not available"
  WORK=$(mktemp -d /tmp/tolvanu-e2e.XXXXXX)
  netns_on_exit "rm -rf '$WORK'"
  netns_up || e2e_skip "network namespaces cannot be made here"
  mkfifo "$WORK/hub.in"
  # Held open for the hub's stdin, so that it never reads the end of its input.
  exec 7<>"$WORK/hub.in"
}

user_vars() {
  local home=$WORK/users/$1
  if [ ! -d "$home" ]; then
    mkdir -p "$home/config" "$home/runtime"
    chmod 700 "$home/runtime"
  fi
  USER_ENV=("HOME=$home" "XDG_CONFIG_HOME=$home/config" "XDG_RUNTIME_DIR=$home/runtime")
}

user_env() {
  user_vars "$1"
  echo "${USER_ENV[*]}"
}

user_settings() { echo "$WORK/users/$1/config/tolvanu/HKEY_CURRENT_USER.ini"; }

hub_prepare() {
  local file
  mkdir -p "$WORK/hub"
  for file in "$@"; do
    [ -f "$file" ] || fail "not built: $file"
    cp "$file" "$WORK/hub/"
  done
}

hub_level() {
  user_vars hub
  local settings
  settings=$(user_settings hub)
  mkdir -p "$(dirname "$settings")"
  printf '; Tolvanu settings: HKEY_CURRENT_USER\n[SOFTWARE\\Tessary\\Tolvanu]\n"security"=dword:%08x\n' "$1" \
    >"$settings"
}

_hub_command() {
  user_vars hub
  HUB_COMMAND=(ip netns exec "$HUB_NS" env -u DISPLAY -u WAYLAND_DISPLAY "${USER_ENV[@]}" "${HUB_ENV[@]}"
    "$WORK/hub/tolvanu")
}

hub_start() {
  _hub_command
  "${HUB_COMMAND[@]}" <&7 >"$WORK/hub.log" 2>&1 &
  HUB_PID=$!
  netns_track "$HUB_PID"
  _hub_ready
}

# On a terminal (tmux), where the hub asks its question; read with hub_log, answer with hub_type.
hub_start_tty() {
  if [ ${#_tmux[@]} -eq 0 ]; then
    _tmux=(tmux -S "$WORK/tmux.sock" -f "$WORK/tmux.conf")
    # The screen stays readable after the hub has ended.
    printf 'set -g history-limit 20000\nset -g remain-on-exit on\n' >"$WORK/tmux.conf"
    netns_on_exit '"${_tmux[@]}" kill-server 2>/dev/null'
  fi
  "${_tmux[@]}" kill-session -t hub 2>/dev/null
  _hub_command
  "${_tmux[@]}" new-session -d -s hub -x 200 -y 50 "$(printf '%q ' "${HUB_COMMAND[@]}")" ||
    fail "tmux did not start"
  HUB_PID=$("${_tmux[@]}" display-message -p -t hub '#{pane_pid}')
  netns_track "$HUB_PID"
  _hub_ready
}

hub_type() { "${_tmux[@]}" send-keys -t hub "$@"; }

hub_log() {
  if [ ${#_tmux[@]} -gt 0 ] && "${_tmux[@]}" has-session -t hub 2>/dev/null; then
    "${_tmux[@]}" capture-pane -p -J -t hub -S - -E -
  else
    cat "$WORK/hub.log"
  fi
}

_hub_ready() {
  wait_for_log "host ip: $HUB_ADDR" 10 || fail "the hub did not open its port"
}

# Running, not just waiting to be reaped (tmux may take its time over an ended pane).
# One read of the status file: a process reaped between two checks counts as ended.
_alive() { grep -q '^State:[[:space:]]*[^Z[:space:]]' "/proc/$1/status" 2>/dev/null; }

hub_stop() {
  [ -n "$HUB_PID" ] || return 0
  kill "$HUB_PID" 2>/dev/null
  local _
  # Sanitizer builds take seconds to shut down: allow 20 s, still bounded.
  for _ in $(seq 200); do _alive "$HUB_PID" || break; sleep 0.1; done
  _alive "$HUB_PID" && fail "the hub did not stop on TERM"
  HUB_PID=
}

# Polls the hub's output for a fixed text, at most SECONDS (default 5).
wait_for_log() {
  local text=$1 tries=$((${2:-5} * 10)) _
  for _ in $(seq "$tries"); do
    hub_log | grep -qF -- "$text" && return 0
    sleep 0.1
  done
  return 1
}

log_count() { hub_log | grep -cF -- "$1"; }

remote_as() {
  user_vars "$1"
  shift
  in_client env "${USER_ENV[@]}" "$REMOTE" "$@" >"$WORK/out" 2>"$WORK/err"
  RC=$?
  OUT=$(cat "$WORK/out")
  ERR=$(cat "$WORK/err")
}

remote() { remote_as client "$@"; }

# Discovery of CLASS, tried again while a hub just started (under Wine: seconds) comes up;
# fails the test after 30 tries. Leaves RC, OUT and ERR of the last try.
discover_until_offered() {
  local _
  for _ in $(seq 30); do
    remote --timeout 700 discover "$1"
    [ "$RC" -eq 0 ] && return 0
  done
  fail "no hub offered $1 within 30 tries"
}

# In the background, for a conversation that needs the hub's user: remote_finish collects it.
remote_begin() {
  user_vars "$1"
  shift
  in_client env "${USER_ENV[@]}" "$REMOTE" "$@" >"$WORK/out" 2>"$WORK/err" &
  _remote_pid=$!
  netns_track "$_remote_pid"
}

remote_finish() {
  wait "$_remote_pid"
  RC=$?
  OUT=$(cat "$WORK/out")
  ERR=$(cat "$WORK/err")
}

fail() {
  echo "FAIL: $*"
  echo "--- client status ${RC:-}, stdout:"; echo "${OUT:-}"
  echo "--- client stderr:"; echo "${ERR:-}"
  echo "--- hub output:"; hub_log 2>/dev/null | tail -40
  # A sanitizer's report starts far above the last lines.
  if hub_log 2>/dev/null | grep -q -E "^(WARNING: ThreadSanitizer|==[0-9]+==ERROR: )"; then
    echo "--- the sanitizer's report:"
    hub_log | grep -m1 -A60 -E "^(WARNING: ThreadSanitizer|==[0-9]+==ERROR: )"
  fi
  exit 1
}

pass() { echo "ok: $*"; }

expect_status() { [ "$RC" -eq "$1" ] || fail "$2: status $RC, wanted $1"; }
expect_out_line() { grep -qxF -- "$1" <<<"$OUT" || fail "$2: no line '$1' on stdout"; }
expect_err() { grep -qF -- "$1" <<<"$ERR" || fail "$2: no '$1' on stderr"; }
expect_log() { wait_for_log "$1" 5 || fail "$2: the hub did not log '$1'"; }
