"""Requests to the X server that no command-line tool makes, through libX11 with ctypes: key
grabs as another program would ask for them, and a change of the keyboard's group from outside
the kiosk."""

import ctypes

from .processes import HarnessError, register, unregister


class _XErrorEvent(ctypes.Structure):
    _fields_ = [("type", ctypes.c_int), ("display", ctypes.c_void_p), ("resourceid", ctypes.c_ulong),
                ("serial", ctypes.c_ulong), ("error_code", ctypes.c_ubyte), ("request_code", ctypes.c_ubyte),
                ("minor_code", ctypes.c_ubyte)]


class _XModifierKeymap(ctypes.Structure):
    _fields_ = [("max_keypermod", ctypes.c_int), ("modifiermap", ctypes.POINTER(ctypes.c_ubyte))]


_X_ERROR_HANDLER = ctypes.CFUNCTYPE(ctypes.c_int, ctypes.c_void_p, ctypes.POINTER(_XErrorEvent))
_XKB_USE_CORE_KBD = 0x100
_xlib = None
_x_errors = {}  # display connection -> error codes not yet looked at


@_X_ERROR_HANDLER
def _note_x_error(display, event):
    # Xlib's own handler would end this process at the first error; this one only notes it.
    _x_errors.setdefault(display, []).append(event.contents.error_code)
    return 0


def _libx11():
    global _xlib
    if _xlib is None:
        try:
            lib = ctypes.CDLL("libX11.so.6")
        except OSError:
            raise HarnessError("libX11.so.6 is not installed (package libx11-6)")
        lib.XOpenDisplay.restype = ctypes.c_void_p
        lib.XOpenDisplay.argtypes = [ctypes.c_char_p]
        lib.XCloseDisplay.argtypes = [ctypes.c_void_p]
        lib.XDefaultRootWindow.restype = ctypes.c_ulong
        lib.XDefaultRootWindow.argtypes = [ctypes.c_void_p]
        lib.XStringToKeysym.restype = ctypes.c_ulong
        lib.XStringToKeysym.argtypes = [ctypes.c_char_p]
        lib.XKeysymToKeycode.restype = ctypes.c_ubyte
        lib.XKeysymToKeycode.argtypes = [ctypes.c_void_p, ctypes.c_ulong]
        lib.XGrabKey.argtypes = [ctypes.c_void_p, ctypes.c_int, ctypes.c_uint, ctypes.c_ulong, ctypes.c_int,
                                 ctypes.c_int, ctypes.c_int]
        lib.XUngrabKey.argtypes = [ctypes.c_void_p, ctypes.c_int, ctypes.c_uint, ctypes.c_ulong]
        lib.XSync.argtypes = [ctypes.c_void_p, ctypes.c_int]
        lib.XSetErrorHandler.restype = ctypes.c_void_p
        lib.XSetErrorHandler.argtypes = [_X_ERROR_HANDLER]
        lib.XGetModifierMapping.restype = ctypes.POINTER(_XModifierKeymap)
        lib.XGetModifierMapping.argtypes = [ctypes.c_void_p]
        lib.XFreeModifiermap.argtypes = [ctypes.POINTER(_XModifierKeymap)]
        lib.XkbLockGroup.argtypes = [ctypes.c_void_p, ctypes.c_uint, ctypes.c_uint]
        lib.XSetErrorHandler(_note_x_error)  # before the first connection; this process has no other
        _xlib = lib
    return _xlib


def _open(display):
    connection = _libx11().XOpenDisplay(display.name.encode())
    if not connection:
        raise HarnessError(f"cannot open display {display.name}")
    return connection


def lock_keyboard_group(display, group):
    """Makes group the keyboard's active one, as a system shortcut would."""
    x = _libx11()
    connection = _open(display)
    try:
        x.XkbLockGroup(connection, _XKB_USE_CORE_KBD, group)
    finally:
        x.XCloseDisplay(connection)  # sends the request before it closes


class KeyGrabber:
    """A client of its own on the display that asks for passive key grabs on the root window,
    as any program may: the X server gives each combination to the first client that asks and
    answers later ones with BadAccess. It must be stopped before its display (as the clean-up
    order has it): Xlib ends the whole process when a connection's server is gone."""

    BAD_ACCESS = 10
    SHIFT, LOCK, CONTROL = 1, 2, 4

    def __init__(self, display):
        self._x = _libx11()
        self._dpy = _open(display)
        self._root = self._x.XDefaultRootWindow(self._dpy)
        self._held = []
        self.alt, self.num_lock, self.super = (self._modifier_bit(name, fallback) for name, fallback in
                                               (("Alt_L", 8), ("Num_Lock", 16), ("Super_L", 64)))
        register(self)

    def __repr__(self):
        return "KeyGrabber()"

    def _keycode(self, keysym_name):
        keysym = self._x.XStringToKeysym(keysym_name.encode())
        code = self._x.XKeysymToKeycode(self._dpy, keysym) if keysym else 0
        if not code:
            raise HarnessError(f"the display's keyboard has no key {keysym_name}")
        return code

    def _modifier_bit(self, keysym_name, fallback):
        code = self._x.XKeysymToKeycode(self._dpy, self._x.XStringToKeysym(keysym_name.encode()))
        keymap = self._x.XGetModifierMapping(self._dpy) if code else None
        if not keymap:
            return fallback
        try:
            per = keymap.contents.max_keypermod
            for modifier in range(8):
                if any(keymap.contents.modifiermap[modifier * per + i] == code for i in range(per)):
                    return 1 << modifier
            return fallback
        finally:
            self._x.XFreeModifiermap(keymap)

    def lock_states(self):
        """The modifier bits of every Caps Lock and Num Lock state."""
        return [0, self.LOCK, self.num_lock, self.LOCK | self.num_lock]

    def grab(self, keysym_name, modifiers=0):
        """Asks for the combination; returns the X error code (0: granted, and held until
        release())."""
        code = self._keycode(keysym_name)
        self._x.XSync(self._dpy, 0)
        _x_errors.pop(self._dpy, None)
        self._x.XGrabKey(self._dpy, code, modifiers, self._root, 0, 1, 1)
        self._x.XSync(self._dpy, 0)  # the answer, an error or none, is in when this returns
        errors = _x_errors.pop(self._dpy, [])
        error = errors[0] if errors else 0
        if not error:
            self._held.append((code, modifiers))
        return error

    def release(self):
        for code, modifiers in self._held:
            self._x.XUngrabKey(self._dpy, code, modifiers, self._root)
        self._held = []
        self._x.XSync(self._dpy, 0)

    def stop(self):
        unregister(self)
        if self._dpy:
            self.release()
            self._x.XCloseDisplay(self._dpy)
            _x_errors.pop(self._dpy, None)
            self._dpy = None
