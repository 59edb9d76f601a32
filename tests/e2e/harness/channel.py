"""The kiosk's single-instance name, an abstract datagram socket per user, and its message
channel, a socket file in the user's private runtime folder, to which `plintor --send` hands
messages for the running kiosk. Tests also write to it directly, to send what the program's own
sender never would."""

import datetime
import errno
import os
import socket
import time

QUIT_TOKEN_KEY = 0x5EED1A57
MSG_NAVIGATE = 74
MSG_REMOTE_QUIT = 1280
MSG_START_HOME = 1281


def quit_token_for(date):
    """The remote-quit parameters (wparam, lparam) the kiosk accepts on date."""
    wparam = date.year * date.month * date.day
    return wparam, (wparam * QUIT_TOKEN_KEY) % 2147483647


def today_quit_token():
    """Today's remote-quit parameters; waits out the last seconds before midnight so that the
    kiosk judges the token by the same date."""
    now = datetime.datetime.now()
    midnight = datetime.datetime.combine(now.date() + datetime.timedelta(days=1), datetime.time())
    if (midnight - now).total_seconds() < 5:
        time.sleep((midnight - now).total_seconds() + 1)
    return quit_token_for(datetime.date.today())


def channel_name():
    return f"\0Plintor{os.getuid()}"


def kiosk_channel_in_use():
    """True while some kiosk of this user holds the single-instance channel."""
    probe = socket.socket(socket.AF_UNIX, socket.SOCK_DGRAM)
    try:
        probe.bind(channel_name())
        return False
    except OSError as error:
        if error.errno == errno.EADDRINUSE:
            return True
        raise
    finally:
        probe.close()


def channel_path(env):
    """The socket file of the kiosk that runs with the environment env."""
    runtime = env.get("XDG_RUNTIME_DIR", "")
    folder = runtime if runtime.startswith("/") else f"/tmp/plintor-{os.getuid()}"
    return os.path.join(folder, "plintor.socket")


def send_datagram(data, path):
    with socket.socket(socket.AF_UNIX, socket.SOCK_DGRAM) as sock:
        sock.settimeout(5)
        sock.sendto(data, path)


def encode_message(msg, wparam=0, lparam=0, text=b""):
    if isinstance(text, str):
        text = text.encode()
    return f"PLINTOR/1 {msg} {wparam} {lparam} {len(text)}\n".encode() + text
