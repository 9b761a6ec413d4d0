#!/usr/bin/env bash
# The Windows installer under Wine, silently, in a fresh prefix on the hub host: the files, the
# Start-menu entry and the uninstall entry land where expected, installer and uninstaller carry
# 1.1.3.0; the installed Tolvanu.exe loads its plug-ins and a client on the other host finds it;
# the Run value is written only when chosen and equals the program's own; the Winamp component
# goes into a Winamp folder that is found; the uninstaller removes files, Run value and
# component, and keeps the settings unless asked.
#   installer.sh SETUP.exe NATIVE_REMOTE WINE_RUN
# shellcheck source-path=SCRIPTDIR
set -u
here=$(cd "$(dirname "$0")" && pwd)
source "$here/../e2e/netns.sh"
source "$here/../e2e/hubhost.sh"
setup=$(realpath "${1:?usage: installer.sh SETUP.exe NATIVE_REMOTE WINE_RUN}")
REMOTE=$2
WINE_RUN=$3
[ -x "$REMOTE" ] || e2e_skip "no native client at $REMOTE"
command -v wine >/dev/null || e2e_skip "wine is not installed"
if [[ $(file -b "$setup") == PE32\ executable* ]] && ! "$here/../../scripts/runs-32bit"; then
  e2e_skip "a 32-bit installer cannot run on this machine (no 32-bit execution)"
fi

e2e_start
prefix=$WORK/wineprefix
on_hub_host() {
  user_vars hub
  in_hub env -u DISPLAY -u WAYLAND_DISPLAY TOLVANU_ISOLATED=1 "${USER_ENV[@]}" "$WINE_RUN" --prefix "$prefix" "$@"
}
# Wine without wine-run, whose every start runs wineboot, which starts what the Run value names.
wine_direct() {
  local loader=wine
  [[ $(file -b "$setup") == PE32+* ]] && loader=/usr/lib/wine/wine64
  user_vars hub
  in_hub env -u DISPLAY WINEPREFIX="$prefix" WINELOADER="$(command -v $loader)" WINEDEBUG=-all \
    "${USER_ENV[@]}" "$loader" "$@"
}
# The data of a registry value (empty when there is none); its type in REG_TYPE.
reg_value() {
  local line
  line=$(wine_direct reg query "$1" /v "$2" 2>/dev/null | tr -d '\r' | grep -E "^ +$2 +REG_")
  REG_TYPE=$(awk '{ print $2 }' <<<"$line")
  sed -E "s/^ +$2 +REG_[A-Z_]+ +//" <<<"$line"
}
RUN='HKCU\Software\Microsoft\Windows\CurrentVersion\Run'
UNINST='HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\Tolvanu'
SETTINGS='HKCU\Software\Tessary\Tolvanu'

# The four parts of a PE file's fixed version (VS_FIXEDFILEINFO), "a.b.c.d".
pe_version() {
  local at
  at=$(LC_ALL=C grep -obUaP '\xbd\x04\xef\xfe' "$1" | head -1 | cut -d: -f1)
  [ -n "$at" ] || return 1
  od -An -t u2 -j $((at + 8)) -N 8 "$1" | awk '{ print $2 "." $1 "." $4 "." $3 }'
}

# Waits (bounded) until no installer or uninstaller process is left in the prefix.
setup_done() {
  local _
  local _ pid busy
  for _ in $(seq 300); do
    busy=
    for pid in $(ip netns pids "$HUB_NS"); do
      { tr '\0' ' ' <"/proc/$pid/cmdline"; } 2>/dev/null | grep -qE "[\\/]Un(_[A-Z])?\.exe|Au_\.exe|Uninstall\.exe|$(basename "$setup")" && busy=1
    done
    [ -z "$busy" ] && return 0
    sleep 0.1
  done
  fail "the installer or uninstaller did not end within 30 s"
}

on_hub_host --up "$setup" || fail "the Wine prefix did not come up on the hub host"
netns_on_exit 'on_hub_host --down'
users=$prefix/drive_c/users
user=$(ls "$users" | grep -v -x Public | head -1)
instdir=$users/$user/AppData/Local/Programs/Tolvanu
startmenu="$users/$user/AppData/Roaming/Microsoft/Windows/Start Menu/Programs/Tolvanu"
[ "$(pe_version "$setup")" = 1.1.3.0 ] || fail "the installer carries version '$(pe_version "$setup")'"

