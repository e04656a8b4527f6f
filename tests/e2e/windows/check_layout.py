#!/usr/bin/env python3
# Checks the controls of a window from the bounds the program's self-test
# wrote (dump-bounds): the native bounds of every control, the bounds the
# framework gave it, its preferred size, and the size its text needs in its
# own font (measured with the real font by the program).
#
# For every shown control: it lies inside the client area, overlaps no
# other, is at least as big as its text needs, and sits where the framework
# put it. Then the window's own arrangement is recomputed from the native
# bounds, the preferred sizes and the layout distances (s2, s3, s5, s8: 2,
# 3, 5 and 8 layout units in pixels), rule by rule:
#   main  the main window (splash, options, the two buttons)
#   info  the book information dialog
#   log   the log window (the list and its two scroll bars)
#
#   check_layout.py main|info|log BOUNDS-FILE
import shlex
import sys


def read(path):
    window, controls = None, {}
    with open(path, encoding="utf-8") as f:
        for line in f:
            words = shlex.split(line)
            if not words:
                continue
            fields = dict(w.split("=", 1) for w in words[1:])
            for k, v in fields.items():
                if k not in ("title", "text", "class"):
                    fields[k] = int(v)
            if words[0] == "window":
                window = fields
            elif fields.get("visible"):
                controls[fields["id"]] = fields
    return window, controls


