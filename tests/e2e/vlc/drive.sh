# shellcheck shell=bash
# The conversation that the native hub and the Windows hub under Wine must both carry: the
# client on the other host drives the VLC on the hub host. Each step is checked twice: by the
# report the client gets, and by what VLC itself says it is doing.
# Sourced after vlchost.sh and session.sh; VLC plays the tunes of TUNES, the hub is up.
#   drive_vlc COMPUTER_NAME      the name the hub's system gives, as "media.app" carries it

# Three tunes of distinct titles and lengths, long enough that none ends during the test.
TUNES=("alpha.flac|Alpha Tone|60|440" "bravo.flac|Bravo Tone|75|550" "charlie.flac|Charlie Tone|90|660")

# The titles of the last full list in the reports since the last say.
_last_list() {
  reports_since_say | awk '/^media\.list_start$/ { on = 1; n = 0; next }
    /^media\.list_end$/ && on { on = 0; text = ""; for (i = 1; i <= n; i++) text = text entry[i] "\n"; last = text; next }
    on && sub(/^media\.list_title /, "") { entry[++n] = $0 }
    END { printf "%s", last }'
}

# One command that pauses or plays: its report, and VLC's own state.
_speed_step() {
  say "$1"
  expect_report "$2"
  vlc_shows status "( state $3 )" || session_fail "VLC is not $3 after $1: its status [$(vlc_ask status)]"
}

drive_vlc() {
  local name=$1 title seconds

  session_begin media
  # The address the client knows the hub by is one of the hub's own: it answers.
  say "media.init $HUB_ADDR"
  expect_report "media.app $name:VLC"
  pass "media.init with the hub's address gets \"media.app $name:VLC\""

  say "media.get_complete"
  expect_report "media.speed 1.0"
  expect_report "media.title Alpha Tone"
  # The dump first sends the list as remembered (empty at first), then the one VLC gave.
  for _ in $(seq 50); do
    [ "$(_last_list)" = $'Alpha Tone\nBravo Tone\nCharlie Tone' ] && break
    sleep 0.1
  done
  [ "$(_last_list)" = $'Alpha Tone\nBravo Tone\nCharlie Tone' ] ||
    session_fail "no full list of VLC's play list in order: $(_last_list | tr '\n' '|')"
  await_report '^media\.pos [0-9.]+ [0-9]+:[0-9]{2} 1:00 -' 5 >/dev/null ||
    session_fail "no position report with Alpha's length 1:00"
  pass "media.get_complete: playing, Alpha Tone, the three titles in order, the position"

  # "media.play" is a play key: while VLC plays, it pauses.
  _speed_step media.pause "media.speed 0.0" paused
  _speed_step media.play "media.speed 1.0" playing
  _speed_step media.play "media.speed 0.0" paused
  _speed_step media.play "media.speed 1.0" playing
  pass "media.pause, media.play (a toggle): VLC pauses and plays, the speed reports follow"

  # Two steps, so that 50 is a change whatever volume VLC started with. VLC's scale has 256
  # where the client's has 50.
  say "media.set_volume 25"
  expect_report "media.volume 25.00"
  vlc_says volume 128 || session_fail "VLC's volume is not 128 after 25 %: $(vlc_ask volume)"
  say "media.set_volume 50"
  expect_report "media.volume 50.00"
  vlc_says volume 256 || session_fail "VLC's volume is not 256 after 50 %: $(vlc_ask volume)"
  pass "media.set_volume 50: VLC's volume 256, \"media.volume 50.00\""

  say media.next
  expect_report "media.title Bravo Tone"
  vlc_says get_title "Bravo Tone" || session_fail "VLC does not play Bravo Tone: $(vlc_ask get_title)"
  # The new length must be known before a jump to a share of it can be made.
  await_report '^media\.pos [0-9.]+ [0-9]+:[0-9]{2} 1:15 -' 5 >/dev/null ||
    session_fail "no position report with Bravo's length 1:15"
  pass "media.next: VLC plays Bravo Tone, its title and length reported"

  say "media.set_pos 50"
  expect_report "media.pos 50.00 0:37 1:15 -0:38"
  for _ in $(seq 15); do
    seconds=$(vlc_ask get_time)
    [[ $seconds =~ ^[0-9]+$ ]] && [ "$seconds" -ge 37 ] && [ "$seconds" -lt 60 ] && break
    sleep 0.2
  done
  [[ $seconds =~ ^[0-9]+$ ]] && [ "$seconds" -ge 37 ] && [ "$seconds" -lt 60 ] ||
    session_fail "VLC is at '$seconds' s, not half-way through Bravo Tone"
  pass "media.set_pos 50: VLC at $seconds s of 75, \"media.pos 50.00 0:37 1:15 -0:38\""

  say "media.set_track 0"
  title=
  # VLC 3 stops the old track first and starts the new one a moment later.
  for _ in $(seq 100); do
    # While VLC switches it has no title: an empty one is no new title.
    title=$(reports_since_say | awk 'sub(/^media\.title /, "") && $0 != "" && $0 != "Bravo Tone" { print; exit }')
    [ -n "$title" ] && break
    sleep 0.1
  done
  [ -n "$title" ] || session_fail "no new title after media.set_track 0"
  vlc_says get_title "$title" || session_fail "VLC plays '$(vlc_ask get_title)', the client was told '$title'"
  pass "media.set_track 0: VLC plays $title, as reported"

  say "media.set_shuffle -1"
  expect_report "media.shuffle 1"
  if vlc_has_mpris; then
    [ "$(vlc_shuffle)" = true ] || session_fail "VLC's own status says shuffle is '$(vlc_shuffle)'"
    pass "media.set_shuffle -1: VLC shuffles (its MPRIS status), \"media.shuffle 1\""
  else
    pass "media.set_shuffle -1: \"media.shuffle 1\" (no D-Bus here: VLC's own status not read)"
  fi

  session_end
  expect_status 0 "the session"
  expect_out_line "media.close" "the session's end"
  _alive "$VLC_PID" || fail "VLC ended with the session"
  pass "end of input closes the session: \"media.close\", VLC plays on"
}
