#!/usr/bin/env bash
# Tolvanu.exe with Tolvanu_Winamp.dll under Wine on the hub host, beside the stand-in Winamp
# with the component loaded into it; the native client on the client host finds "media", is
# handed 6635, and drives the component directly: play list, volume, shuffle, rating. The
# stand-in's own state is checked too; after "media.close" the reports go to broadcast.
#   winamp_wine.sh TOLVANU_EXE WINAMP_DLL STANDIN_EXE COMPONENT NATIVE_REMOTE WINE_RUN
# shellcheck source-path=SCRIPTDIR
set -u
here=$(cd "$(dirname "$0")" && pwd)
source "$here/netns.sh"
source "$here/hubhost.sh"
source "$here/winehub.sh"
REMOTE=$5
WINE_RUN=$6
[ -x "$REMOTE" ] || e2e_skip "no native client at $REMOTE (build the native preset first)"
command -v wine >/dev/null || e2e_skip "wine is not installed"
command -v perl >/dev/null || e2e_skip "perl is not installed (the broadcast listener)"
for file in "$3" "$4"; do [ -f "$file" ] || e2e_skip "not built: $file"; done

e2e_start
hub_prepare "$1" "$2"
wine_hub_up "$1"

# Entries 3 and 9 match "beat". Reports carry one byte per character: entry 6's characters
# beyond 255 reach the client as '?'.
titles=("Opening Theme" "Rain on the Roof" "Quiet Hours" "Heartbeat Avenue" "Slow River" "Northern Lights"
  "Paper Boats 日本" "Evening Tide" "Last Train Home" "Offbeat Waltz")
printf '%s\n' "${titles[@]}" >"$WORK/titles.txt"
sent_titles=("${titles[@]}")
sent_titles[6]="Paper Boats ??"

: >"$WORK/standin.log"
on_hub_host "$3" "$(windows_path "$4")" --titles "$(windows_path "$WORK/titles.txt")" --seconds 600 \
  --quit-on "$(windows_path "$WORK/quit")" \
  </dev/null >"$WORK/standin.log" 2>&1 &
standin_pid=$!
netns_track "$standin_pid"
# Its lines end in CR LF.
standin_log() { tr -d '\r' <"$WORK/standin.log"; }
# The stand-in's latest state line.
# Prints "SENDER TEXT" for each datagram to 255.255.255.255:6635 on the client host, until one
# matches the perl regex REGEX or 15 s have passed.
broadcast_listen() {
  # shellcheck disable=SC2016  # the variables are perl's
  in_client perl -e '
    use strict; use Socket;
    my $stop = shift;
    socket(my $s, PF_INET, SOCK_DGRAM, 0) or die "socket: $!";
    setsockopt($s, SOL_SOCKET, SO_REUSEADDR, 1);
    bind($s, pack_sockaddr_in(6635, inet_aton("255.255.255.255"))) or die "bind: $!";
    print STDERR "listening\n";
    my $bits = ""; vec($bits, fileno($s), 1) = 1;
    my $end = time + 15;
    while (time < $end) {
      my $ready = $bits;
      next unless select($ready, undef, undef, 0.2);
      my $from = recv($s, my $text, 65536, 0) or next;
      $text =~ s/\0.*//s;
      print inet_ntoa((unpack_sockaddr_in($from))[1]), " $text\n";
      last if $text =~ /$stop/;
    }' "$1"
}
standin_state() { standin_log | grep '^state ' | tail -n 1; }
wait_for_state() {
  local _
  for _ in $(seq 150); do [ "$(standin_state)" = "$1" ] && return 0; sleep 0.1; done
  return 1
}
for _ in $(seq 300); do standin_log | grep -qx ready && break; sleep 0.1; done
standin_log | grep -qx ready || fail "the stand-in's component did not start listening: $(standin_log)"
[ "$(standin_state)" = "state play=0 track=0 volume=255 shuffle=0 repeat=0 ratings=" ] ||
  fail "the stand-in did not start as set up: $(standin_log)"
pass "the stand-in Winamp loaded the component, which listens"

