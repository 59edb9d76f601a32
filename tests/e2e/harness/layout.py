"""Where things are on the kiosk's screen: the virtual display's size and the window's layout
at 96 DPI, as the kiosk draws it. Tests find controls by these positions, so a changed layout
shows up here and nowhere else."""

SCREEN_WIDTH = 1280
SCREEN_HEIGHT = 800

# The navigation panel along the top, and its buttons' centres.
PANEL_HEIGHT = 65
BACK = (32, 32)
FORWARD = (88, 32)
FIRST_BUTTON_X = 120
BUTTON_GAP = 7
BUTTON_Y = 32
# The keyboard button at the right edge and, with ZoomButtons, "A−" and "A+" to its left.
KEYBOARD_BOX = (1176, 8, 1273, 57)
ZOOM_OUT_BOX = (1064, 8, 1113, 57)
ZOOM_IN_BOX = (1120, 8, 1169, 57)

PAGE_AREA = (0, PANEL_HEIGHT, SCREEN_WIDTH, SCREEN_HEIGHT)  # below the panel, with no bar at the bottom

# The keyboard panel at the bottom (no wheelchair bar), at the default size: as high as a key's
# face of nine millimetres needs; its content starts a margin inside. AD06 is the key of the
# second letter row's sixth place: "y" in English, "z" in German (the keyboard is 673 wide for
# a 208 high 848 x 262 layout, centred; rows are a fifth of its height).
KEYBOARD_PANEL_HEIGHT = 224
KEYBOARD_PANEL_TOP = SCREEN_HEIGHT - KEYBOARD_PANEL_HEIGHT
KEYBOARD_MARGIN = 8
KEY_AD06 = (617, 649)

# The shutdown panel: a box of this size centred over the page area, its buttons (which take
# no keyboard focus) at these centres inside the box, the heading in this stripe of it. Tests
# only ever press Exit: the other three act on the machine that runs them once they work.
SHUTDOWN_BOX = (409, 193)
SHUTDOWN_BUTTONS = {"Shut down": (60, 132), "Restart": (156, 132), "Log off": (252, 132), "Exit": (348, 132)}
SHUTDOWN_HEADING = (24, 24, 385, 45)


def box_centre(box):
    left, top, right, bottom = box
    return (left + right) // 2, (top + bottom) // 2


def page_to_screen(x, y):
    """Screen position of a point of the page (the page starts below the navigation panel)."""
    return x, PANEL_HEIGHT + y


def shutdown_box_origin():
    width, height = SHUTDOWN_BOX
    return (SCREEN_WIDTH - width) // 2, PANEL_HEIGHT + (SCREEN_HEIGHT - PANEL_HEIGHT - height) // 2


def shutdown_button(name):
    """Screen centre of a button of the shutdown panel."""
    left, top = shutdown_box_origin()
    x, y = SHUTDOWN_BUTTONS[name]
    return left + x, top + y


def shutdown_heading_box():
    left, top = shutdown_box_origin()
    x1, y1, x2, y2 = SHUTDOWN_HEADING
    return left + x1, top + y1, left + x2, top + y2
