#!/usr/bin/env python3
"""A player for the end-to-end checks of Memory and the capitals quiz: it looks at the screen
(the X server's pixels), clicks with xdotool, and plays to win or to lose.

  denkspieler.py memory gewinnen|verlieren
  denkspieler.py quiz gewinnen|verlieren INK_FILE

Memory: it tells the cards apart by their background colours and remembers every card it has
seen turned, by itself or by the computer; it knows whose turn it is from the rules (it begins
every deal, a miss hands over) and learns that the computer's turn is over from the computer's
two cards going face down. Winning, it takes every pair it knows; losing, it turns two cards it
knows to differ wherever it can. Prints W, L or U (a draw, whose message box it answers before
it plays the new deal too) for each game it sees end.

Quiz: it reads the four answers by their ink, column by column, against the list the game
program prints with --hdw-tinte, finds the country whose answers they are, and clicks the
right one (or a wrong one). Prints one line per question it answers.
"""
import ctypes
import os
import subprocess
import sys
import time

from xfenster import XImage, x11

START = time.monotonic()
X = x11
X.XDefaultRootWindow.restype = ctypes.c_ulong
X.XDefaultRootWindow.argtypes = [ctypes.c_void_p]
X.XDestroyImage.argtypes = [ctypes.POINTER(XImage)]
ANZEIGE = X.XOpenDisplay(None)
WURZEL = X.XDefaultRootWindow(ANZEIGE)


class Bild:
    """The screen's pixels in a rectangle (what the player sees)."""

    def __init__(self, x, y, w, h):
        bild = X.XGetImage(ANZEIGE, WURZEL, x, y, w, h, ctypes.c_ulong(-1).value, 2)
        if not bild:
            raise RuntimeError("no screen image")
        b = bild.contents
        self.w, self.h, self.zeile = w, h, b.bytes_per_line
        self.daten = ctypes.string_at(b.data, b.bytes_per_line * h)
        X.XDestroyImage(bild)

    def rgb(self, x, y):
        i = y * self.zeile + x * 4
        return self.daten[i + 2], self.daten[i + 1], self.daten[i]


def fenster_id(titel):
    """The id of a window of that title, or None."""
    baum = subprocess.run(["xwininfo", "-root", "-tree"], capture_output=True, text=True).stdout
    for zeile in baum.splitlines():
        if '"%s"' % titel in zeile:
            return zeile.split()[0]
    return None


def fenster(titel, warten=10.0):
    """The window of that title as (x, y, w, h) on the screen, or None."""
    ende = time.time() + warten
    while True:
        baum = subprocess.run(["xwininfo", "-root", "-tree"], capture_output=True, text=True).stdout
        for zeile in baum.splitlines():
            if '"%s"' % titel in zeile:
                wid = zeile.split()[0]
                info = subprocess.run(["xwininfo", "-id", wid], capture_output=True, text=True).stdout
                werte = {}
                for z in info.splitlines():
                    if ":" in z:
                        k, v = z.split(":", 1)
                        werte[k.strip()] = v.strip()
                try:
                    if werte.get("Map State") == "IsViewable":
                        return (int(werte["Absolute upper-left X"]), int(werte["Absolute upper-left Y"]),
                                int(werte["Width"]), int(werte["Height"]))
                except (KeyError, ValueError):
                    pass
        if time.time() >= ende:
            return None
        time.sleep(0.1)


def warte_weg(titel, sekunden):
    """Whether the window of that title is gone within the time."""
    ende = time.time() + sekunden
    while fenster_id(titel):
        if time.time() >= ende:
            return False
        time.sleep(0.1)
    return True


def melde(*teile):
    if os.environ.get("DENKSPIELER_LOG"):
        print("%6.1f" % (time.monotonic() - START), *teile, file=sys.stderr, flush=True)


def foto(name):
    """A screenshot for the check's report, where DENKSPIELER_BILDER names a folder."""
    ordner = os.environ.get("DENKSPIELER_BILDER")
    if ordner:
        subprocess.run(["timeout", "20", "import", "-window", "root", os.path.join(ordner, name + ".png")])


def klicke(x, y):
    subprocess.run(["xdotool", "mousemove", str(x), str(y), "click", "1"], check=True)


def nah(a, b, grenze):
    return sum((p - q) ** 2 for p, q in zip(a, b)) <= grenze * grenze


# ---- Memory ------------------------------------------------------------------------------------

KARTEN = {1: (250, 240, 215), 2: (150, 205, 250), 3: (20, 26, 70), 4: (110, 40, 130),
          5: (225, 240, 250), 6: (40, 140, 190), 7: (190, 230, 160), 8: (210, 190, 150),
          "R": (30, 60, 140), "L": (212, 208, 200)}
# Four points near a card's corners, off the pattern of its back: all four agree unless a flying
# card covers part of the cell.
ECKEN = [(4, 5), (92, 5), (5, 92), (91, 92)]