on_hub_host "$setup" /S >"$WORK/setup.out" 2>&1 || fail "the installer failed: $(cat "$WORK/setup.out")"
setup_done
for file in Tolvanu.exe Tolvanu_VLC.dll Tolvanu_system.dll Tolvanu_Winamp.dll Tolvanu_WMP12.dll Tolvanu_iTunes.dll README.txt \
  winamp/Cordavelle_winamp.w5s winamp/README.txt Uninstall.exe; do
  [ -f "$instdir/$file" ] || fail "not installed: $file"
done
[ -f "$startmenu/Tolvanu.lnk" ] || fail "no Start-menu entry"
version=$(reg_value "$UNINST" DisplayVersion)
[ "$version" = 1.1.3.0 ] || fail "uninstall entry of version '$version', wanted 1.1.3.0"
[ "$(pe_version "$instdir/Uninstall.exe")" = 1.1.3.0 ] || fail "the uninstaller carries version '$(pe_version "$instdir/Uninstall.exe")'"
[ -z "$(reg_value "$RUN" Tolvanu)" ] || fail "a Run value was written though not chosen"
pass "silent install: files in the user's programs folder, Start menu, uninstall entry, no Run value"

on_hub_host reg add "$SETTINGS" /v security /t REG_DWORD /d 0 /f >/dev/null 2>&1 || fail "cannot write the level"
on_hub_host "$instdir/Tolvanu.exe" </dev/null >"$WORK/hub.log" 2>&1 &
netns_track $!
discover_until_offered system
expect_out_line "$HUB_ADDR system" "discover system"
remote --timeout 1500 discover media
expect_status 0 "discover media"
expect_out_line "$HUB_ADDR media" "discover media"
pass "the installed Tolvanu.exe loads its plug-ins and a client on the other host finds it"
on_hub_host --down
on_hub_host --up "$setup" || fail "the Wine prefix did not come up again"

on_hub_host "$instdir/Uninstall.exe" /S >/dev/null 2>&1
setup_done
[ ! -e "$instdir" ] || fail "the uninstaller left $(cd "$instdir" && find . -type f)"
[ ! -e "$startmenu" ] || fail "the uninstaller left the Start-menu entry"
[ -z "$(reg_value "$UNINST" DisplayVersion)" ] || fail "the uninstaller left its uninstall entry"
[ -n "$(reg_value "$SETTINGS" security)" ] || fail "the uninstaller removed the settings unasked"
pass "uninstall removes the files and entries, keeps the settings"

# Second round: start with Windows chosen, Winamp where its registry value says.
mkdir -p "$prefix/drive_c/Winamp"
: >"$prefix/drive_c/Winamp/winamp.exe"
on_hub_host reg add 'HKCU\Software\Winamp' /ve /d 'C:\Winamp' /f >/dev/null 2>&1 || fail "cannot fake Winamp"
wine_direct "$setup" /S /AUTOSTART=1 >/dev/null 2>&1 || fail "the installer failed with /AUTOSTART=1"
setup_done
reg_value "$RUN" Tolvanu >"$WORK/run"
run=$(cat "$WORK/run")
program="C:\\users\\$user\\AppData\\Local\\Programs\\Tolvanu\\Tolvanu.exe"
# What the program's own autostart item writes: its module path, unquoted, as REG_SZ.
[ "$run" = "$program" ] && [ "$REG_TYPE" = REG_SZ ] || fail "Run value '$run' ($REG_TYPE), wanted '$program'"
cmp -s "$prefix/drive_c/Winamp/System/Cordavelle_winamp.w5s" "$instdir/winamp/Cordavelle_winamp.w5s" ||
  fail "the component was not copied into Winamp's System folder"
pass "with /AUTOSTART=1 the Run value names the program; the component lands in Winamp's folder"

# A running hub holds its files: the uninstaller has to stop it first.
wine_direct "$instdir/Tolvanu.exe" </dev/null >"$WORK/hub2.log" 2>&1 &
netns_track $!
discover_until_offered system
wine_direct "$instdir/Uninstall.exe" /S /REMOVESETTINGS=1 >/dev/null 2>&1
setup_done
[ ! -e "$instdir" ] || fail "the uninstaller left $(cd "$instdir" && find . -type f) $(for p in $(ip netns pids "$HUB_NS"); do tr "\0" " " </proc/$p/cmdline; echo; done)"
[ -z "$(reg_value "$RUN" Tolvanu)" ] || fail "the uninstaller left the Run value"
[ ! -e "$prefix/drive_c/Winamp/System/Cordavelle_winamp.w5s" ] || fail "the uninstaller left the component in Winamp"
[ -z "$(reg_value "$SETTINGS" security)" ] || fail "asked to, the uninstaller kept the settings"
pass "uninstall removes the Run value and the component; asked to, the settings too"
