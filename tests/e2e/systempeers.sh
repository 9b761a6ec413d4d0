# shellcheck shell=bash
# The desktop the system service drives on the hub host: a PulseAudio server with a null sink,
# an X server with jwm, and xev's window in front, recording what it gets.
# Sourced after hubhost.sh, used after e2e_start.
#   peers_skip_unless_installed   skip (77) without the programs
#   peers_up              start them on the hub host; PEER_ENV: DISPLAY and PULSE_SERVER for clients
#   in_peers CMD...       a client program of theirs (pactl, xprop) on the hub host
#   sink_percent          the null sink's volume in percent
#   active_window         the window jwm has in front (hex), empty when none
#   window_maximised ID   whether jwm says the window is maximised both ways
#   xev_log               what xev's window has received

PEER_ENV=()

peers_skip_unless_installed() {
  local program
  for program in pulseaudio pactl Xvfb jwm xev xprop; do
    command -v "$program" >/dev/null || e2e_skip "$program is not installed (scripts/setup)"
  done
}

in_peers() { timeout 10 ip netns exec "$HUB_NS" env "${PEER_ENV[@]}" "$@"; }

# Polls CMD (a shell function or program) until it succeeds, at most SECONDS.
wait_until() {
  local seconds=$1 _
  shift
  for _ in $(seq $((seconds * 10))); do
    "$@" && return 0
    sleep 0.1
  done
  return 1
}

_pulse_up() { in_peers pactl info >/dev/null 2>&1; }
_wm_up() { in_peers xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q "window id"; }
_xev_in_front() { [ -n "$(active_window)" ]; }

peers_up() {
  local peers=$WORK/peers
  mkdir -p "$peers/runtime" "$peers/home"
  chmod 700 "$peers/runtime"
  # Anonymous access: the hub runs as a user of its own, without the server's cookie.
  in_hub env -u DISPLAY XDG_RUNTIME_DIR="$peers/runtime" HOME="$peers/home" \
    pulseaudio -n --daemonize=no --exit-idle-time=-1 --disallow-exit \
    -L "module-null-sink sink_name=tolvanu_e2e" \
    -L "module-native-protocol-unix auth-anonymous=1 socket=$peers/pulse.sock" >"$peers/pulse.log" 2>&1 &
  netns_track $!
  PEER_ENV=("PULSE_SERVER=unix:$peers/pulse.sock")
  wait_until 10 _pulse_up || fail "PulseAudio did not start: $(tail -5 "$peers/pulse.log")"
  in_peers pactl set-default-sink tolvanu_e2e

  in_hub Xvfb -displayfd 9 -screen 0 1024x768x24 -nolisten tcp -noreset 9>"$peers/display" >"$peers/x.log" 2>&1 &
  netns_track $!
  wait_until 10 grep -q . "$peers/display" || fail "Xvfb did not start: $(tail -5 "$peers/x.log")"
  PEER_ENV+=("DISPLAY=:$(head -n 1 "$peers/display")")
  ip netns exec "$HUB_NS" env "${PEER_ENV[@]}" HOME="$peers/home" jwm >"$peers/jwm.log" 2>&1 &
  netns_track $!
  wait_until 20 _wm_up || fail "jwm did not start"
  # Covers the screen, so the pointer is over it and it has the focus.
  ip netns exec "$HUB_NS" env "${PEER_ENV[@]}" xev -geometry 1024x768+0+0 -name tolvanu-target \
    -event keyboard -event button -event mouse >"$peers/xev.log" 2>&1 &
  netns_track $!
  wait_until 10 _xev_in_front || fail "jwm did not put xev's window in front"
}

sink_percent() { in_peers pactl get-sink-volume tolvanu_e2e | grep -o '[0-9]*%' | head -n 1 | tr -d %; }

active_window() { in_peers xprop -root _NET_ACTIVE_WINDOW 2>/dev/null | grep -o '0x[0-9a-f]*[1-9a-f][0-9a-f]*' | head -n 1; }

window_maximised() {
  local state
  state=$(in_peers xprop -id "$1" _NET_WM_STATE 2>/dev/null)
  grep -q _NET_WM_STATE_MAXIMIZED_VERT <<<"$state" && grep -q _NET_WM_STATE_MAXIMIZED_HORZ <<<"$state"
}

xev_log() { cat "$WORK/peers/xev.log"; }
