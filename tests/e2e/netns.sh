# shellcheck shell=bash
# Two test hosts on one machine: network namespaces joined by a veth pair.
# Sourced by the end-to-end tests. Traffic stays inside the two namespaces.
#   netns_up            create both hosts; sets HUB_NS, CLIENT_NS, HUB_ADDR, CLIENT_ADDR
#   in_hub CMD...       run a command on the hub host
#   in_client CMD...    run a command on the client host
#   netns_track PID     end this process when the test ends
#   netns_on_exit CMD   run this command when the test ends, after the tracked processes
#                       (the last registered first)
# Everything is removed on exit, also when the test fails.

HUB_ADDR=10.66.0.1
CLIENT_ADDR=10.66.0.2
HUB_NS=tvhub$$
CLIENT_NS=tvcli$$
_netns_pids=()
_netns_exits=()

netns_track() { _netns_pids+=("$1"); }
netns_on_exit() { _netns_exits+=("$1"); }

netns_down() {
  local pid
  for pid in "${_netns_pids[@]}"; do
    kill "$pid" 2>/dev/null
  done
  for pid in "${_netns_pids[@]}"; do
    # Bounded: a process that ignores TERM is killed after two seconds.
    for _ in $(seq 20); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
    kill -9 "$pid" 2>/dev/null
  done
  local i
  # Last registered first: later steps build on earlier ones.
  for ((i = ${#_netns_exits[@]} - 1; i >= 0; i--)); do
    eval "${_netns_exits[i]}"
  done
  ip netns pids "$HUB_NS" 2>/dev/null | xargs -r kill -9 2>/dev/null
  ip netns pids "$CLIENT_NS" 2>/dev/null | xargs -r kill -9 2>/dev/null
  ip netns del "$HUB_NS" 2>/dev/null
  ip netns del "$CLIENT_NS" 2>/dev/null
  return 0
}

netns_up() {
  trap netns_down EXIT
  trap 'exit 130' INT TERM
  ip netns add "$HUB_NS" || return 1
  ip netns add "$CLIENT_NS" || return 1
  ip link add "vh$$" type veth peer name "vc$$" || return 1
  ip link set "vh$$" netns "$HUB_NS"
  ip link set "vc$$" netns "$CLIENT_NS"
  ip -n "$HUB_NS" addr add "$HUB_ADDR/24" dev "vh$$"
  ip -n "$CLIENT_NS" addr add "$CLIENT_ADDR/24" dev "vc$$"
  local ns dev
  for ns in "$HUB_NS:vh$$" "$CLIENT_NS:vc$$"; do
    dev=${ns#*:}; ns=${ns%%:*}
    ip -n "$ns" link set lo up
    ip -n "$ns" link set "$dev" up
    # Without a default route a send to 255.255.255.255 has no way out.
    ip -n "$ns" route add default dev "$dev"
  done
}

in_hub() { ip netns exec "$HUB_NS" "$@"; }
in_client() { ip netns exec "$CLIENT_NS" "$@"; }
