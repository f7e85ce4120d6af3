#!/usr/bin/env python3
"""Watches a window for moments that pass too fast for a screenshot program started once the
game reports them: started before the moment, it reads the window in its own process.

    auge.py WINDOW_ID proben WxH+X+Y REPORT LINE SECONDS
        reads the part of the window over and over until a line holding LINE has been added to
        the file REPORT (after what it held at the start) or SECONDS have passed, and prints one
        line per reading: milliseconds since the start, the darkest channel value and the mean
        brightness (both 0..255). The first line comes from the first reading, so a caller that
        waits for it knows the watch runs.
    auge.py WINDOW_ID fang WxH+X+Y REPORT LINE SECONDS PICTURE.ppm
        waits until a line holding LINE has been added to REPORT and at once writes the part of
        the window as a picture; fails when SECONDS pass first.
"""
import re
import sys
import time

from xfenster import Ausschnitt, anzeige


class Bericht:
    """The lines a program adds to its report from now on."""

    def __init__(self, pfad):
        self.f = open(pfad, "rb")
        self.f.seek(0, 2)
        self.rest = b""
        self.gesehen = False

    def hat(self, zeile):
        """Whether a whole line holding zeile has been added."""
        *ganze, self.rest = (self.rest + self.f.read()).split(b"\n")
        self.gesehen = self.gesehen or any(zeile in z for z in ganze)
        return self.gesehen


def pixel(teil):
    """The part's pixels without row padding: blue, green, red, unused."""
    px = teil.schau()
    if teil.stride == 4 * teil.w:
        return px
    return b"".join(px[r * teil.stride:r * teil.stride + 4 * teil.w] for r in range(teil.h))


def ausschnitt(d, win, geometrie):
    w, h, x, y = map(int, re.fullmatch(r"(\d+)x(\d+)\+(\d+)\+(\d+)", geometrie).groups())
    return Ausschnitt(d, win, x, y, w, h)


def proben(d, win, geometrie, bericht, zeile, sekunden):
    teil = ausschnitt(d, win, geometrie)
    w, h = teil.w, teil.h
    start = time.monotonic()
    while time.monotonic() - start < sekunden:
        px = pixel(teil)
        kanaele = [px[k::4] for k in range(3)]
        dunkelst = min(min(c) for c in kanaele)
        mittel = sum(sum(c) for c in kanaele) / (3 * w * h)
        print("%d %d %.1f" % (1000 * (time.monotonic() - start), dunkelst, mittel), flush=True)
        if bericht.hat(zeile):
            return
        time.sleep(0.005)


def fang(d, win, geometrie, bericht, zeile, sekunden, bild):
    teil = ausschnitt(d, win, geometrie)
    ende = time.monotonic() + sekunden
    while not bericht.hat(zeile):
        if time.monotonic() > ende:
            sys.exit("no %s within %g s" % (zeile.decode(), sekunden))
        time.sleep(0.01)
    px = pixel(teil)
    rgb = bytearray(3 * teil.w * teil.h)
    rgb[0::3], rgb[1::3], rgb[2::3] = px[2::4], px[1::4], px[0::4]
    with open(bild, "wb") as f:
        f.write(b"P6\n%d %d\n255\n" % (teil.w, teil.h) + rgb)


def main():
    win, was = int(sys.argv[1], 0), sys.argv[2]
    d = anzeige()
    if was == "proben":
        proben(d, win, sys.argv[3], Bericht(sys.argv[4]), sys.argv[5].encode(), float(sys.argv[6]))
    elif was == "fang":
        fang(d, win, sys.argv[3], Bericht(sys.argv[4]), sys.argv[5].encode(), float(sys.argv[6]), sys.argv[7])
    else:
        sys.exit(__doc__)


main()
