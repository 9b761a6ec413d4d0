# shellcheck shell=bash
# The hub host under Wine: a prefix of its own on that host (Wine makes its sockets in its
# wineserver, so each host needs one). Sourced after netns.sh and hubhost.sh, once e2e_start ran.
#   WINE_RUN                          scripts/wine-run, set by the test
#   WINE_HUB_ENV                      more assignments for the programs' environment
#   on_hub_host ARGS...               wine-run in the hub host's prefix, as user "hub"
#   windows_path PATH                 PATH as Wine's Z: drive shows it
#   wine_hub_up TOLVANU_EXE           the prefix up (down again at exit), security level 0
#   register_inproc_server CLSID DLL  DLL as CLSID's in-process server, in this prefix only

WINE_HUB_ENV=()

# Each host is a private network already: wine-run must not move the server into another.
on_hub_host() {
  user_vars hub
  in_hub env -u DISPLAY -u WAYLAND_DISPLAY TOLVANU_ISOLATED=1 "${USER_ENV[@]}" "${WINE_HUB_ENV[@]}" \
    "$WINE_RUN" --prefix "$WORK/wineprefix" "$@"
}

windows_path() { echo "Z:${1//\//\\}"; }

wine_hub_up() {
  on_hub_host --up "$1" || fail "the Wine prefix did not come up on the hub host"
  # The prefix's server, and with it every program of the prefix, ends on its host.
  netns_on_exit "on_hub_host --down"
  on_hub_host reg add 'HKCU\SOFTWARE\Tessary\Tolvanu' /v security /t REG_DWORD /d 0 /f >/dev/null 2>&1 ||
    fail "the level could not be written into the Wine registry"
}

register_inproc_server() {
  local key="HKLM\\Software\\Classes\\CLSID\\$1\\InprocServer32"
  if ! on_hub_host reg add "$key" /ve /d "$(windows_path "$2")" /f >/dev/null 2>&1 ||
    ! on_hub_host reg add "$key" /v ThreadingModel /d Both /f >/dev/null 2>&1; then
    fail "$2 could not be registered as $1"
  fi
}
