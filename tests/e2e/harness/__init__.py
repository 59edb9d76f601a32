"""End-to-end harness for the Plintor kiosk: a private X display, a local web server and the
kiosk process, driven with xdotool and watched through its log, its screen and the server.

Standard library only. Every wait has a deadline and everything started here is stopped when
the run ends, also when it fails or is interrupted (see processes). Tests import the package
as `import harness as h` and find every name here.
"""

from .accessibility import Accessible, AccessibilityBus
from .case import KioskTestCase
from .channel import (MSG_NAVIGATE, MSG_REMOTE_QUIT, MSG_START_HOME, encode_message, kiosk_channel_in_use,
                      quit_token_for, channel_path, send_datagram, today_quit_token)
from .clients import XClient
from .display import XDisplay
from .images import Image, artifacts_dir, near
from .kiosk import REPO, Kiosk, LogEntry, binary_path, documents_folder, host_masks
from .layout import (BACK, BUTTON_GAP, BUTTON_Y, FIRST_BUTTON_X, FORWARD, KEY_AD06, KEYBOARD_BOX, KEYBOARD_MARGIN,
                     KEYBOARD_PANEL_HEIGHT, KEYBOARD_PANEL_TOP, PAGE_AREA, PANEL_HEIGHT, SCREEN_HEIGHT, SCREEN_WIDTH,
                     ZOOM_IN_BOX, ZOOM_OUT_BOX, box_centre, page_to_screen, shutdown_button, shutdown_heading_box)
from .logind import FakeLogind, SystemBus
from .processes import (HarnessError, descendants, in_private_namespace, kill_process_tree, poll_until,
                        process_state, run_tool, stop_everything)
from .server import WebServer, free_tcp_port, self_signed_certificate
from .xlib import KeyGrabber, lock_keyboard_group
