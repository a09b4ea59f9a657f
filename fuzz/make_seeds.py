#!/usr/bin/env python3
"""Writes the committed seed inputs of the text and binary fuzz targets (the
score-file seeds come from the reliability tests' sample scores, see
fuzz/README.md). Run from anywhere: python3 fuzz/make_seeds.py"""
import os
import struct

HERE = os.path.dirname(os.path.abspath(__file__))


def put(target, name, data):
    folder = os.path.join(HERE, target, "seeds")
    os.makedirs(folder, exist_ok=True)
    with open(os.path.join(folder, name), "wb") as f:
        f.write(data if isinstance(data, bytes) else data.encode("latin-1"))


# Standard MIDI Files.
def vlq(n):
    out = [n & 0x7F]
    n >>= 7
    while n:
        out.insert(0, (n & 0x7F) | 0x80)
        n >>= 7
    return bytes(out)


def track(body):
    body += b"\x00\xff\x2f\x00"
    return b"MTrk" + struct.pack(">I", len(body)) + body


def smf(fmt, tracks, division=480):
    return b"MThd" + struct.pack(">IHHH", 6, fmt, len(tracks), division) + b"".join(tracks)


notes = b"".join(vlq(0 if i == 0 else 240) + bytes([0x90, 60 + i, 100]) + vlq(240) + bytes([0x80, 60 + i, 0]) for i in range(4))
put("midi_file", "format0-notes.mid", smf(0, [track(notes)]))
tempo = b"\x00\xff\x51\x03\x07\xa1\x20" + b"\x00\xff\x58\x04\x04\x02\x18\x08" + b"\x00\xff\x03\x05Piano"
running = b"\x00\x91\x40\x50" + b"\x60\x43\x50" + b"\x60\x40\x00" + b"\x00\x43\x00" + b"\x00\xc1\x18" + b"\x10\xe1\x00\x40"
put("midi_file", "format1-tempo-running-status.mid", smf(1, [track(tempo), track(running)]))
sysex = b"\x00\xf0\x05\x7e\x7f\x09\x01\xf7" + b"\x10\xf0\x03\x43\x10\x4c" + b"\x05\xf7\x03\x00\x00\xf7" + b"\x00\xf7\x02\x01\x02"
put("midi_file", "sysex-packets-and-escape.mid", smf(1, [track(sysex + b"\x00\x90\x3c\x40\x60\x80\x3c\x00")]))
late = b"\x00\x90\x3c\x40\x60\x80\x3c\x00" + b"\x83\x60\xff\x01\x03end" + b"\xff\xff\xff\x7f\xff\x06\x01x"
put("midi_file", "metas-after-last-note.mid", smf(1, [track(late)], 96))
put("midi_file", "unknown-chunk.mid", b"MThd" + struct.pack(">IHHH", 6, 1, 1, 480) + b"XFIH" + struct.pack(">I", 3) + b"abc" + track(notes))

# Settings file.
put("settings_file", "preferences.txt",
    "# Stavlin preferences\nStaffLines3=1,112,0\nTabFont=16,0,0,0,700,0,0,0,0,3,2,1,34,Arial\n"
    "Empty\nEscaped\\x3dName=back\\\\slash\\ttab\\nline\nRecent=C:\\\\scores\\\\\xc3\xa9tude.svd\n")
put("settings_file", "damaged-lines.txt", "no equals sign\n=value without name\nBad\\q=1\nDup=1\ndup=2\n\xff\xfe\n")

# The preference groups: every group the program reads, under its own name,
# with its default text, and with numbers far outside every range.
def preference_groups():
    import re
    source = open(os.path.join(HERE, "..", "src", "doc", "pref_values", "PreferenceGroups.cpp"), encoding="utf-8").read()
    names = re.findall(r'"([0-9A-Za-z]+)"', source[source.index("kNames"):source.index("};")])
    defaults = {}
    # Cases that share one return: each of them takes its text.
    for cases, text in re.findall(r'((?:case KPrefGroup::k\w+:\s*)+)return ((?:"[^"]*"\s*)+);', source):
        for enum in re.findall(r'KPrefGroup::k(\w+)', cases):
            defaults[enum] = "".join(re.findall(r'"([^"]*)"', text))
    defaults.setdefault("StartFolder", "/home/user/Documents/Stavlin/Samples/")
    defaults.setdefault("LastOpenFile", "/home/user/Documents/Stavlin/Samples/_Welcome To Stavlin_.svd")
    defaults.setdefault("ChordNameFont", "15,0,0,0,700,0,0,0,0,3,2,1,34,Arial")
    return [(name, defaults[name]) for name in names]


