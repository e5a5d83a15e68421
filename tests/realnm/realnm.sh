#!/usr/bin/env bash
# Runs a command beside the real NetworkManager daemon, in namespaces of its own:
#   realnm.sh COMMAND [ARGS...]
# The daemon runs in new network, mount and PID namespaces, with tmpfs over /run,
# /etc/NetworkManager and /var/lib/NetworkManager, its own NetworkManager.conf and a private
# system bus at /run/dbus/system_bus_socket that exists only inside the mount namespace.
# Three veth pairs lead to a second network namespace, the "ISP": profile "ModemK" (K = 1,
# 2, 3) is an ethernet profile over veth-modemK, 10.213.K.2 on our side, 10.213.K.1 at the
# ISP, where nothing listens (a probe there is refused at once). This kernel has no PPP, so
# the dial-up is ethernet. Modem3 asks for an address by DHCP, which nobody answers: its
# dials stay "activating" for ten minutes. Nothing here sees the machine's own interfaces, bus or files,
# and every process ends with the namespace's first process.
#
# The command runs inside, with DBUS_SYSTEM_BUS_ADDRESS set to the private bus and
# TARNWICK_REALNM to a folder of switches, each holding a number of seconds:
#   slow-down-ModemK  each hang-up of ModemK takes that long (a dispatcher pre-down script
#                     sleeps), like pppd's
#   slow-up-ModemK    the same for each dial (pre-up)
# NetworkManager runs its dispatcher scripts one at a time: a slow one holds up every other
# profile's dials and hang-ups too.
# Exit code 77 (skipped) with a message when root, unshare or NetworkManager is missing
# (1 when TARNWICK_REALNM_REQUIRED is set, as in CI).
set -euo pipefail

# CI (root) must run this tier: there a reason to skip is a failure.
skip() {
    echo "realnm: SKIPPED: $*" >&2
    [ -z "${TARNWICK_REALNM_REQUIRED:-}" ] || exit 1
    exit 77
}

if [ "${1:-}" != "--inside" ]; then
    [ $# -ge 1 ] || { echo "usage: $0 COMMAND [ARGS...]" >&2; exit 2; }
    [ "$(id -u)" -eq 0 ] || skip "the real-NetworkManager tier needs root (CI runs as root)"
    command -v unshare >/dev/null || skip "unshare (util-linux) is missing"
    [ -x /usr/sbin/NetworkManager ] || skip "NetworkManager is missing (scripts/install-deps installs it)"
    command -v ip >/dev/null || skip "ip (iproute2) is missing"
    command -v dbus-daemon >/dev/null || skip "dbus-daemon is missing"
    unshare --net --mount --pid --fork --propagation private true 2>/dev/null ||
        skip "this machine does not allow new network, mount and PID namespaces"
    exec unshare --net --mount --pid --fork --propagation private --mount-proc \
        "$0" --inside "$@"
fi
shift

# --- inside: PID 1 of the new PID namespace ---------------------------------------------
pids=()
finish() {
    local pid
    for ((i = ${#pids[@]} - 1; i >= 0; i--)); do kill "${pids[i]}" 2>/dev/null || true; done
    for pid in "${pids[@]}"; do wait "$pid" 2>/dev/null || true; done
}
trap finish EXIT

for dir in /run /etc/NetworkManager /var/lib/NetworkManager /tmp; do
    mount -t tmpfs -o mode=0755 tarnwick-realnm "$dir"
done
chmod 1777 /tmp
# Read-only: NetworkManager then takes every device as ready instead of waiting for udev.
mount -t sysfs -o ro sysfs /sys
mkdir -p /run/dbus /run/NetworkManager /etc/NetworkManager/system-connections \
    /etc/NetworkManager/dispatcher.d/pre-down.d /etc/NetworkManager/dispatcher.d/pre-up.d \
    /etc/NetworkManager/conf.d

switches=/run/tarnwick-realnm
mkdir -p "$switches"
export TARNWICK_REALNM=$switches

ip link set lo up
ip netns add isp
ip -n isp link set lo up
for k in 1 2 3; do
    ip link add veth-modem$k type veth peer name veth-isp$k
    ip link set veth-isp$k netns isp
    ip -n isp addr add 10.213.$k.1/24 dev veth-isp$k
    ip -n isp link set veth-isp$k up
done

# The private system bus: anyone may own and call anything, and nothing is started on demand.
cat > /run/dbus/bus.conf <<CONF
<busconfig><type>system</type><listen>unix:path=/run/dbus/system_bus_socket</listen>
<auth>EXTERNAL</auth><policy context="default"><allow send_destination="*"/>
<allow receive_sender="*"/><allow own="*"/></policy></busconfig>
CONF
start_bus() {
    dbus-daemon --config-file=/run/dbus/bus.conf --nofork --nopidfile --print-pid=3 \
        3>/run/dbus/pid &
    pids+=($!)
    until [ -S /run/dbus/system_bus_socket ]; do sleep 0.05; done
}
start_bus
export DBUS_SYSTEM_BUS_ADDRESS=unix:path=/run/dbus/system_bus_socket

cat > /etc/NetworkManager/NetworkManager.conf <<CONF
[main]
plugins=keyfile
no-auto-default=*
dns=none
rc-manager=unmanaged
hostname-mode=none
auth-polkit=false
[logging]
level=INFO
[connectivity]
enabled=false
CONF
for k in 1 2 3; do
    cat > /etc/NetworkManager/system-connections/Modem$k.nmconnection <<CONF
[connection]
id=Modem$k
type=ethernet
interface-name=veth-modem$k
autoconnect=false
[ipv4]
$(if [ $k = 3 ]; then echo "method=auto"; echo "dhcp-timeout=600"
  else echo "method=manual"; echo "address1=10.213.$k.2/24"; fi)
never-default=true
[ipv6]
method=disabled
CONF
done
chmod 600 /etc/NetworkManager/system-connections/*.nmconnection
for phase in pre-down pre-up; do
    cat > /etc/NetworkManager/dispatcher.d/$phase.d/50-slow <<CONF
#!/bin/sh
# Makes each ${phase#pre-} of a profile slow when the test asks for it.
switch="$switches/slow-${phase#pre-}-\$CONNECTION_ID"
[ -s "\$switch" ] && sleep "\$(cat "\$switch")"
exit 0
CONF
    chmod 755 /etc/NetworkManager/dispatcher.d/$phase.d/50-slow
done

/usr/lib/NetworkManager/nm-dispatcher --persist > /run/nm-dispatcher.log 2>&1 &
pids+=($!)
NetworkManager --debug > /run/NetworkManager.log 2>&1 &
pids+=($!)
for _ in $(seq 200); do
    nmcli -t -f RUNNING general 2>/dev/null | grep -q running && break
    sleep 0.05
done
nmcli -t -f RUNNING general | grep -q running || { cat /run/NetworkManager.log >&2; exit 1; }

set +e
"$@"
rc=$?
[ $rc -eq 0 ] || { echo "--- NetworkManager's log" >&2; tail -40 /run/NetworkManager.log >&2; }
exit $rc
