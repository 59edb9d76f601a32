#!/usr/bin/env bash
# The role's handlers and metrics with the kiosk running: starts the installed kiosk session as
# the role's kiosk user under Xvfb, checks the metrics file it writes into node_exporter's
# folder (promtool), then applies the role with a changed deny list (the running kiosk reads
# its lists again) and with a changed setting (the kiosk ends, to start again with it). Called
# by ansible.sh after its runs: USER OUT-FOLDER METRICS-FILE. Every wait is bounded; whatever
# this starts is ended on exit.
set -euo pipefail
cd "$(dirname "$0")/../.."
repo=$PWD
user=$1 out=$2 metrics=$3

uid=$(id -u "$user")
home=$(getent passwd "$user" | cut -d: -f6)
runtime=/run/user/$uid
made_runtime=""
pids=()
# The user is this check's own: what its session left (runuser starts the command in a session
# of its own) is ended too, each by its id.
cleanup() {
  for pid in "${pids[@]}"; do
    kill -KILL -- "-$pid" 2>/dev/null || true
    wait "$pid" 2>/dev/null || true
  done
  for ((i = 0; i < 20; i++)); do
    [ -z "$(ps -o pid= -u "$user")" ] && break
    sleep 0.5
  done
  for pid in $(ps -o pid= -u "$user"); do
    kill -KILL "$pid" 2>/dev/null || true
  done
  [ -z "$made_runtime" ] || rm -rf "$runtime"
}
trap cleanup EXIT
fail() {
  echo "ansible: $*" >&2
  exit 1
}

# A display manager's login makes the session's runtime folder; here it is made by hand.
if [ ! -d "$runtime" ]; then
  mkdir -p "$runtime"
  chown "$user:" "$runtime"
  chmod 700 "$runtime"
  made_runtime=1
fi
as_user=(runuser -u "$user" -- env -i HOME="$home" USER="$user" LOGNAME="$user"
  PATH=/usr/bin:/bin XDG_RUNTIME_DIR="$runtime" LANG=C.UTF-8)
started() {
  local name=$1
  shift
  setsid "$@" >"$out/$name.log" 2>&1 &
  pids+=("$!")
}
running() {
  grep -qs '^State:[[:space:]]*[^Z]' "/proc/$1/status"
}
# wait_until SECONDS COMMAND…: true once the command succeeds within the time.
wait_until() {
  local limit=$1
  shift
  for ((i = 0; i < limit * 2; i++)); do
    "$@" && return 0
    sleep 0.5
  done
  return 1
}

display=:58
started xvfb "${as_user[@]}" Xvfb "$display" -screen 0 1024x768x24 -nolisten tcp
wait_until 10 test -S "/tmp/.X11-unix/X${display#:}" || fail "Xvfb did not start"
rm -f "$metrics"
started kiosk "${as_user[@]}" DISPLAY="$display" plintor-session
session=${pids[-1]}
wait_until 60 "${as_user[@]}" plintor --send status >/dev/null 2>&1 ||
  fail "the kiosk of $user did not answer within 60 s: $(tail -n 20 "$out/kiosk.log")"

echo "ansible: the running kiosk's metrics"
wait_until 20 test -s "$metrics" || fail "no metrics file $metrics"
promtool check metrics <"$metrics" || fail "promtool rejects $metrics"
grep -qx 'plintor_up 1' "$metrics" || fail "the metrics file does not say the kiosk is up"

log=$home/.config/plintor/plintor.log
echo "ansible: a changed deny list is read by the running kiosk"
run_role() {
  local name=$1
  shift
  (cd "$repo/deploy/ansible" &&
    timeout 600 ansible-playbook -i "$out/inventory.yml" -e "@$out/vars.yml" "$@" site.yml \
      >"$out/$name.log" 2>&1) || { tail -n 40 "$out/$name.log" >&2; exit 1; }
}
lists_changed='{"plintor_deny_list": ["http://127.0.0.1:8080/private*", "http://127.0.0.1:8080/staff*"]}'
run_role lists -e "$lists_changed"
grep -A1 'RUNNING HANDLER \[plintor : Reload the lists\]' "$out/lists.log" | grep -q '^changed' ||
  fail "the lists' change did not reach the kiosk: $(grep -A2 HANDLER "$out/lists.log")"
grep -q 'RUNNING HANDLER \[plintor : Restart the kiosk\]' "$out/lists.log" &&
  fail "a change of the lists alone restarted the kiosk"
wait_until 20 grep -q 'Lists reloaded: .*, 2 denied' "$log" || fail "the kiosk's log shows no reload"
running "$session" || fail "the kiosk ended at the reload of its lists"

echo "ansible: a changed setting restarts the kiosk"
run_role setting -e "$lists_changed" -e '{"plintor_settings": {"AutoReturn": 6}}'
grep -A1 'RUNNING HANDLER \[plintor : Restart the kiosk\]' "$out/setting.log" | grep -q '^changed' ||
  fail "the setting's change did not reach the kiosk: $(grep -A2 HANDLER "$out/setting.log")"
wait_until 30 bash -c "! grep -qs '^State:[[:space:]]*[^Z]' /proc/$session/status" ||
  fail "the kiosk session still runs 30 s after the role's restart"
wait_until 10 grep -qx 'plintor_up 0' "$metrics" || fail "the kiosk's end left plintor_up 1"
echo "ansible: the kiosk took its new lists and ended for its new setting"