def klasse(rgb):
    beste = min(KARTEN, key=lambda k: sum((p - q) ** 2 for p, q in zip(rgb, KARTEN[k])))
    return beste if nah(rgb, KARTEN[beste], 40) else None


class Memory:
    def __init__(self, modus):
        self.modus = modus
        self.ort = fenster("Memory")
        if not self.ort:
            raise RuntimeError("no Memory window")
        self.bekannt = {}
        self.paare = [0, 0]
        self.zuege = 0
        # The cards of the misses seen so far, newest last: the computer keeps the last six.
        self.fehlgriffe = []
        # A deal begins with all sixteen cards face down; anything else (a window not painted
        # yet, the last deal behind its message box) is not one to play.
        if self.warte_auf(lambda z: all(k == "R" for k in z), 10) is None:
            raise RuntimeError("no new deal in the Memory window: %s" % self.zellen())

    def zellen(self):
        """Per card position: a face 1..8, "R" (back), "L" (removed) or None (unclear)."""
        x, y, w, h = self.ort
        b = Bild(x, y, w, h)
        z = []
        for i in range(16):
            cx, cy = (i % 4) * 104, (i // 4) * 104
            k = [klasse(b.rgb(cx + dx, cy + dy)) for dx, dy in ECKEN]
            z.append(k[0] if all(e == k[0] for e in k) else None)
        for i, k in enumerate(z):
            if isinstance(k, int):
                self.bekannt[i] = k
        return z

    def warte_auf(self, bedingung, sekunden):
        ende = time.time() + sekunden
        while time.time() < ende:
            z = self.zellen()
            if bedingung(z):
                return z
            time.sleep(0.05)
        return None

    def klicke_karte(self, i):
        """Turns card i. The game drops a click made before it waits for one (after the
        computer's miss it lets half a second pass first), so a card that stays face down is
        clicked again, as a player would."""
        x, y, _, _ = self.ort
        for _ in range(3):
            klicke(x + (i % 4) * 104 + 48, y + (i // 4) * 104 + 48)
            if self.warte_auf(lambda z: isinstance(z[i], int), 1.5) is not None:
                return
        raise RuntimeError("card %d does not turn on our turn: %s" % (i, self.zellen()))

    def gefuettert(self, i):
        """Whether the computer will still remember the partner of card i after our miss."""
        return any(j != i and self.bekannt.get(j) == self.bekannt.get(i) for j in self.fehlgriffe[-4:])

    def zweite(self, z, a):
        liegen = [i for i in range(16) if z[i] not in ("L", None) and i != a]
        unbekannt = [i for i in liegen if i not in self.bekannt]
        gesehen = self.bekannt[a]
        if self.modus == "gewinnen":
            partner = [i for i in liegen if self.bekannt.get(i) == gesehen]
            return (partner or unbekannt or liegen)[0]
        anders = [i for i in liegen if i in self.bekannt and self.bekannt[i] != gesehen]
        anders.sort(key=lambda i: not self.gefuettert(i))
        return (anders or unbekannt or liegen)[0]

    def erste(self, z):
        liegen = [i for i in range(16) if z[i] == "R"]
        if not liegen:
            return None  # the window is closing
        if self.modus == "gewinnen":
            for a in liegen:
                for b in liegen:
                    if a < b and a in self.bekannt and self.bekannt.get(b) == self.bekannt[a]:
                        return a
            unbekannt = [i for i in liegen if i not in self.bekannt]
            return (unbekannt or liegen)[0]
        # Losing on purpose: a card whose partner the computer remembers, so it finds the pair.
        bekannte = [i for i in liegen if i in self.bekannt]
        bekannte.sort(key=lambda i: not self.gefuettert(i))
        return (bekannte or liegen)[0]

    def mein_zug(self):
        """Turns two cards; True when they were a pair (then it is our turn again)."""
        z = self.zellen()
        a = self.erste(z)
        if a is None:
            return None  # no card face down: the deal is over
        self.klicke_karte(a)
        b = self.zweite(self.zellen(), a)
        self.klicke_karte(b)
        melde("ich", a, b, self.bekannt[a], self.bekannt[b])
        self.zuege += 1
        if self.zuege == 3:
            foto("memory_%s_mitte" % self.modus)
        if "R" not in self.zellen():
            foto("memory_%s_letztes_paar" % self.modus)
        if self.bekannt[a] == self.bekannt[b]:
            self.paare[0] += 1
            # The pair flies for a second to the player's row; clicks before it lands are lost.
            self.warte_auf(lambda z: z[a] == "L" and z[b] == "L", 5)
            time.sleep(1.2)
            return True
        self.warte_auf(lambda z: z[a] == "R" and z[b] == "R", 5)
        self.fehlgriffe += [a, b]
        return False

    def computer_zug(self):
        """Watches the computer until its turn ends; False when the game is over."""
        gesehen = set()
        ende = time.time() + 60
        while time.time() < ende:
            z = self.zellen()
            if not self.offen():
                return False
            oben = {i for i in range(16) if isinstance(z[i], int)}
            if oben - gesehen:
                melde("computer", sorted(oben), z)
                if len(oben) == 2 and "R" not in z:
                    foto("memory_%s_letztes_paar" % self.modus)
            gesehen |= oben
            if len(gesehen) >= 2 and not oben:
                if all(z[i] == "L" for i in gesehen):
                    self.paare[1] += 1
                    gesehen = set()
                elif all(z[i] == "R" for i in gesehen):
                    self.fehlgriffe += sorted(gesehen)
                    time.sleep(0.7)
                    return True
            if all(k == "L" for k in z):
                return False  # its last pair ended the deal
            time.sleep(0.05)
        raise RuntimeError("the computer's turn does not end")

    def offen(self):
        return fenster("Memory", 0) == self.ort

    def spiele(self):
        zug = True
        unklar = None
        while True:
            if not self.offen() or all(k == "L" for k in self.zellen()):
                return
            if zug:
                ergebnis = self.mein_zug()
                melde("mein Zug:", ergebnis)
                if ergebnis is None:
                    # The last pair is still on its way off the table.
                    unklar = unklar or time.time() + 10
                    if time.time() > unklar:
                        raise RuntimeError("no card to turn, but the deal goes on: %s" % self.zellen())
                    time.sleep(0.3)
                    continue
                unklar = None
                zug = ergebnis
            elif not self.computer_zug():
                return
            else:
                zug = True


def memory(modus):
    while True:
        m = Memory(modus)
        m.spiele()
        # A draw shows its message in a box of its own before the new deal; the box is given the
        # keyboard before Return, which would otherwise go to whichever window has it.
        if fenster("Norvalde", 3):
            foto("memory_%s_unentschieden" % modus)
            subprocess.run(["xdotool", "windowfocus", fenster_id("Norvalde")])
            subprocess.run(["xdotool", "key", "Return"])
            if not warte_weg("Norvalde", 5):
                raise RuntimeError("the draw's message box stays after Return")
            print("U %d:%d" % tuple(m.paare), flush=True)
            continue
        print(("W" if m.paare[0] > m.paare[1] else "L") + " %d:%d" % tuple(m.paare), flush=True)
        return


# ---- Capitals quiz -----------------------------------------------------------------------------

ANTWORTEN = [(8, 152), (208, 152), (8, 192), (208, 192)]


def tinte(b, x0, y0):
    """The ink of an answer label as the player reads it; None while the label is disabled."""
    spalten = []
    for x in range(x0, x0 + 193):
        n = 0
        for y in range(y0, y0 + 33):
            r, g, bl = b.rgb(x, y)
            n += 170 <= r <= 210 and g > 230 and bl > 230
        spalten.append(n)
    while spalten and spalten[-1] == 0:
        spalten.pop()
    while spalten and spalten[0] == 0:
        spalten.pop(0)
    return ",".join(map(str, spalten)) if spalten else None


def quiz(modus, tintendatei):
    liste = []
    for zeile in open(tintendatei, encoding="utf-8"):
        teile = zeile.rstrip("\n").split("|")
        liste.append((teile[0], [t.split(":", 1) for t in teile[1:]]))
    gefragt = []
    while True:
        ort = fenster("Form3", 3)
        if not ort:
            return
        b = Bild(*ort)
        gelesen = [tinte(b, x, y) for x, y in ANTWORTEN]
        if None in gelesen:
            time.sleep(0.1)
            continue
        land = [(n, a) for n, a in liste if sorted(t for _, t in a) == sorted(gelesen)]
        if len(land) != 1:
            raise RuntimeError("cannot read the answers: %d countries fit" % len(land))
        name, antworten = land[0]
        richtig = gelesen.index(antworten[0][1])
        wahl = richtig if modus == "gewinnen" else (richtig + 1) % 4
        print("%s: %s -> %s" % (name, antworten[0][0], [t for t, i in antworten if i == gelesen[wahl]][0]),
              flush=True)
        x, y = ANTWORTEN[wahl]
        erste = not gefragt
        gefragt.append(name)
        if erste:
            foto("quiz_%s_frage" % modus)
        klicke(ort[0] + x + 96, ort[1] + y + 16)
        if erste:
            time.sleep(0.15)
            foto("quiz_%s_urteil" % modus)
            foto("quiz_%s_urteil2" % modus)
        time.sleep(1)


if __name__ == "__main__":
    if sys.argv[1] == "memory":
        memory(sys.argv[2])
    else:
        quiz(sys.argv[2], sys.argv[3])
