#!/usr/bin/env bash
# The whole Windows program under Wine, in a virtual desktop on a private Xvfb, run twice as
# a copy under a name of its own, with the simulated port and RAS modules beside it (RAS
# shows the watched connection up, so no check fails and nothing leads towards a restart):
#   1. a first start puts its icon in the tray, a right click on it opens the menu, and a
#      clean close (WM_CLOSE, as taskkill without /f sends it) writes all 26 settings;
#   2. Settings opens the parameters dialog, its pages switch, and OK stores a changed value
#      at once; the close keeps it.
# Screenshots of the menu and the three pages are left in SHOT-DIR.
#   program_test.sh WINE-RUN WINE-ROOT TARNWICK.EXE DRIVER.EXE RASSIM.DLL PORTSIM-DIR SHOT-DIR
set -euo pipefail
wine_run=$1 root=$2 exe=$3 driver=$4 rassim=$5 portsim=$6 shots=$7
for tool in Xvfb xdotool import; do
    command -v $tool >/dev/null || { echo "$tool missing"; exit 77; }
done

work=$(mktemp -d)
xvfb_pid=
program=
cleanup() {
    # A program left running by a failed step is ended before its desktop goes.
    if [ -n "$program" ] && kill -0 "$program" 2>/dev/null; then
        wine taskkill /f /im "$name" >/dev/null 2>&1 || true
        for _ in $(seq 50); do kill -0 "$program" 2>/dev/null || break; sleep 0.1; done
    fi
    [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT

# Xvfb picks a free display itself and writes its number once it accepts connections.
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$work/display" >/dev/null 2>&1 &
xvfb_pid=$!
for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.1; done
[ -s "$work/display" ] || { echo "Xvfb did not start"; exit 1; }
export DISPLAY=:$(cat "$work/display")

name=tarnwick-wine-test.exe
cp "$exe" "$work/$name"
cp "$portsim/inpout32.dll" "$work/"
cp "$rassim" "$work/rasapi32.dll"
printf 'entry Work\nconnected 7 Work\n' >"$work/ras.state"
export INPOUT32_SIM_LOG="Z:$work/ports.log" RASSIM_STATE="Z:$work/ras.state"
# Our RAS module, not Wine's built-in one, for the program's processes.
export WINEDLLOVERRIDES="rasapi32=n;mscoree,mshtml="
# A desktop's windows are seen only by programs on that desktop: the driver opens it, and
# taskkill runs inside it (from the default desktop it finds no window to close).
desktop=tarnwick$$
wine() { "$wine_run" "$root" "$@"; }
drive() { wine "$driver" "$desktop" "$@" | tr -d '\r'; }
dialog="Tarnwick Parameters"
mkdir -p "$shots"
shot() { import -window root "$shots/$1.png"; }
click() { xdotool mousemove "$1" "$2" click "${3:-1}"; }
fail() {
    echo "FAILED: $*"
    shot failure || true
    exit 1
}

start() {
    : >"$work/ports.log"
    wine explorer "/desktop=$desktop,1024x768" "$work/$name" >>"$work/explorer.log" 2>&1 &
    program=$!
    # Running: the program switches the modem on and asks RAS for connections at start.
    for _ in $(seq 300); do grep -q RasEnumConnections "$work/ras.state.log" 2>/dev/null &&
        [ -s "$work/ports.log" ] && break; sleep 0.1; done
    [ -s "$work/ports.log" ] || fail "the program did not start"
    : >"$work/ras.state.log"
}
close() {
    wine explorer "/desktop=$desktop" taskkill /im "$name" >/dev/null
    for _ in $(seq 300); do kill -0 "$program" 2>/dev/null || break; sleep 0.1; done
    ! kill -0 "$program" 2>/dev/null || fail "the program did not end on WM_CLOSE"
}
settings() { wine reg query 'HKCU\Software\Tarnwick\Tarnwick' /s | tr -d '\r'; }

wine reg delete 'HKCU\Software\Tarnwick\Tarnwick' /f >/dev/null 2>&1 || true

# 1. Tray icon, menu, first close. The icon is the only one in the tray, at the bottom right.
start
sleep 1
click 1013 758 3
drive wait-class '#32768' >/dev/null || fail "no menu after a right click on the tray icon"
sleep 0.5
shot wine-menu
# A click beside the menu closes it without a command.
click 500 300
close
values=$(settings)
count=$(grep -cE '^ +(CurrentTab|[bis][A-Za-z]+) +REG_(DWORD|SZ)' <<<"$values" || true)
[ "$count" -eq 26 ] || fail "expected 26 values, found $count: $values"
grep -qE 'iCheckDelay +REG_DWORD +0x2$' <<<"$values" || fail "iCheckDelay: $values"
grep -qE 'sURLDownload +REG_SZ +www.debian.org$' <<<"$values" || fail "sURLDownload: $values"
# The connection found up at start is the one watched from now on.
grep -qE 'sDefaultConnection +REG_SZ +Work$' <<<"$values" || fail "sDefaultConnection: $values"

# 2. The dialog through the menu's default item, its three pages, OK.
start
sleep 1
click 1013 758 3
read -r left top right _ < <(drive wait-class '#32768') || fail "no menu the second time"
# Settings, the menu's first item: a click into its middle.
click $(((left + right) / 2)) $((top + 10))
tab_centres=$(drive tabs "$dialog") || fail "no tabs in a parameters dialog"
mapfile -t tabs <<<"$tab_centres"
[ ${#tabs[@]} -eq 3 ] || fail "expected 3 tabs, found ${#tabs[@]}"
for page in 0 1 2; do
    # shellcheck disable=SC2086
    click ${tabs[$page]}
    sleep 0.5
    shot "wine-page$((page + 1))"
done
# shellcheck disable=SC2086
click ${tabs[1]}
drive set-text "$dialog" 1030 7 || fail "no check period field on the WatchDogging page"
# shellcheck disable=SC2086
click $(drive where "$dialog" 1)
for _ in $(seq 100); do
    settings | grep -qE 'iCheckDelay +REG_DWORD +0x7$' && break
    sleep 0.1
done
settings | grep -qE 'iCheckDelay +REG_DWORD +0x7$' || fail "OK did not store the check period"
close
settings | grep -qE 'iCheckDelay +REG_DWORD +0x7$' || fail "the close lost the stored period"
# Nothing was hung up or dialled: the link stayed up throughout.
! grep -qE 'RasDial|RasHangUp' "$work/ras.state.log" || fail "RAS calls: $(cat "$work/ras.state.log")"
echo "tray icon, menu, dialog pages, OK and the clean close all work"
