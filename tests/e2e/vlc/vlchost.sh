# shellcheck shell=bash
# Debian's VLC as the peer on the hub host, run as the unprivileged user VLC insists on, and
# two windows into what VLC really does: its Lua console and, for shuffle (which the console
# cannot show), its MPRIS status on a private D-Bus.
# Sourced after netns.sh and hubhost.sh, once e2e_start has made WORK.
#   vlc_check_tools            skip (77) without cvlc, sox, setpriv or VLC's user
#   vlc_prepare CONFIG_HOME    VLC's home (WORK/vlc) and the folder it reads vlc/vlcrc from
#   vlc_make_tunes SPEC...     tagged tunes in WORK/tunes, SPEC "file|title|seconds|hertz"
#   vlc_write_default_config   VLC writes its default vlcrc, as on a first start
#   vlc_start ARGS...          VLC playing the tunes, with ARGS; VLC_PID
#   vlc_wait_ready TITLE       until VLC's play list holds TITLE
#   vlc_ask COMMAND            one question to the console; the answer on stdout
#   vlc_says COMMAND ANSWER, vlc_shows COMMAND PART   poll the console for 3 s
#   vlc_has_mpris              whether D-Bus is here to read VLC's MPRIS status
#   vlc_shuffle                "true" or "false" as VLC's MPRIS status says
#   vlc_log                    VLC's output so far
#   vlc_watchdog SECONDS       the test ends itself, cleaning up, before ctest would kill it

VLC_USER=tolvanu-vlc
VLC_CONSOLE_PORT=4213
VLC_HOME=
VLC_CONFIG=
VLC_PID=
VLC_TUNES=()

vlc_check_tools() {
  [ -x /usr/bin/cvlc ] || e2e_skip "cvlc is not installed (vlc-bin, vlc-plugin-base)"
  command -v sox >/dev/null || e2e_skip "sox is not installed"
  command -v setpriv >/dev/null || e2e_skip "setpriv is not installed (util-linux)"
  id "$VLC_USER" >/dev/null 2>&1 || e2e_skip "no user $VLC_USER (scripts/setup creates it)"
}

vlc_prepare() {
  VLC_HOME=$WORK/vlc
  VLC_CONFIG=$1
  # VLC's user must reach its home, its configuration and the tunes inside the test's folder.
  chmod 755 "$WORK"
  mkdir -p "$VLC_HOME" "$VLC_CONFIG/vlc" "$WORK/tunes"
  printf 'pcm.!default { type null }\n' >"$VLC_HOME/.asoundrc"
  chown -R "$VLC_USER:" "$VLC_HOME" "$VLC_CONFIG/vlc"
  local dir=$VLC_CONFIG
  while [ "$dir" != "$WORK" ] && [ "$dir" != / ]; do
    chmod o+x "$dir"
    dir=$(dirname "$dir")
  done
}

vlc_make_tunes() {
  local tune file title seconds hertz
  for tune in "$@"; do
    IFS='|' read -r file title seconds hertz <<<"$tune"
    sox -n -r 8000 --comment "TITLE=$title" "$WORK/tunes/$file" synth "$seconds" sine "$hertz" ||
      fail "sox could not make $file"
    chmod 644 "$WORK/tunes/$file"
    VLC_TUNES+=("$WORK/tunes/$file")
  done
  chmod 755 "$WORK/tunes"
}

# As VLC's user in the hub host's network, with VLC's environment only.
_as_vlc() {
  in_hub setpriv --reuid="$VLC_USER" --regid="$VLC_USER" --init-groups -- \
    env -i PATH=/usr/bin:/bin LANG=C.UTF-8 HOME="$VLC_HOME" XDG_CONFIG_HOME="$VLC_CONFIG" \
    DBUS_SESSION_BUS_ADDRESS="unix:path=$VLC_HOME/bus" "$@"
}

