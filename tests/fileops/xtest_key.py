#!/usr/bin/env python3
# Presses or releases a key in the X server itself (XTEST), as a keyboard
# would: "xtest_key.py <keysym number> down|up". Wine then learns of the key
# from the X server, so its own key state and X's agree. Exit 2 when the
# display or the XTEST library is not there.
import ctypes
import sys

try:
    xlib = ctypes.CDLL("libX11.so.6")
    xtst = ctypes.CDLL("libXtst.so.6")
except OSError as error:
    print(error, file=sys.stderr)
    sys.exit(2)

xlib.XOpenDisplay.restype = ctypes.c_void_p
xlib.XOpenDisplay.argtypes = [ctypes.c_char_p]
xlib.XKeysymToKeycode.restype = ctypes.c_ubyte
xlib.XKeysymToKeycode.argtypes = [ctypes.c_void_p, ctypes.c_ulong]
xlib.XFlush.argtypes = [ctypes.c_void_p]
xlib.XCloseDisplay.argtypes = [ctypes.c_void_p]
xtst.XTestFakeKeyEvent.argtypes = [ctypes.c_void_p, ctypes.c_uint, ctypes.c_int, ctypes.c_ulong]

display = xlib.XOpenDisplay(None)
if not display:
    print("no X display", file=sys.stderr)
    sys.exit(2)
keycode = xlib.XKeysymToKeycode(display, int(sys.argv[1], 0))
xtst.XTestFakeKeyEvent(display, keycode, 1 if sys.argv[2] == "down" else 0, 0)
xlib.XFlush(display)
xlib.XCloseDisplay(display)
