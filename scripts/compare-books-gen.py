#!/usr/bin/env python3
"""Writes COUNT random LML books into OUTDIR for scripts/compare-builds.sh.

    compare-books-gen.py OUTDIR [COUNT] [SEED]

Every book NNNN.lml comes with NNNN.opts (the build options to use, one
line) and an image folder NNNN_img/ holding good, bad and odd pictures.
Roughly a third of the books are meant to build; the rest carry markup
errors of every kind the compiler reports (unknown codes, bad arguments,
cut-off arguments, bad Unicode escapes, long titles and names, missing
notes), 8-bit bytes, tabs, CR line ends and control bytes. The same seed
gives the same files.
"""
import os
import random
import struct
import sys
import zlib


def png(width, height, color_type, bit_depth=8):
    """A small PNG of one flat colour."""
    channels = {0: 1, 2: 3, 3: 1, 4: 2, 6: 4}[color_type]
    row = b"\x00" + b"\x80" * (width * channels * bit_depth // 8)
    data = zlib.compress(row * height)

    def chunk(kind, body):
        return (struct.pack(">I", len(body)) + kind + body +
                struct.pack(">I", zlib.crc32(kind + body) & 0xFFFFFFFF))

    out = b"\x89PNG\r\n\x1a\n"
    out += chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, bit_depth, color_type, 0, 0, 0))
    if color_type == 3:
        out += chunk(b"PLTE", bytes(i % 256 for i in range(3 * 256)))
    out += chunk(b"IDAT", data)
    out += chunk(b"IEND", b"")
    return out


IMAGES = {
    "gray.png": png(20, 12, 0),
    "pal.png": png(30, 30, 3),
    "wide.png": png(170, 10, 0),
    "tall.png": png(10, 150, 0),
    "rgb.png": png(8, 8, 2),
    "junk.png": b"not a picture at all",
    "empty.png": b"",
    "UPPER.PNG": png(5, 5, 0),
}
IMAGE_NAMES = list(IMAGES) + ["missing.png", "picture.gif", "a" * 40 + ".png", "no_ext"]

WORDS = ("the tide clock harbour wall anchor brass ladder key sunday keeper "
         "water sand colour hand dial half night morning boat rope salt "
         "Saint-Brieuc sur_mer well-known x y z").split()