def settings_text(groups):
    return "".join("%s=%s\n" % (name, text) for name, text in groups)


def numbers_replaced(text, number):
    """The group with each of its numbers replaced (a font keeps its face)."""
    parts = text.split(",")
    if not all(p.lstrip("-").isdigit() for p in parts[:-1]):
        return text
    last = parts[-1] if not parts[-1].lstrip("-").isdigit() else str(number)
    return ",".join([str(number)] * (len(parts) - 1) + [last])


groups = preference_groups()
put("preferences", "every-group-default.txt", settings_text(groups))
for name, number in (("largest", 2147483647), ("smallest", -2147483648), ("zero", 0), ("minus-one", -1), ("nine", 9)):
    put("preferences", "every-group-%s.txt" % name,
        settings_text([(group, numbers_replaced(text, number)) for group, text in groups]))
put("preferences", "clipping-code-as-large-as-an-int.txt", "PrintCorr=100,100,2147483647,2,2,0\n")

# ABC.
put("abc", "tune.abc",
    "X:1\nT:Speed the Plough\nM:4/4\nL:1/8\nQ:1/4=120\nK:G\n"
    "|:GABc dedB|dedB dedB|c2ec B2dB|c2A2 A2BA|\n"
    "GABc dedB|\"G\"dedB dedB|c2ec B2dB|1 A2F2 G4:|2 A2F2 G2z2|]\n")
put("abc", "features.abc",
    "X:2\nT:Features\nC:Trad\nM:6/8\nL:1/16\nK:Dm\n"
    "(3abc ^f_g=a | A,B,C D'E'F' | [CEG]2 z4 | a>b c<d | {g}a2 ~b2 .c2 |\\\n"
    "!fermata!d6- | d6 || \"Am\"e3 \"^text\"f3 |]\nw: some words here\n%comment\nM:C|\nK:Bb\nB,4 b'4|]\n")

# Plain-text tablature.
put("text_tab", "six-strings.txt", "\x01" +
    "e|-----0-----|-----3-----|\nB|---1---1---|---0---0---|\nG|-0-------0-|-0-------0-|\n"
    "D|-2---------|-----------|\nA|-3---------|-2---------|\nE|-----------|-3---------|\n")
put("text_tab", "bass-and-techniques.txt", "\x00" +
    "G|--5h7p5--|--12--x--|\nD|-----7/9-|--10\\9----|\nA|-0-------|--------0|\nE|---------|-3~------|\n\nchords: Am G\n")


# Chord dictionary.
def record(root, ctype, head="0032010", tuning="E A D G B E  323742475156", details=""):
    r = [" "] * 132
    for c in (14, 29, 32, 53, 84, 93, 104, 110):
        r[c] = "^"

    def p(col, text):
        for i, ch in enumerate(text):
            r[col + i] = ch
    p(0, tuning[:13])
    p(15, tuning[13:27])
    p(30, root)
    p(33, ctype[:20])
    p(54, details[:30])
    p(94, head[:7])
    p(105, " 0000")
    r[117] = "0"
    r[129] = "$"
    r[130] = "\r"
    r[131] = "\n"
    return "".join(r)


put("chord_file", "three-chords.dat", record("C ", "") + record("C ", "m7", "x35343") + record("A ", "m", "x02210", details="open&&x"))
put("chord_file", "two-tunings.dat", record("G ", "7", "320001") + record("D ", "", "xx0232", tuning="D A D G A D  30374247 5257"))
put("chord_file", "damaged-tail.dat", record("E ", "") + record("F#", "m")[:70] + record("B ", "7"))