vlc_write_default_config() {
  _as_vlc timeout 30 cvlc --reset-config vlc://quit >>"$WORK/vlc.log" 2>&1
  [ -s "$VLC_CONFIG/vlc/vlcrc" ] || fail "VLC wrote no vlcrc into $VLC_CONFIG/vlc"
}

vlc_has_mpris() { command -v dbus-daemon >/dev/null && command -v dbus-send >/dev/null; }

_vlc_bus_up() {
  vlc_has_mpris || return 0
  _as_vlc dbus-daemon --session --address="unix:path=$VLC_HOME/bus" --nofork --nopidfile \
    </dev/null >>"$WORK/vlc.log" 2>&1 &
  netns_track $!
  local _
  for _ in $(seq 50); do [ -S "$VLC_HOME/bus" ] && return 0; sleep 0.1; done
  fail "the private D-Bus for VLC did not come up"
}

vlc_start() {
  _vlc_bus_up
  _as_vlc cvlc --aout alsa --vout dummy --control luaintf --lua-intf cli \
    --lua-config "cli={host='127.0.0.1:$VLC_CONSOLE_PORT'}" "$@" "${VLC_TUNES[@]}" \
    </dev/null >>"$WORK/vlc.log" 2>&1 &
  VLC_PID=$!
  netns_track "$VLC_PID"
}

vlc_log() { cat "$WORK/vlc.log" 2>/dev/null; }
session_context() { echo "--- VLC's output:"; vlc_log | tail -20; }

vlc_ask() {
  local text
  # Each answer ends with the next "> " prompt. Sent together with "logout", a command's answer
  # was at times lost: one command, its whole answer, then close.
  text=$(in_hub timeout 4 bash -c 'exec 3<>"/dev/tcp/127.0.0.1/$1" || exit 1
    read -r -d ">" -t 3 greeting <&3 || exit 1
    printf "%s\n" "$2" >&3
    IFS= read -r -d ">" -t 3 answer <&3 || exit 1
    printf "%s" "$answer"' _ "$VLC_CONSOLE_PORT" "$1" 2>/dev/null | tr -d '\r') || return 1
  while [[ $text == [$' \n']* ]]; do text=${text#?}; done
  while [[ $text == *[$' \n'] ]]; do text=${text%?}; done
  printf '%s\n' "$text"
}

vlc_says() {
  local _
  for _ in $(seq 15); do
    [ "$(vlc_ask "$1")" = "$2" ] && return 0
    sleep 0.2
  done
  return 1
}

vlc_shows() {
  local _
  for _ in $(seq 15); do
    vlc_ask "$1" | grep -qF -- "$2" && return 0
    sleep 0.2
  done
  return 1
}

vlc_wait_ready() {
  local _
  for _ in $(seq 100); do
    vlc_ask playlist 2>/dev/null | grep -qF -- "$1" && return 0
    _alive "$VLC_PID" || break
    sleep 0.2
  done
  fail "VLC did not come up with '$1' in its play list; its output: $(vlc_log | tail -20)"
}

vlc_shuffle() {
  _as_vlc dbus-send --session --print-reply --dest=org.mpris.MediaPlayer2.vlc /org/mpris/MediaPlayer2 \
    org.freedesktop.DBus.Properties.Get string:org.mpris.MediaPlayer2.Player string:Shuffle 2>/dev/null |
    awk '$2 == "boolean" { print $3 }'
}

# ctest kills a test that runs out of time without letting it clean up (VLC, namespaces): end
# earlier by TERM, which netns.sh turns into an exit with its clean-up.
vlc_watchdog() {
  local test_pid=$$
  (
    trap 'kill "$timer" 2>/dev/null; exit 0' TERM
    # Away from the test's output, which ctest reads until every holder has closed it.
    sleep "$1" </dev/null >/dev/null 2>&1 &
    timer=$!
    wait "$timer" && echo "FAIL: no result within $1 s" && kill -TERM "$test_pid"
  ) &
  netns_track $!
}