class Book:
    def __init__(self, rng, valid, dictionary):
        self.rng = rng
        self.valid = valid
        self.dictionary = dictionary
        self.anchors = []
        self.refs = []
        self.sidebars = []
        self.footnotes = []
        self.out = []

    def word(self):
        r = self.rng.random()
        if r < 0.02 and not self.valid:
            return bytes([self.rng.choice([0x80, 0x8D, 0x99, 0xE9, 0xFC, 0x01, 0x07])]).decode("latin-1")
        if r < 0.04:
            return self.rng.choice(["caf\xe9", "na\xefve", "\\a233t\\a233", "50\\a037"])
        if r < 0.05:
            return "x" * self.rng.randint(30, 70)
        return self.rng.choice(WORDS)

    def text(self, n):
        return " ".join(self.word() for _ in range(n))

    def name(self):
        if self.valid:
            return "t%d" % (len(self.refs) + len(self.anchors))
        return self.rng.choice(["n", "intro", "tide", "Key", "a-b", "x_y", "long" * 25, "two words"])

    def code(self):
        rng = self.rng
        v = self.valid
        choices = [
            lambda: "\\i" + self.text(2) + "\\i",
            lambda: "\\u" + self.text(2) + "\\u",
            lambda: "\\o" + self.text(1) + "\\o",
            lambda: "\\v" + self.text(2) + "\\v",
            lambda: "\\k" + self.text(2) + "\\k",
            lambda: "\\t" + self.text(5) + "\\t",
            lambda: "\\c" + self.text(3) + "\\c",
            lambda: "\\r" + self.text(3) + "\\r",
            lambda: "\\l" + self.text(3) + "\\l",
            lambda: "\\b" + self.text(3) + "\\b",
            lambda: "\\s" + self.text(2) + "\\s",
            lambda: "\\n",
            lambda: "\\Sp2\\Sp",
            lambda: "\\Sbi\\Sb",
            lambda: "\\p",
            lambda: "\\d",
            lambda: "\\-",
            lambda: "\\\\",
            lambda: "\\U0141",
            lambda: "\\U03B1",
            lambda: '\\w="%d%%"' % rng.randint(1, 100),
            lambda: '\\T="%d%%"' % rng.randint(0, 150),
            lambda: '\\m="%s"' % rng.choice(["gray.png", "pal.png", "wide.png", "tall.png"]),
            lambda: '\\My="gray.png"',
            lambda: '\\Mz="pal.png"',
            lambda: self.heading(),
            lambda: self.chapter(),
            lambda: self.link(),
            lambda: self.anchor(),
            lambda: self.note("Sd", self.sidebars),
            lambda: self.note("Fn", self.footnotes),
        ]
        if self.dictionary or not v:
            choices.append(lambda: "\\I" + self.text(2) + "\\I")
        if not v:
            choices += [
                lambda: "\\" + rng.choice("eEGhHjJKLNOPRVWYZ0123456789!@#$&*()+{}[]<>,.;:'?/|~`^ "),
                lambda: "\\S" + rng.choice("xyzq"),
                lambda: "\\F" + rng.choice("xyz"),
                lambda: "\\M" + rng.choice("abc") + '="gray.png"',
                lambda: "\\B" + self.text(1) + "\\B",
                lambda: "\\Sp\\Sb" + self.text(1) + "\\Sb\\Sp",
                lambda: "\\Sp\\k" + self.text(1) + "\\k\\Sp",
                lambda: "\\c" + self.text(1) + "\\r" + self.text(1) + "\\r",
                lambda: "\\U" + rng.choice(["01f0", "00E9", "12", "XYZW", "E000", "2011"]),
                lambda: '\\w="%s"' % rng.choice(["50", "1234%", "5a%", "", "%", "7%x"]),
                lambda: '\\T="%s"' % rng.choice(["50", "1234%", "5a%", "150%", "0%"]),
                lambda: "\\w" + self.text(1),
                lambda: "\\T=" + self.text(1),
                lambda: '\\m="%s"' % rng.choice(IMAGE_NAMES),
                lambda: '\\m=%s' % self.text(1),
                lambda: '\\m="gray\n.png"',
                lambda: '\\q="nohash"' + self.text(1) + "\\q",
                lambda: '\\q="#%s"' % ("t" * 85) + self.text(1) + "\\q",
                lambda: '\\q="#t"\\m="gray.png"\\q',
                lambda: '\\q="#t"\\Sd="s"\\Sd\\q',
                lambda: '\\Q="%s"' % ("a" * 85),
                lambda: '\\Q=nope',
                lambda: '\\Sd=x' + self.text(1) + "\\Sd",
                lambda: '\\Fn="fn"\\i\\Fn',
                lambda: '\\Sd="s\nx"\\Sd',
                lambda: '\\C%s="%s"' % (rng.choice("059x"), self.text(2)),
                lambda: '\\C1=%s' % self.text(1),
                lambda: '\\C1="' + self.text(30) + '"',
                lambda: '\\C1="a\\ib\\U0141\\\\c\\a065\nd"',
                lambda: "\\X1" + self.text(2) + "\\X2",
                lambda: "\\X7" + self.text(1) + "\\X7",
                lambda: "\\x" + self.text(40) + "\\x",
                lambda: "\\i\\I" + self.text(1) + "\\I\\i",
                lambda: "\\I*" + self.text(1) + "\\Sp2\\Sp\\U0141\\I",
                lambda: "\\I" + self.text(40) + "\\I",
                lambda: '\\I\\Q="k"' + self.text(1) + '\\m="gray.png"\\Fn="f"z\\Fn\\I',
                lambda: "\\x\\Sd=\"s\"t\\Sd\\My=\"gray.png\"" + self.text(1) + "\\x",
            ]
        return rng.choice(choices)()

    def heading(self):
        if self.rng.random() < 0.5:
            return "\\x" + self.text(self.rng.randint(1, 4)) + "\\x"
        level = self.rng.randint(0, 4)
        return "\\X%d%s\\X%d" % (level, self.text(self.rng.randint(1, 4)), level)

    def chapter(self):
        return '\\C%d="%s"' % (self.rng.randint(0, 4), self.text(self.rng.randint(1, 5)))

    def link(self):
        target = self.name()
        self.refs.append(target)
        return '\\q="#%s"%s\\q' % (target, self.text(2))

    def anchor(self):
        target = self.name()
        self.anchors.append(target)
        return '\\Q="%s"' % target

    def note(self, code, names):
        name = self.rng.choice(["s", "one", "Two", "note-3"])
        names.append(name)
        return '\\%s="%s"%s\\%s' % (code, name, self.text(1), code)

    def build(self):
        rng = self.rng
        lines = []
        if rng.random() < 0.9 or self.valid:
            lines.append('TITLE="%s"' % self.text(3))
        if rng.random() < 0.5:
            lines.append('AUTHOR="%s"' % self.text(2))
        paragraphs = rng.randint(1, 60)
        for _ in range(paragraphs):
            parts = []
            for _ in range(rng.randint(1, 25)):
                parts.append(self.code() if rng.random() < 0.3 else self.text(rng.randint(1, 8)))
            sep = rng.choice(["\n\n", "\n", "\r\n", "\r", "\n\t", "\n    "]) if not self.valid else "\n\n"
            lines.append(" ".join(parts) + sep)
        # Anchors for the links, so that the valid books resolve them.
        for target in self.refs:
            if self.valid or rng.random() < 0.8:
                lines.append('\\Q="%s"%s\n' % (target, self.text(1)))
        body = "\n".join(lines)
        notes = []
        for tag, names in (("sidebar", self.sidebars), ("footnote", self.footnotes)):
            for name in sorted(set(names)):
                if not self.valid and rng.random() < 0.1:
                    continue
                end = "</%s>" % tag if self.valid or rng.random() < 0.9 else ""
                inner = self.text(rng.randint(1, 30))
                if not self.valid and rng.random() < 0.3:
                    inner += rng.choice(['\\m="pal.png"', '\\x', '\\Sd', '\\q', '\\m="missing.png"',
                                         '\\m="gray.png', '\\m=x', '\\C1'])
                elif rng.random() < 0.3:
                    inner += '\\m="gray.png"'
                notes.append('<%s id="%s">%s%s' % (tag, name, inner, end))
        if notes:
            body += "\n" + "\n".join(notes) + "\n"
        if not self.valid and rng.random() < 0.05:
            body += rng.choice(["\\", "\\\n", "\\a06", '\\m="gray.png', '\\C1="open', "\\T=\"5"])
        return body


