#!/usr/bin/env python3
"""Writes resources/chords/ZODireda.dat, the user chord dictionary that a new
user starts with (start-up copies it into the user's data folder when the user
has none). Run it from the repository root after changing the list below:

    python3 tools/chordgen/default_dictionary.py

Each chord: tuning string, root code, type name, details, and the frets from
the lowest string to the highest ('x' not played). The records follow the
dictionary file's fixed layout: 132 bytes, '$' at column 129, CR LF."""

STANDARD = "E A D G B E  323742475156"
DROP_D = "D A D G B E  303742475156"
DADGAD = "D A D G A D  303742474954"

CHORDS = [
    (STANDARD, "C ", "6/9", "Jazz colour, no fifth", "x32233"),
    (STANDARD, "F ", "maj7#11", "Open strings ring", "1x2200"),
    (STANDARD, "E ", "m11", "All six open strings", "000000"),
    (STANDARD, "A ", "m11", "Open, first finger only", "x00010"),
    (STANDARD, "G ", "(major)", "Rock G, no third on top", "320033"),
    (STANDARD, "D ", "6/9", "Open D with B and E", "xx0200"),
    (DROP_D, "D ", "(major)", "Drop D, full six strings", "000232"),
    (DROP_D, "D ", "5", "Drop D power chord", "000xxx"),
    (DADGAD, "D ", "sus4", "DADGAD, all open", "000000"),
    (DADGAD, "G ", "sus2", "DADGAD G, open top strings", "55x000"),
]


def shape_head(frets):
    """The base-fret character and one character per string: '9' not
    played, '0' open, else the fret row (base 0 up to fret 4)."""
    values = [None if f == "x" else int(f) for f in frets]
    fretted = [v for v in values if v]
    highest = max(fretted, default=0)
    base = 0 if highest <= 4 else min(fretted)
    assert base == 0 or highest - base < 4, frets
    out = chr(ord("0") + base)
    for v in values:
        out += "9" if v is None else "0" if v == 0 else chr(ord("0") + (v if base == 0 else v - base + 1))
    return out


def record(tuning, root, name, details, frets):
    head = shape_head(frets)
    text = (tuning[:13] + " ").ljust(14)
    text += "^" + tuning[13:].ljust(14)
    text += "^" + root
    text += "^" + ("" if name == "(major)" else name).ljust(20)
    text += "^" + details.ljust(30)
    text += "^" + " " * 8            # variation hint
    text += "^" + (head + "   ").ljust(10)
    text += "^" + " 0110"            # display flags: hint with name, no variation number
    text += "^" + "640"              # six strings, four fret rows, no high rows
    text += "000" + " "              # arcs, fret position right, treble tuning
    text += " " * 11                 # no fingering
    text += "$\r\n"
    assert len(text) == 132, (len(text), text)
    return text


def main():
    data = "".join(record(*chord) for chord in CHORDS)
    with open("resources/chords/ZODireda.dat", "wb") as out:
        out.write(data.encode("ascii"))


if __name__ == "__main__":
    main()
