#!/usr/bin/env python3
"""Writes the seed corpus under fuzz/corpus/. Every seed is made here; none comes from the game.

Usage: fuzz/make_seeds.py   (rewrites the seeds in place; they are small and committed)
"""
import json
import os

HERE = os.path.dirname(os.path.abspath(__file__))
CORPUS = os.path.join(HERE, "corpus")


def stored(text, width):
    """The editor's typed text: text, one NUL, spaces; full width keeps no NUL."""
    data = text if isinstance(text, bytes) else text.encode("cp1252")
    return data[:width] if len(data) >= width else data + b"\0" + b" " * (width - len(data) - 1)


def tileset_file(names, entries):
    """names: T raw or text names; entries: T lists of E raw or text entries."""
    out = bytes([len(names), len(entries[0]), 0, 0, 0])
    for name, row in zip(names, entries):
        out += name if len(name) == 33 and isinstance(name, bytes) else stored(name, 33)
        for entry in row:
            out += entry if len(entry) == 32 and isinstance(entry, bytes) else stored(entry, 32)
    return out


def seeds_tilesetload():
    two_by_three = tileset_file(["Generic", "Other"], [["a", "b", "c"], ["d", "e", "f"]])
    assert len(two_by_three) == 263
    padded = tileset_file([b"Grass" + b"\0" * 28], [[
        b"tree" + b"\0" * 28,                    # NUL padded
        b"\0ghost" + b" " * 26,                  # never assigned, junk after the NUL
        b"W" * 32,                               # full width, no NUL
        b"ab\0" + b"-" * 28 + b"z",              # NUL inside, no terminator kept
    ]])
    high = tileset_file([bytes(range(0xA0, 0xC1))], [[bytes(range(0x80, 0xA0)), b"\xff\xe9t\xe9"]])
    return {
        "2x3.dat": two_by_three,
        "1x1.dat": tileset_file(["Only"], [["one.bmp"]]),
        "header-only.dat": bytes([2, 3, 0, 0, 0]),
        "truncated.dat": two_by_three[:200],
        "short-for-counts.dat": bytes([255, 255, 0, 0, 0]) + b"x" * 64,
        "nul-padded.dat": padded,
        "high-bytes.dat": high,
        "trailing.dat": two_by_three + b"trailing bytes",
    }


def seeds_tilesetimport():
    def control(target, answer):  # see fuzz_tilesetimport.cpp
        return bytes([target | ((answer + 1) << 2)])
    file = seeds_tilesetload()["2x3.dat"]
    return {
        "choose-1-into-0": control(0, 1) + b"\x03" + file,
        "choose-0-into-2": control(2, 0) + b"\x03" + file,
        "cancel": control(1, -1) + b"\x03" + file,
        "other-entries": control(0, 0) + b"\x04" + file,
        "no-such-target": control(3, 0) + b"\x03" + file,
        "padded-1x4": control(0, 0) + b"\x04" + seeds_tilesetload()["nul-padded.dat"],
    }


def seeds_settings():
    written = ("[HMKTSE-Settings]\r\nLastOpened= /home/me/hmkset.dat\r\nWindowLeft= 1200\r\n"
               "WindowTop= 900\r\nWindowWidth= 9600\r\nWindowHeight= 7200\r\nSizerLeft= 3000\r\n"
               "ShowDescriptions= 1\r\nOpenLastFileOnStartup= 0\r\nSelectedEntry= 17\r\n")
    odd = ("[HMKTSE-Settings]\nlastopened =  C:\\Spiele\\Harrowmark\\hmkset.dat  \n"
           "windowleft=7000px\rWINDOWTOP = 1 2 3\r\nno equals sign here\n"
           "WindowWidth= -2.5\nWindowHeight= 99999\nSizerLeft= +0.51\n[other]\n"
           "SelectedEntry=.5\nShowDescriptions= -32768\nOpenLastFileOnStartup=32767.5")
    return {
        "written.ini": written.encode(),
        "odd-lines.ini": odd.encode(),
        "utf8-path.ini": "LastOpened= /home/jörg/Ährenfeld €.dat\nSelectedEntry= 150\n".encode(),
        "bad-utf8.ini": b"LastOpened= \xff\xfe\xc3(\r\nWindowLeft= \xe2\x82\r\n",
        "empty.ini": b"",
    }


def seeds_descriptions():
    lines = [f"Entry {k}: ground tile" for k in range(8)]
    short = ("\r\n".join(lines) + "\r\n").encode()
    mixed = b"first\nsecond\rthird\r\n\r\nfifth \xe9t\xe9 \x80 \x81\n\tsixth\x00\n"
    many = "\n".join(f"d{k}" for k in range(160)).encode()
    return {"short.txt": short, "mixed-ends.txt": mixed, "161-lines.txt": many, "empty.txt": b""}


def seeds_hmksetjson():
    def document(sets, entries):
        return {"format": "hmkset", "tilesets": len(sets), "entriesPerTileset": entries,
                "sets": [{"name": n, "entries": e} for n, e in sets]}
    minimal = document([("Only", ["one.bmp"])], 1)
    mixed = document([
        ("Generic", [None, "grass.bmp", {"hex": "61" + "00" * 30 + "7a"}]),
        ("A name exactly thirty-three long!", ["x" * 32, "Ährenfeld €", {"hex": "FF" * 32}]),
    ], 3)
    assert len(mixed["sets"][1]["name"]) == 33
    refused = dict(minimal, format="other", extra=True)
    out = {
        "minimal.json": json.dumps(minimal, indent=2),
        "null-hex-full-width.json": json.dumps(mixed, indent=2, ensure_ascii=False),
        "escapes.json": json.dumps(document([("tab\there", ["\u0000\u0081\u00a0"])], 1)),
        "refused.json": json.dumps(refused),
        "bad-count.json": json.dumps(dict(minimal, tilesets=1.5)),
    }
    return {name: (text + "\n").encode() for name, text in out.items()}


def main():
    for target, seeds in [("fuzz_tilesetload", seeds_tilesetload()),
                          ("fuzz_tilesetimport", seeds_tilesetimport()),
                          ("fuzz_settings", seeds_settings()),
                          ("fuzz_descriptions", seeds_descriptions()),
                          ("fuzz_hmksetjson", seeds_hmksetjson())]:
        folder = os.path.join(CORPUS, target)
        os.makedirs(folder, exist_ok=True)
        for name, data in seeds.items():
            with open(os.path.join(folder, name), "wb") as f:
                f.write(data)


if __name__ == "__main__":
    main()
