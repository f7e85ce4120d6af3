#!/usr/bin/env python3
"""The eyes and hands of a Pong player on the X server.

    pong_spieler.py WINDOW_ID play SECONDS [KEEN]
                                             plays the ball with Up and Down until the caption
                                             tells the match is over or the time is up; after
                                             KEEN seconds it lets the computer score (so that a
                                             match ends in a bounded time); prints
                                             "frames N presses P ballseen B returns R caption C"
    pong_spieler.py WINDOW_ID flies SECONDS  waits until the ball flies in the court's left half
    pong_spieler.py WINDOW_ID serve          waits until the ball falls at the computer's side and
                                             prints its x and y and the player's paddle centre y
                                             in that frame
    pong_spieler.py WINDOW_ID hold KEY SECONDS
                                             waits until the ball flies, holds the key (Up or
                                             Down) so long and prints the paddle's centre y
                                             before and after: one process, so that the rally
                                             cannot end between the readings and the hold
"""
import ctypes
import math
import sys
import time

from xfenster import Ausschnitt, anzeige, x11

xtst = ctypes.cdll.LoadLibrary("libXtst.so.6")
x11.XKeysymToKeycode.restype = ctypes.c_ubyte
x11.XKeysymToKeycode.argtypes = [ctypes.c_void_p, ctypes.c_ulong]
x11.XFetchName.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.POINTER(ctypes.c_char_p)]
x11.XFlush.argtypes = [ctypes.c_void_p]
x11.XFree.argtypes = [ctypes.c_void_p]
xtst.XTestFakeKeyEvent.argtypes = [ctypes.c_void_p, ctypes.c_uint, ctypes.c_int, ctypes.c_ulong]
x11.XGetInputFocus.argtypes = [ctypes.c_void_p, ctypes.POINTER(ctypes.c_ulong), ctypes.POINTER(ctypes.c_int)]

W, H = 640, 440  # the court


class Hof(Ausschnitt):
    """The court as the window shows it now."""

    def __init__(self, d, win):
        super().__init__(d, win, 0, 0, W, H)

    def ball(self, x1=40, x2=600):
        """The ball: the first bright pixel of a coarse grid (the ghosts are darker)."""
        px, stride = self.px, self.stride
        for y in range(2, H, 4):
            row = y * stride
            for x in range(x1, x2, 4):
                i = row + 4 * x  # blue, green, red
                if px[i] > 200 and px[i + 1] > 200 and px[i + 2] > 180:
                    return x, y
        return None

    def schlaeger(self):
        """The centre of the player's paddle: the green pixels of its column."""
        px, stride = self.px, self.stride
        ys = [y for y in range(0, H, 2) if px[y * stride + 4 * 614 + 1] > 150 and px[y * stride + 4 * 614 + 2] < 130]
        return (ys[0] + ys[-1]) / 2 if ys else None


def caption(d, win):
    name = ctypes.c_char_p()
    if not x11.XFetchName(d, win, ctypes.byref(name)) or not name.value:
        return ""
    text = name.value.decode("latin-1", "replace")
    x11.XFree(name)
    return text


TICK = 1 / 64.0  # the desktop timer's rate, at which the game reads the keys
LAUF = 36  # ticks of the run-up: a key held that long puts spin on the ball
VERSATZ = 30  # the ball meets the paddle off its centre, on the side the spin drives it


def anlauf(n):
    """How far the paddle runs while a key is held for n ticks."""
    return sum(2.5 + 25 * math.sin(i / 254) for i in range(n))


