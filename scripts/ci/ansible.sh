#!/usr/bin/env bash
# The Ansible role of deploy/ansible: its syntax and lint, then its run on this machine itself
# (-c local) with the package the package step built (build-deb/), a check of what it installed
# and of the configuration as the kiosk's user reads it, and a second run that must change
# nothing. Needs root; changes the machine as the role does (a user, packages, its own files in
# /etc). Services are left alone where systemd does not run the machine (a container).
set -euo pipefail
cd "$(dirname "$0")/../.."
repo=$PWD
export DEBIAN_FRONTEND=noninteractive ANSIBLE_NOCOLOR=1 ANSIBLE_FORCE_COLOR=0

scripts/setup.sh scripts/ci/ansible-packages.txt

deb=$(ls "$PWD"/build-deb/plintor_*_amd64.deb 2>/dev/null | tail -n 1 || true)
if [ -z "$deb" ]; then
  echo "ansible: no package in build-deb/; the package step (scripts/ci/package.sh) builds it" >&2
  exit 1
fi
echo "ansible: package $deb"

out=$PWD/build-ansible
rm -rf "$out"
mkdir -p "$out"
user=plintor-fleet
metrics=/var/lib/prometheus/node-exporter/plintor.prom
cat >"$out/inventory.yml" <<INVENTORY
kiosks:
  hosts:
    localhost:
      ansible_connection: local
      ansible_python_interpreter: /usr/bin/python3
INVENTORY
# A CI machine may run systemd: a display manager it started would take a console, so LightDM
# itself is not installed here (its drop-in is written and checked all the same).
cat >"$out/vars.yml" <<VARS
plintor_deb: $deb
plintor_user: $user
plintor_password: ci-only-$(date +%s)
plintor_home_page: http://127.0.0.1:8080/
plintor_buttons:
  - {url: "http://127.0.0.1:8080/hours", caption: Opening hours, width: 160}
plintor_settings: {AutoReturn: 5, ClearSessionOnReturn: true}
plintor_allow_list: ["http://127.0.0.1:8080/*"]
plintor_deny_list: ["http://127.0.0.1:8080/private*"]
plintor_watchdog_sec: 45
plintor_lightdm_package: false
VARS

cd deploy/ansible
echo "ansible: syntax check"
ansible-playbook --syntax-check site.yml
echo "ansible: lint"
ansible-lint --offline site.yml roles/plintor

# run NAME [ANSIBLE-PLAYBOOK ARGUMENTS…]: applies the role to this machine, output to NAME.log.
run() {
  local name=$1
  shift
  (cd "$repo/deploy/ansible" &&
    timeout 600 ansible-playbook -i "$out/inventory.yml" -e "@$out/vars.yml" "$@" site.yml \
      >"$out/$name.log" 2>&1) || { tail -n 40 "$out/$name.log" >&2; exit 1; }
  grep -A1 '^PLAY RECAP' "$out/$name.log"
}
cd "$repo"
echo "ansible: first run"
run first

echo "ansible: what the role installed"
fail() {
  echo "ansible: $*" >&2
  exit 1
}
dpkg-query -W -f='${Status}\n' plintor prometheus-node-exporter unattended-upgrades |
  grep -vqx 'install ok installed' && fail "a package is not installed"
id -nG "$user" | grep -qw plintor || fail "$user is not in group plintor"
home=$(getent passwd "$user" | cut -d: -f6)
config=$home/.config/plintor
[ "$(stat -c '%U %a' "$config")" = "$user 700" ] || fail "$config is not its user's alone"
grep -qx "MetricsFile=$metrics" "$config/plintor.ini" || fail "plintor.ini names no metrics file"
grep -qx 'Button2URL=http://127.0.0.1:8080/hours' "$config/plintor.ini" || fail "no second button"
grep -qx 'http://127.0.0.1:8080/private\*' "$config/Blacklist.txt" || fail "deny list missing"
grep -qx "autologin-user=$user" /etc/lightdm/lightdm.conf.d/50-plintor.conf || fail "no autologin"
grep -qx 'WatchdogSec=45' /etc/systemd/user/plintor.service.d/50-watchdog.conf ||
  fail "no watchdog drop-in"
grep -q 'Unattended-Upgrade "1"' /etc/apt/apt.conf.d/20auto-upgrades || fail "upgrades off"
getfacl -p /var/lib/prometheus/node-exporter | grep -qx "user:$user:rwx" ||
  fail "$user cannot write node_exporter's textfile folder"
runuser -u "$user" -- sh -c "echo > /var/lib/prometheus/node-exporter/plintor.prom.new" ||
  fail "$user cannot write into the textfile folder"
rm -f /var/lib/prometheus/node-exporter/plintor.prom.new

echo "ansible: plintor --check-config as $user"
runuser -u "$user" -- env -i HOME="$home" USER="$user" PATH=/usr/bin:/bin LANG=C.UTF-8 \
  plintor --check-config >"$out/check-config.txt" 2>"$out/check-config.err" ||
  { cat "$out/check-config.err" >&2; fail "--check-config warned or failed"; }
grep -qx "MetricsFile=$metrics" "$out/check-config.txt" || fail "the kiosk reads no MetricsFile"
grep -qx 'AutoReturn=5' "$out/check-config.txt" || fail "the kiosk reads another AutoReturn"

echo "ansible: second run, which must change nothing"
run second
grep -A1 '^PLAY RECAP' "$out/second.log" | grep -q 'changed=0 ' ||
  fail "the second run changed something: $(grep -B2 'changed:' "$out/second.log" | head -n 20)"

scripts/ci/ansible-kiosk-check.sh "$user" "$out" "$metrics"
echo "ansible: passed"
