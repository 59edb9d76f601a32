#!/usr/bin/env bash
# Starts the installed kiosk sessions as an unprivileged member of the group plintor and checks
# that each shows the welcome page: under Xvfb (plintor-session, as a display manager would
# start it; its screenshot is build-deb/session-x11.png) and under cage's headless back end
# (plintor-wayland-session). Every wait is bounded; whatever this starts is ended on exit.
set -euo pipefail
cd "$(dirname "$0")/../.."

user=plintor-check
welcome=file:///usr/share/plintor/welcome.html
out=$PWD/build-deb
pids=()
# The kiosk refuses termination signals; a session left over by a failed check is killed.
cleanup() {
  for pid in "${pids[@]}"; do
    kill -KILL -- "-$pid" 2>/dev/null || true
    wait "$pid" 2>/dev/null || true
  done
  [ -z "${runtime:-}" ] || rm -rf "$runtime"
}
trap cleanup EXIT

id "$user" >/dev/null 2>&1 || useradd --create-home --user-group --groups plintor "$user"
id -nG "$user" | grep -qw plintor || { echo "session-check: $user is not in group plintor" >&2; exit 1; }
home=$(getent passwd "$user" | cut -d: -f6)
rm -rf "$home/.config/plintor"
runtime=$(mktemp -d /tmp/plintor-runtime.XXXXXX)
chown "$user:" "$runtime"
chmod 700 "$runtime"

# Before a command: runs it as the kiosk user, with a login's environment and no other.
as_user=(runuser -u "$user" -- env -i HOME="$home" USER="$user" LOGNAME="$user"
  PATH=/usr/bin:/bin XDG_RUNTIME_DIR="$runtime" LANG=C.UTF-8)

# started NAME COMMAND…: runs the command in a process group of its own, output to NAME.log.
started() {
  local name=$1
  shift
  setsid "$@" >"$out/$name.log" 2>&1 &
  pids+=("$!")
}

# The kiosk's address as its status says, empty while none answers.
kiosk_address() {
  "${as_user[@]}" plintor --send status 2>/dev/null | python3 -c \
    'import json,sys; print(json.load(sys.stdin).get("address",""))' 2>/dev/null || true
}

# Whether the process runs (a zombie has ended).
running() {
  grep -qs '^State:[[:space:]]*[^Z]' "/proc/$1/status"
}

# wait_for_welcome NAME PID SECONDS: until the kiosk shows the welcome page; fails at once when
# the session ends first.
wait_for_welcome() {
  local what=$1 pid=$2 limit=$3
  for ((i = 0; i < limit; i++)); do
    [ "$(kiosk_address)" = "$welcome" ] && return 0
    running "$pid" || break
    sleep 1
  done
  echo "session-check: $what did not show $welcome (within $limit s); its log:" >&2
  tail -n 40 "$out/$what.log" >&2
  return 1
}

# The share of the screenshot in the welcome page's background colour.
welcome_share() {
  convert "$1" -alpha off -fill white -opaque '#0b5e55' -fill black +opaque white \
    -format '%[fx:mean]' info:
}

# The session ends with the kiosk: the operator's quit must end the session's process too.
wait_session_end() {
  local what=$1 pid=$2
  "${as_user[@]}" plintor --send quit
  for ((i = 0; i < 30; i++)); do
    running "$pid" || return 0
    sleep 1
  done
  echo "session-check: $what still runs 30 s after the kiosk's quit" >&2
  return 1
}

check_x11() {
  local display=:57
  started xvfb "${as_user[@]}" Xvfb "$display" -screen 0 1280x800x24 -nolisten tcp
  for ((i = 0; i < 20; i++)); do
    [ -S /tmp/.X11-unix/X${display#:} ] && break
    sleep 0.5
  done
  # Under Xvfb there is no GPU; the engine's sandbox stays on (an unprivileged user).
  started x11-session "${as_user[@]}" DISPLAY="$display" plintor-session
  local session=${pids[-1]}
  wait_for_welcome x11-session "$session" 90
  sleep 3 # the page's first paint after the address is known
  # The user writes into its own runtime folder; the copy goes beside the package.
  "${as_user[@]}" DISPLAY="$display" import -window root "$runtime/session-x11.png"
  cp "$runtime/session-x11.png" "$out/session-x11.png"
  local share
  share=$(welcome_share "$out/session-x11.png")
  echo "session-check: X11 session: $welcome shown; ${share} of the screen in its colour"
  python3 -c "import sys; sys.exit(0 if float('$share') > 0.5 else 1)" ||
    { echo "session-check: the screenshot does not show the welcome page" >&2; exit 1; }
  cmp -s "$home/.config/plintor/plintor.ini" /etc/plintor/plintor_Default.ini ||
    { echo "session-check: ~/.config/plintor/plintor.ini is not /etc's default copy" >&2; exit 1; }
  [ -s "$home/.config/plintor/plintor.log" ] ||
    { echo "session-check: no log in ~/.config/plintor" >&2; exit 1; }
  wait_session_end x11-session "$session"
  echo "session-check: X11 session ended with the kiosk"
}

check_wayland() {
  # Headless wlroots: no input devices, software rendering.
  started wayland-session "${as_user[@]}" WLR_BACKENDS=headless WLR_LIBINPUT_NO_DEVICES=1 \
    WLR_RENDERER=pixman plintor-wayland-session
  local session=${pids[-1]}
  wait_for_welcome wayland-session "$session" 90
  echo "session-check: Wayland session (cage, headless, Xwayland): $welcome shown"
  wait_session_end wayland-session "$session"
  echo "session-check: Wayland session ended with the kiosk"
}

check_x11
check_wayland
