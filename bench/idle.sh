#!/usr/bin/env bash
# Prints the idle figures of the headless program: resident memory and wake-ups per minute,
# with a 1-minute check period. Runs in a sandbox of its own: temporary HOME and XDG
# folders, private D-Bus buses, the simulated port module.
set -euo pipefail
program=${1:?usage: idle.sh PROGRAM SIM_MODULE_DIR [SECONDS]}
simdir=${2:?usage: idle.sh PROGRAM SIM_MODULE_DIR [SECONDS]}
seconds=${3:-60}

root=$(mktemp -d /tmp/tarnwick-idle-XXXXXX)
pids=()
cleanup() { kill "${pids[@]}" 2>/dev/null || true; rm -rf "$root"; }
trap cleanup EXIT

export HOME=$root/home XDG_CONFIG_HOME=$root/config XDG_RUNTIME_DIR=$root/run
mkdir -p "$HOME" "$XDG_CONFIG_HOME/Tarnwick" "$XDG_RUNTIME_DIR" && chmod 700 "$XDG_RUNTIME_DIR"
export DBUS_SESSION_BUS_ADDRESS=$(dbus-daemon --session --fork --print-address=1 --print-pid=3 3>"$root/s.pid")
export DBUS_SYSTEM_BUS_ADDRESS=$(dbus-daemon --session --fork --print-address=1 --print-pid=3 3>"$root/y.pid")
pids+=("$(cat "$root/s.pid")" "$(cat "$root/y.pid")")
export QT_QPA_PLATFORM=offscreen LD_LIBRARY_PATH=$simdir
printf '[WatchDogging]\niCheckDelay=1\nbEstablishConnection=0\n' >"$XDG_CONFIG_HOME/Tarnwick/Tarnwick.conf"

"$program" 2>/dev/null &
pid=$!
pids+=("$pid")
sleep 2 # let start-up settle

switches() {
    local total=0 n
    for t in /proc/"$pid"/task/*/status; do
        n=$(awk '/^voluntary_ctxt_switches/ {print $2}' "$t")
        total=$((total + n))
    done
    echo "$total"
}
before=$(switches)
sleep "$seconds"
after=$(switches)
rss=$(awk '/^VmRSS/ {print $2}' /proc/"$pid"/status)
hwm=$(awk '/^VmHWM/ {print $2}' /proc/"$pid"/status)
threads=$(ls /proc/"$pid"/task | wc -l)
echo "idle, headless, check every minute, over ${seconds} s:"
echo "  RSS ${rss} kB (peak ${hwm} kB), ${threads} threads"
echo "  wake-ups: $((after - before)) voluntary context switches = $(((after - before) * 60 / seconds)) per minute"