class Checker:
    def __init__(self, window, controls):
        self.window, self.c, self.failures = window, controls, []

    def expect(self, what, actual, wanted):
        if actual != wanted:
            self.failures.append("%s: %s, the layout gives %s" % (what, actual, wanted))

    def control(self, cid):
        if cid not in self.c:
            self.failures.append("control %d is not shown" % cid)
            return None
        return self.c[cid]

    def general(self):
        W, H = self.window["clientw"], self.window["clienth"]
        items = sorted(self.c.values(), key=lambda k: k["id"])
        for k in items:
            name = "control %d (%s %r)" % (k["id"], k["class"], k["text"])
            if k["tx"] < 0 or k["ty"] < 0 or k["tx"] + k["w"] > W or k["ty"] + k["h"] > H:
                self.failures.append("%s at %d,%d %dx%d leaves the client area %dx%d"
                                     % (name, k["tx"], k["ty"], k["w"], k["h"], W, H))
            if k["w"] < k["needw"] or k["h"] < k["needh"]:
                self.failures.append("%s is %dx%d; its text needs %dx%d"
                                     % (name, k["w"], k["h"], k["needw"], k["needh"]))
            if "fx" in k:
                self.expect("%s native bounds" % name, (k["x"], k["y"], k["w"], k["h"]),
                            (k["fx"], k["fy"], k["fw"], k["fh"]))
        for i, a in enumerate(items):
            for b in items[i + 1:]:
                if (a["tx"] < b["tx"] + b["w"] and b["tx"] < a["tx"] + a["w"] and
                        a["ty"] < b["ty"] + b["h"] and b["ty"] < a["ty"] + a["h"]):
                    self.failures.append("controls %d and %d overlap" % (a["id"], b["id"]))

    def preferred(self, k):
        self.expect("control %d size" % k["id"], (k["w"], k["h"]), (k["pw"], k["ph"]))

    def buttons(self, left, right):
        # Both as wide as the wider of the two and as tall as the taller.
        width = max(left["pw"], right["pw"])
        height = max(left["ph"], right["ph"])
        for k in (left, right):
            self.expect("button %d size" % k["id"], (k["w"], k["h"]), (width, height))
        self.expect("buttons' top", right["y"], left["y"])
        self.expect("gap between the buttons", right["x"] - (left["x"] + left["w"]), self.window["s5"])
        return width, height

    def main(self):
        w = self.window
        W, H, s2, s5, s8 = w["clientw"], w["clienth"], w["s2"], w["s5"], w["s8"]
        splash, over, prompt, pages, dictionary, make, quit_ = (
            self.control(i) for i in (325, 326, 327, 334, 328, 12, 30))
        if None in (splash, over, prompt, pages, dictionary, make, quit_):
            return
        for k in (splash, over, prompt, pages, dictionary):
            self.preferred(k)
        self.expect("splash position", (splash["x"], splash["y"]), ((W - splash["w"]) // 2, s5))
        self.expect("Overwrite box position", (over["x"], over["y"]), (s5, splash["y"] + splash["h"] + s5))
        self.expect("Prompt box position", (prompt["x"], prompt["y"]), (s5 + s8, over["y"] + over["h"] + s2))
        self.expect("Page tables box position", (pages["x"], pages["y"]), (s5, prompt["y"] + prompt["h"] + s5))
        self.expect("Dictionary box position", (dictionary["x"], dictionary["y"]),
                    (s5, pages["y"] + pages["h"] + s5))
        width, height = self.buttons(make, quit_)
        self.expect("buttons' bottom", make["y"] + height, H - s5)
        self.expect("Make Book... button left (the pair centred)", make["x"], (W - (2 * width + s5)) // 2)

    def info(self):
        w = self.window
        W, H, s2, s3, s5 = w["clientw"], w["clienth"], w["s2"], w["s3"], w["s5"]
        captions = [self.control(i) for i in range(337, 342)]
        fields = [self.control(i) for i in range(344, 349)]
        note, explanation, ok, cancel = (self.control(i) for i in (342, 343, 1, 2))
        if None in captions + fields + [note, explanation, ok, cancel]:
            return
        for k in captions + fields + [note]:
            self.preferred(k)
        widest = max(k["w"] for k in captions)
        row = max(k["h"] for k in captions + fields)
        top = s5
        for i, (caption, field) in enumerate(zip(captions, fields)):
            self.expect("caption %d right edge" % caption["id"], caption["x"] + caption["w"], s5 + widest)
            self.expect("caption %d top" % caption["id"], caption["y"], top + (row - caption["h"]) // 2)
            self.expect("field %d left" % field["id"], field["x"], s5 + widest + s2)
            self.expect("field %d top" % field["id"], field["y"], top + (row - field["h"]) // 2)
            if i == 0:
                # The note right under the title field, flush with its right
                # edge; the next row starts below the note.
                self.expect("note position", (note["x"] + note["w"], note["y"]),
                            (field["x"] + field["w"], field["y"] + field["h"]))
                top = max(top + row, note["y"] + note["h"]) + s3
            else:
                top += row + s3
        width, height = self.buttons(ok, cancel)
        self.expect("Cancel button's bottom right corner", (cancel["x"] + width, cancel["y"] + height),
                    (W - s5, H - s5))
        self.expect("explanation bounds", (explanation["x"], explanation["y"], explanation["w"], explanation["h"]),
                    (s5, cancel["y"] - s5 - 4 * height, W - 2 * s5, 4 * height))

    def log(self):
        W, H = self.window["clientw"], self.window["clienth"]
        lst, horizontal, vertical = (self.control(i) for i in (312, 313, 314))
        if None in (lst, horizontal, vertical):
            return
        t = vertical["pw"]
        if t <= 0:
            self.failures.append("the vertical scroll bar has no preferred width")
        self.expect("list bounds", (lst["x"], lst["y"], lst["w"], lst["h"]), (0, 0, W - t, H - t))
        self.expect("vertical scroll bar bounds", (vertical["x"], vertical["y"], vertical["w"], vertical["h"]),
                    (W - t, 0, t, H - t))
        self.expect("horizontal scroll bar bounds",
                    (horizontal["x"], horizontal["y"], horizontal["w"], horizontal["h"]), (0, H - t, W - t, t))


def main():
    if len(sys.argv) != 3 or sys.argv[1] not in ("main", "info", "log"):
        print("usage: check_layout.py main|info|log BOUNDS-FILE", file=sys.stderr)
        return 2
    window, controls = read(sys.argv[2])
    if window is None or not controls:
        print("check_layout: %s holds no window or no shown control" % sys.argv[2], file=sys.stderr)
        return 1
    checker = Checker(window, controls)
    checker.general()
    getattr(checker, sys.argv[1])()
    for failure in checker.failures:
        print("check_layout %s: %s" % (sys.argv[1], failure), file=sys.stderr)
    if not checker.failures:
        print("check_layout %s: %d controls inside %dx%d, none overlapping, each where the layout puts it"
              % (sys.argv[1], len(controls), window["clientw"], window["clienth"]))
    return 1 if checker.failures else 0


if __name__ == "__main__":
    sys.exit(main())