on_hub_host "$WORK/hub/$(basename "$1")" </dev/null >"$WORK/hub.log" 2>&1 &
netns_track $!
discover_until_offered media
expect_out_line "$HUB_ADDR media" "discover media"
remote open media
expect_status 0 "open media"
[ "$OUT" = 6635 ] || fail "open media: handed '$OUT', wanted 6635"
pass "the hub offers media and hands the client port 6635"

# Datagrams are handled in order; the close waits --wait for the last reports.
remote --wait 1500 session media <<'LINES'
media.init
media.get_list 1
media.set_track 2
media.set_volume 50
media.set_shuffle -1
media.set_rating 60
media.search beat
LINES
expect_status 0 "session"
grep -qE '^media\.app .+:Winamp$' <<<"$OUT" || fail "media.init: no 'media.app NAME:Winamp'"
listed=$(sed -n '/^media\.list_start$/,/^media\.list_end$/p' <<<"$OUT" | sed -n 's/^media\.list_title //p')
[ "$listed" = "$(printf '%s\n' "${sent_titles[@]}")" ] || fail "the list report is not the play list in order: $listed"
expect_out_line "media.track 2" "set_track 2"
expect_out_line "media.title ${titles[2]}" "set_track 2"
expect_out_line "media.volume 49.80" "set_volume 50"
expect_out_line "media.shuffle 1" "set_shuffle -1"
expect_out_line "media.rating 60" "set_rating 60"
# Entry 2 playing: the first match after it.
expect_out_line "media.track 3" "search beat"
expect_out_line "media.title ${titles[3]}" "search beat"
expect_out_line "media.speed 1.0" "set_track presses play"
wait_for_state "state play=1 track=3 volume=127 shuffle=1 repeat=0 ratings=2:3" ||
  fail "the stand-in's state after the session: $(standin_state)"
pass "play list, track, volume, shuffle, rating and search reach the stand-in and come back as reports"

remote --wait 1500 session media <<'LINES'
media.search beat
media.add_volume -10
media.set_shuffle -1
media.inc_rating
media.get_shortlist 3
LINES
expect_status 0 "second session"
# Entry 3 playing: 9 is the next match.
expect_out_line "media.track 9" "search beat from entry 3"
expect_out_line "media.volume 40.00" "add_volume -10"
expect_out_line "media.shuffle 0" "set_shuffle -1 again"
expect_out_line "media.rating 20" "inc_rating on an unrated entry"
expect_out_line "media.shortlist 7 ${titles[7]}"$'\t'"${titles[8]}"$'\t'"${titles[9]}"$'\t' "get_shortlist 3"
wait_for_state "state play=1 track=9 volume=102 shuffle=0 repeat=0 ratings=2:3,9:1" ||
  fail "the stand-in's state after the second session: $(standin_state)"
pass "search moves on from the current entry; volume, shuffle and rating change again"

# The stand-in plays on, so its position changes at every poll; after "media.close" those
# reports go to 255.255.255.255 and reach a socket that takes only broadcasts.
remote --wait 300 send media media.close
expect_status 0 "send media.close"
broadcast_listen '^media\.pos ' >"$WORK/broadcast.log" 2>&1
grep -qE "^$HUB_ADDR media\.pos [0-9.]+ " "$WORK/broadcast.log" ||
  fail "no position report reached the broadcast address after close: $(cat "$WORK/broadcast.log")"
pass "after media.close the reports go to broadcast"

# Winamp quits: the component deregisters, says "media.close" (to broadcast, the session being
# closed) and frees its port.
broadcast_listen '^media\.close$' >"$WORK/closing.log" 2>&1 &
listener=$!
for _ in $(seq 100); do grep -q listening "$WORK/closing.log" && break; sleep 0.1; done
touch "$WORK/quit"
for _ in $(seq 100); do kill -0 "$standin_pid" 2>/dev/null || break; sleep 0.1; done
standin_log | grep -qx closed || fail "the component did not close its port when Winamp quit: $(standin_log)"
wait "$listener"
grep -qx "$HUB_ADDR media.close" "$WORK/closing.log" ||
  fail "no \"media.close\" reached the client host when Winamp quit: $(cat "$WORK/closing.log")"
# The hub still offers the class (it never asks the plug-in's search), but connect finds no Winamp.
remote --timeout 1500 open media
expect_status 3 "open media without Winamp"
pass "once Winamp has quit, its component's port is closed and the hub opens no session for media"
