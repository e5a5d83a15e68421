#!/usr/bin/env bash
# The whole Windows program under Wine, in a virtual desktop on a private Xvfb: it starts,
# puts its icon in the tray, and on a clean close (WM_CLOSE, as taskkill without /f sends it)
# writes all 25 settings to the registry of the test run's Wine prefix. It runs as a copy
# under a name of its own, with the simulated port module beside it.
#   program_test.sh WINE-RUN WINE-ROOT TARNWICK.EXE SIM-DIR SHOT-DIR
set -euo pipefail
wine_run=$1 root=$2 exe=$3 simdir=$4 shots=$5
command -v Xvfb >/dev/null || { echo "Xvfb missing"; exit 77; }

work=$(mktemp -d)
xvfb_pid=
cleanup() {
    [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT

display=:$((90 + RANDOM % 100))
Xvfb "$display" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
xvfb_pid=$!
export DISPLAY=$display
for _ in $(seq 50); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done

cp "$exe" "$work/tarnwick-wine-test.exe"
cp "$simdir/inpout32.dll" "$work/"
export INPOUT32_SIM_LOG="Z:$work/ports.log"
# The prefix's registry belongs to this test run; start from no settings.
"$wine_run" "$root" reg delete 'HKCU\Software\Tarnwick\Tarnwick' /f >/dev/null 2>&1 || true

"$wine_run" "$root" explorer /desktop=tarnwick,1024x768 "$work/tarnwick-wine-test.exe" &
program=$!

# Running: the program reads its port at start (the modem is switched on).
for _ in $(seq 300); do [ -s "$work/ports.log" ] && break; sleep 0.1; done
[ -s "$work/ports.log" ] || { echo "the program did not start"; exit 1; }
sleep 3
mkdir -p "$shots"
import -display "$display" -window root "$shots/wine-desktop.png" 2>/dev/null || true

"$wine_run" "$root" taskkill /im tarnwick-wine-test.exe >/dev/null
for _ in $(seq 200); do kill -0 "$program" 2>/dev/null || break; sleep 0.1; done

values=$("$wine_run" "$root" reg query 'HKCU\Software\Tarnwick\Tarnwick' /s | tr -d '\r')
echo "$values"
count=$(grep -cE '^ +[bis][A-Za-z]+ +REG_(DWORD|SZ)' <<<"$values" || true)
current=$(grep -cE '^ +CurrentTab +REG_DWORD' <<<"$values" || true)
[ $((count + current)) -eq 25 ] || { echo "expected 25 values, found $((count + current))"; exit 1; }
grep -q 'iCheckDelay *REG_DWORD' <<<"$values"
grep -q 'sURLDownload *REG_SZ' <<<"$values"
echo "25 values written on close"
