#!/usr/bin/env bash
# The tray and console painting tests where a notification area exists: Xvfb and Wine's
# virtual desktop, in a prefix of their own without the null display driver (which has none).
#   tray_desktop_wine.sh TEST_HUB_EXE WINE_RUN PREFIX
# Skips (77) without Xvfb.
set -u
test_hub=$1
wine_run=$2
prefix=$3
command -v Xvfb >/dev/null || { echo "SKIP: Xvfb is not installed"; exit 77; }

display=
for n in $(seq 70 130); do
  if [ ! -e "/tmp/.X$n-lock" ] && [ ! -e "/tmp/.X11-unix/X$n" ]; then display=$n; break; fi
done
[ -n "$display" ] || { echo "SKIP: no free X display number"; exit 77; }
Xvfb ":$display" -screen 0 1024x768x24 -nolisten tcp </dev/null >/dev/null 2>&1 &
xvfb=$!
cleanup() {
  "$wine_run" --prefix "$prefix" --down
  kill "$xvfb" 2>/dev/null
  wait "$xvfb" 2>/dev/null
}
trap cleanup EXIT
for _ in $(seq 100); do
  [ -S "/tmp/.X11-unix/X$display" ] && break
  kill -0 "$xvfb" 2>/dev/null || { echo "FAIL: Xvfb did not start"; exit 1; }
  sleep 0.1
done
[ -S "/tmp/.X11-unix/X$display" ] || { echo "FAIL: Xvfb did not come up in 10 s"; exit 1; }
export DISPLAY=:$display

# The prefix is made with the null driver; the desktop settings take effect from the next server.
"$wine_run" --prefix "$prefix" --up "$test_hub" || { echo "FAIL: the Wine prefix did not come up"; exit 1; }
"$wine_run" --prefix "$prefix" reg delete 'HKCU\Software\Wine\Drivers' /v Graphics /f >/dev/null 2>&1
"$wine_run" --prefix "$prefix" reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d Default /f >/dev/null 2>&1 &&
  "$wine_run" --prefix "$prefix" reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Default /d 1024x768 /f \
    >/dev/null 2>&1 || { echo "FAIL: the virtual desktop could not be set"; exit 1; }
"$wine_run" --prefix "$prefix" --down
"$wine_run" --prefix "$prefix" --up "$test_hub" || { echo "FAIL: the Wine prefix did not come up again"; exit 1; }

# Pictures of the console and the menu, as test artefacts beside the prefix.
shots=$(dirname "$prefix")/screenshots
rm -rf "$shots" && mkdir -p "$shots"
TOLVANU_TRAY_DESKTOP=1 TOLVANU_SCREENSHOTS="Z:${shots//\//\\}" \
  "$wine_run" --prefix "$prefix" "$test_hub" --gtest_filter='Tray*:ConsolePaint*' </dev/null
status=$?
for picture in "$shots"/*.bmp; do
  [ -f "$picture" ] && python3 "$(dirname "$0")/bmp2png.py" "$picture" && rm -f "$picture"
done
exit $status
