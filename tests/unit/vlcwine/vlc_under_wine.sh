#!/usr/bin/env bash
# The Windows build of the VLC plug-in under Wine against Debian's VLC, in a network of its own:
#   vlc_under_wine.sh SCRIPTS_DIR WINE_PREFIX TEST_PROGRAM
# The plug-in prepares vlcrc in the prefix's profile; VLC (a Linux program, which keeps its own
# configuration) is started on the port found there. Exits 77 when it cannot run here.
set -uo pipefail
scripts=$1 prefix=$2 program=$3
client=10.77.7.7

skip() { echo "vlc_under_wine: skipped: $*"; exit 77; }
[ "$(id -u)" -eq 0 ] || skip "needs root (a network namespace, VLC's user)"
[ -x /usr/bin/cvlc ] || skip "cvlc is not installed"
command -v sox >/dev/null || skip "sox is not installed"
id tolvanu-vlc >/dev/null 2>&1 || skip "no user tolvanu-vlc (scripts/setup creates it)"

if [ -z "${TOLVANU_VLCWINE_NET:-}" ]; then
  # Whatever Wine serves of this prefix elsewhere must end: its sockets would live there.
  "$scripts/wine-run" --prefix "$prefix" --down
  exec env TOLVANU_VLCWINE_NET=1 unshare --net -- "$0" "$@"
fi

# The client's address sits on loopback: routed here, but no adapter of Wine's.
ip link set lo up && ip addr add "$client/32" dev lo || exit 1
export TOLVANU_ISOLATED=1  # wine-run's server stays in this network
work=$(mktemp -d /tmp/tolvanu-vlcwine-XXXXXX)
chmod 755 "$work"
vlc=
finish() {
  [ -n "$vlc" ] && kill "$vlc" 2>/dev/null && wait "$vlc" 2>/dev/null
  "$scripts/wine-run" --prefix "$prefix" --down
  rm -rf "$work"
}
trap finish EXIT
run() { env TOLVANU_VLCWINE_CLIENT="$client" "$scripts/wine-run" --prefix "$prefix" "$program" "$@"; }

for tune in "alpha.flac Alpha 20 440" "bravo.flac Bravo 25 550" "charlie.flac Charlie 30 660"; do
  set -- $tune
  sox -n -r 8000 --comment "TITLE=$2 Tone" "$work/$1" synth "$3" sine "$4" || exit 1
done
chmod 644 "$work"/*.flac
mkdir -p "$work/home/.config"
printf 'pcm.!default { type null }\n' >"$work/home/.asoundrc"
chown -R tolvanu-vlc "$work/home"

run --gtest_filter='WineVlcPrepare.*' || exit 1
vlcrc=$(find "$prefix/drive_c/users" -path '*/vlc/vlcrc' | head -n 1)
port=$(grep -a '^rc-host=' "$vlcrc" | head -n 1 | sed 's/.*://; s/\r//')
[ -n "$port" ] || { echo "vlc_under_wine: no port in $vlcrc"; exit 1; }

runuser -u tolvanu-vlc -- env HOME="$work/home" XDG_CONFIG_HOME="$work/home/.config" \
  cvlc --aout alsa --vout dummy --extraintf oldrc --rc-host "localhost:$port" --rc-fake-tty \
  --control luaintf --lua-intf cli --lua-config "cli={host='127.0.0.1:4213'}" \
  "$work/alpha.flac" "$work/bravo.flac" "$work/charlie.flac" >"$work/vlc.log" 2>&1 &
vlc=$!

run --gtest_filter='WineVlc.*'
status=$?
[ $status -eq 0 ] || { echo "--- VLC's output"; tail -n 20 "$work/vlc.log"; }
exit $status