def main():
    if len(sys.argv) < 2:
        sys.exit("usage: compare-books-gen.py OUTDIR [COUNT] [SEED]")
    outdir = sys.argv[1]
    count = int(sys.argv[2]) if len(sys.argv) > 2 else 500
    seed = int(sys.argv[3]) if len(sys.argv) > 3 else 12
    os.makedirs(outdir, exist_ok=True)
    for n in range(count):
        rng = random.Random(seed * 100003 + n)
        valid = n % 3 == 0
        book = Book(rng, valid, n % 7 == 3)
        text = book.build()
        if n % 50 == 49:
            # A long one: more than one text record, and more than a few pages.
            text += "\n".join(book.text(12) for _ in range(3000))
        base = os.path.join(outdir, "%04d" % n)
        with open(base + ".lml", "wb") as f:
            f.write(text.encode("latin-1"))
        opts = []
        if book.dictionary:
            opts.append("--dictionary")
        if n % 5 == 1:
            opts.append("--batch")
        if n % 11 == 4:
            opts.append("--exclude-page-tables")
        with open(base + ".opts", "w") as f:
            f.write(" ".join(opts) + "\n")
        imgdir = base + "_img"
        os.makedirs(imgdir, exist_ok=True)
        for name, data in IMAGES.items():
            with open(os.path.join(imgdir, name), "wb") as f:
                f.write(data)


if __name__ == "__main__":
    main()
