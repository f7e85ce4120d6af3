"""A window's pixels as the X server holds them, read in the checks' own process: a reading
takes a millisecond, where a screenshot program started for it may take seconds on a busy
machine and miss a moment that lasts a fraction of one."""
import ctypes

x11 = ctypes.cdll.LoadLibrary("libX11.so.6")


class XImage(ctypes.Structure):
    _fields_ = [("width", ctypes.c_int), ("height", ctypes.c_int), ("xoffset", ctypes.c_int),
                ("format", ctypes.c_int), ("data", ctypes.c_void_p), ("byte_order", ctypes.c_int),
                ("bitmap_unit", ctypes.c_int), ("bitmap_bit_order", ctypes.c_int),
                ("bitmap_pad", ctypes.c_int), ("depth", ctypes.c_int),
                ("bytes_per_line", ctypes.c_int), ("bits_per_pixel", ctypes.c_int),
                ("red_mask", ctypes.c_ulong), ("green_mask", ctypes.c_ulong),
                ("blue_mask", ctypes.c_ulong), ("obdata", ctypes.c_void_p),
                ("funcs", ctypes.c_void_p * 6)]


x11.XOpenDisplay.restype = ctypes.c_void_p
x11.XOpenDisplay.argtypes = [ctypes.c_char_p]
x11.XGetImage.restype = ctypes.POINTER(XImage)
x11.XGetImage.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_int, ctypes.c_int, ctypes.c_uint,
                          ctypes.c_uint, ctypes.c_ulong, ctypes.c_int]
x11.XGetSubImage.restype = ctypes.POINTER(XImage)
x11.XGetSubImage.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_int, ctypes.c_int, ctypes.c_uint,
                             ctypes.c_uint, ctypes.c_ulong, ctypes.c_int, ctypes.POINTER(XImage),
                             ctypes.c_int, ctypes.c_int]
ZPIXMAP = 2
ALLE_EBENEN = 0xFFFFFFFF


def anzeige():
    d = x11.XOpenDisplay(None)
    if not d:
        raise SystemExit("no display")
    return d


class Ausschnitt:
    """A rectangle of a window, read again with each schau(): px holds its rows of 4-byte pixels
    (blue, green, red, unused), stride bytes apart."""

    def __init__(self, d, win, x, y, w, h):
        self.d, self.win, self.x, self.y, self.w, self.h = d, win, x, y, w, h
        self.img = x11.XGetImage(d, win, x, y, w, h, ALLE_EBENEN, ZPIXMAP)
        if not self.img:
            raise SystemExit("cannot read the window")
        self.stride = self.img.contents.bytes_per_line
        self.px = b""

    def schau(self):
        x11.XGetSubImage(self.d, self.win, self.x, self.y, self.w, self.h, ALLE_EBENEN, ZPIXMAP, self.img, 0, 0)
        self.px = ctypes.string_at(self.img.contents.data, self.stride * self.h)
        return self.px
