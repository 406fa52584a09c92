#!/bin/bash
# Eight channels written at 0, 50 and 300 ms each way: through ser2net by
# tcp:// (every frame waits for its reply across the path) against ssh://
# (the engine runs beside the unit, the path is crossed once), each over
# orvex-delay-proxy in front of the server. The unit is a simulator that
# paces its line at 9600 baud, so a write straight to it is line time.
# Prints wall time and wall / line time for each, and the goal for ssh://:
# at most 1.1 x line time + 12 round trips.
#
# Usage: bench/link/far-site.sh BUILD_DIR   (configured with -DORVEX_BENCH=ON
# for orvex-delay-proxy; needs ser2net and OpenSSH's client and server)
set -euo pipefail
build=$(cd "${1:?usage: $0 BUILD_DIR}" && pwd)
tool=$build/src/cli/orvex
sim=$build/src/sim/orvex-sim
proxy=$build/bench/link/orvex-delay-proxy
work=$(mktemp -d)
pids=()
cleanup() {
    for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
    rm -rf "$work"
}
trap cleanup EXIT
export XDG_STATE_HOME=$work/near QT_QPA_PLATFORM=offscreen

free_port() { python3 -c 'import socket; s=socket.socket(); s.bind(("127.0.0.1",0)); print(s.getsockname()[1])'; }
wait_listen() { for _ in $(seq 200); do (exec 3<>"/dev/tcp/127.0.0.1/$1") 2>/dev/null && return 0; sleep 0.05; done; return 1; }
now() { date +%s.%N; }

"$sim" --line-rate 9600 --state "$work/sim.json" >"$work/sim.out" 2>/dev/null &
pids+=($!)
until [ -s "$work/sim.out" ]; do sleep 0.1; done
dev=$(head -n1 "$work/sim.out")

# The title: eight channels of text, made as a site's unit is.
{
    echo "unit,address,channel,title"
    for ch in 1 2 3 4 5 6 7 8; do echo "Unit,$([ "$ch" = 1 ] && echo "$dev"),$ch,Camera $ch"; done
} >"$work/site.csv"
"$tool" site make "$work/site.csv" "$work/site" >/dev/null
title=$work/site/Unit.zvx

# ser2net, raw TCP, in front of the unit.
ser2net_port=$(free_port)
printf '%%YAML 1.1\n---\nconnection: &orvex\n  accepter: tcp,127.0.0.1,%s\n  connector: serialdev,%s,9600n81,local\n  options:\n    kickolduser: true\n    chardelay: false\n' \
    "$ser2net_port" "$dev" >"$work/ser2net.yaml"
ser2net -n -d -P "$work/ser2net.pid" -c "$work/ser2net.yaml" 2>"$work/ser2net.log" &
pids+=($!)

# sshd, the far computer, with keys and configuration of its own.
ssh_port=$(free_port)
ssh-keygen -q -t ed25519 -N '' -f "$work/host_key"
ssh-keygen -q -t ed25519 -N '' -f "$work/client_key"
cp "$work/client_key.pub" "$work/authorized_keys"
echo "far $(cat "$work/host_key.pub")" >"$work/known_hosts"
cat >"$work/sshd_config" <<CONF
Port $ssh_port
ListenAddress 127.0.0.1
HostKey $work/host_key
AuthorizedKeysFile $work/authorized_keys
StrictModes no
PermitRootLogin yes
UsePAM no
PidFile $work/sshd.pid
PasswordAuthentication no
CONF
if [ -d /run/sshd ]; then
    /usr/sbin/sshd -D -e -f "$work/sshd_config" 2>"$work/sshd.log" &
else
    unshare -m /bin/sh -c "mount -t tmpfs tmpfs /run && mkdir /run/sshd && exec /usr/sbin/sshd -D -e -f $work/sshd_config" 2>"$work/sshd.log" &
fi
pids+=($!)
wait_listen "$ser2net_port"
wait_listen "$ssh_port"
export ORVEX_SSH="ssh -F $work/ssh_config"
export ORVEX_REMOTE_PROGRAM="env XDG_STATE_HOME=$work/far $tool"

send() { # ADDRESS -> wall seconds
    local start end
    start=$(now)
    "$tool" send "$title" --port "$1" >"$work/send.out" 2>&1 || { cat "$work/send.out" >&2; exit 1; }
    end=$(now)
    echo "$end - $start" | bc -l
}

line=$(send "$dev")
printf 'line time (straight to the unit): %.1f s\n' "$line"
printf '%-8s %-8s %10s %12s %14s\n' delay link wall wall/line goal
for delay in 0 50 300; do
    tcp_proxy_out=$work/tcp-proxy-$delay.out ssh_proxy_out=$work/ssh-proxy-$delay.out
    "$proxy" --to "127.0.0.1:$ser2net_port" --delay "$delay" >"$tcp_proxy_out" &
    pids+=($!)
    "$proxy" --to "127.0.0.1:$ssh_port" --delay "$delay" >"$ssh_proxy_out" &
    pids+=($!)
    until [ -s "$tcp_proxy_out" ] && [ -s "$ssh_proxy_out" ]; do sleep 0.05; done
    cat >"$work/ssh_config" <<CONF
Host far
  HostName 127.0.0.1
  Port $(head -n1 "$ssh_proxy_out")
  User root
  IdentityFile $work/client_key
  IdentitiesOnly yes
  UserKnownHostsFile $work/known_hosts
  GlobalKnownHostsFile /dev/null
  HostKeyAlias far
  StrictHostKeyChecking yes
  LogLevel ERROR
CONF
    goal=$(echo "1.1 * $line + 12 * 2 * $delay / 1000" | bc -l)
    tcp=$(send "tcp://127.0.0.1:$(head -n1 "$tcp_proxy_out")")
    printf '%-8s %-8s %9.1fs %12.2f %14s\n' "${delay}ms" tcp "$tcp" "$(echo "$tcp / $line" | bc -l)" -
    ssh=$(send "ssh://far$dev")
    printf '%-8s %-8s %9.1fs %12.2f %13.1fs\n' "${delay}ms" ssh "$ssh" "$(echo "$ssh / $line" | bc -l)" "$goal"
done