def spiele(d, win, hof, seconds, eifer):
    """Meets the ball with a run-up: the paddle waits above (or below) where the ball will
    arrive and runs into it with the key held, which returns it with spin the computer's paddle
    cannot follow; a ball it cannot reach in time it simply follows."""
    keys = {"up": x11.XKeysymToKeycode(d, 0xFF52), "down": x11.XKeysymToKeycode(d, 0xFF54)}
    held = {"up": False, "down": False}
    presses = 0

    def hold(name, on):
        nonlocal presses
        if held[name] != on:
            xtst.XTestFakeKeyEvent(d, keys[name], 1 if on else 0, 0)
            held[name] = on
            presses += on

    weg = anlauf(LAUF)
    frames = seen = zurueck = 0
    spur = []  # (time, x, y) of the ball on its way to the player
    target, ankunft = 215.0, None
    end = time.time() + seconds
    muede = time.time() + eifer
    while time.time() < end:
        hof.schau()
        frames += 1
        b = hof.ball()
        paddle = hof.schlaeger()
        now = time.time()
        if b is not None:
            seen += 1
            if spur and b[0] < spur[-1][1]:
                if spur[-1][1] > 560 and len(spur) >= 3:
                    zurueck += 1  # the player's paddle sent it back
                spur = []  # the ball flies back to the computer
                target, ankunft = 215.0, None
            if not spur or b[0] > spur[-1][1]:
                spur = spur[-11:] + [(now, b[0], b[1])]
            if len(spur) >= 4:
                # The last few sightings, fitted by straight lines in time.
                n = len(spur)
                mt = sum(p[0] for p in spur) / n
                st = sum((p[0] - mt) ** 2 for p in spur) or 1e-9
                vx = sum((p[0] - mt) * p[1] for p in spur) / st
                vy = sum((p[0] - mt) * p[2] for p in spur) / st
                if vx > 50:
                    t = (596 - spur[-1][1]) / vx
                    ankunft = spur[-1][0] + t
                    target = spur[-1][2] + vy * t
                    # Walls fold the path back into the court.
                    while target < 0 or target > H:
                        target = -target if target < 0 else 2 * H - target
        if paddle is not None and now > muede:
            # Tired: the paddle keeps away from the ball.
            weg_vom_ball = H if b and b[1] < H / 2 else 0
            hold("down", weg_vom_ball > paddle)
            hold("up", weg_vom_ball < paddle)
        elif paddle is not None:
            runter = target > H / 2  # the run-up goes toward the middle of the court
            if ankunft and ankunft - now < LAUF * TICK:
                hold("up", not runter)
                hold("down", runter)
            else:
                # Off the centre on the side the spin drives the ball: both send it the same way.
                start = target + 5 + (VERSATZ - weg if runter else weg - VERSATZ) if ankunft else target
                start = min(max(start, 0), H)
                err = start - paddle
                hold("down", err > 12)
                hold("up", err < -12)
        x11.XFlush(d)
        if frames % 20 == 0:
            text = caption(d, win)
            if "Freu" in text or "schlecht" in text:
                break
        time.sleep(0.005)
    hold("up", False)
    hold("down", False)
    x11.XFlush(d)
    print("frames %d presses %d ballseen %d returns %d caption %s" % (frames, presses, seen, zurueck, caption(d, win)))


def fliegt(hof, seconds):
    """Waits until the ball flies in the court's left half."""
    end = time.time() + seconds
    while time.time() < end:
        hof.schau()
        if hof.ball(60, 360):
            return True
        time.sleep(0.01)
    return False


def hat_tastatur(d, win, seconds=5):
    """Waits until the window has the keyboard: keys sent elsewhere would be lost."""
    end = time.time() + seconds
    focus, revert = ctypes.c_ulong(), ctypes.c_int()
    while time.time() < end:
        x11.XGetInputFocus(d, ctypes.byref(focus), ctypes.byref(revert))
        if focus.value == win:
            return True
        time.sleep(0.05)
    return False


def halte(d, win, hof, key, seconds):
    if not fliegt(hof, 10):
        sys.exit("the ball never flew")
    if not hat_tastatur(d, win):
        sys.exit("the window does not have the keyboard")
    code = x11.XKeysymToKeycode(d, {"Up": 0xFF52, "Down": 0xFF54}[key])
    hof.schau()
    vorher = hof.schlaeger()
    xtst.XTestFakeKeyEvent(d, code, 1, 0)
    x11.XFlush(d)
    time.sleep(seconds)
    xtst.XTestFakeKeyEvent(d, code, 0, 0)
    x11.XFlush(d)
    hof.schau()
    print(vorher, hof.schlaeger())


def main():
    win = int(sys.argv[1], 0)
    what = sys.argv[2]
    d = anzeige()
    hof = Hof(d, win)
    if what == "play":
        spiele(d, win, hof, float(sys.argv[3]), float(sys.argv[4]) if len(sys.argv) > 4 else 1e9)
    elif what == "flies":
        if not fliegt(hof, float(sys.argv[3])):
            sys.exit("the ball never flew")
    elif what == "serve":
        end = time.time() + 10
        while time.time() < end:
            hof.schau()
            b = hof.ball(32, 48)
            if b:
                print(b[0], b[1], hof.schlaeger())
                return
            time.sleep(0.01)
        sys.exit("no falling ball at the serving side")
    elif what == "hold":
        halte(d, win, hof, sys.argv[3], float(sys.argv[4]))
    elif what == "paddle":
        hof.schau()
        print(hof.schlaeger())


main()
