#!/usr/bin/env python3
"""Checks the width maps (LocaleMapWide) against Python's unicodedata.

Usage: check_width.py WIDTH_DUMP

WIDTH_DUMP is the width_dump tool; it prints, for every BMP character and
for every half-width katakana + half-width sound mark, the half-width and
the full-width result. The expected results are derived here from NFKC and
the character names, not from the tables the plug-in reads:

  half-width  full-width ASCII and the ideographic space: their NFKC form;
              the full-width signs U+FFE0-U+FFE6: the character named
              without "FULLWIDTH"; a character that is the NFKC form of a
              half-width katakana (U+FF61-U+FF9F): that katakana; a voiced
              katakana (NFD letter + mark): both their half-width forms; a
              spacing sound mark (NFKD SPACE + mark): the mark's.
  full-width  the reverse for ASCII, space and the signs; a half-width
              katakana: its NFKC form; a half-width letter + mark: NFKC of
              the pair (which composes ｶﾞ to ガ).
  anything else is unchanged, both ways.

Where NFKC leaves a combining sound mark (U+3099/U+309A) the maps give the
spacing one (U+309B/U+309C) instead, since code page 932 has only those.
"""

import subprocess
import sys
import unicodedata

SPACING = {0x3099: 0x309B, 0x309A: 0x309C}


def nfkc(codes):
    return [ord(c) for c in unicodedata.normalize("NFKC", "".join(map(chr, codes)))]


def spacing_marks(codes):
    return [SPACING.get(c, c) for c in codes]


def lookup(name):
    try:
        return ord(unicodedata.lookup(name))
    except KeyError:
        return None


def build_maps():
    """half, full: code -> list of code points, for the mapped characters."""
    half, full = {}, {}
    for wide in [0x3000] + list(range(0xFF01, 0xFF5F)):
        (narrow,) = nfkc([wide])
        half[wide] = [narrow]
        full[narrow] = [wide]
    for sign in range(0xFFE0, 0xFFE7):
        name = unicodedata.name(chr(sign))
        narrow = lookup(name.removeprefix("FULLWIDTH "))
        assert narrow is not None, name
        half[sign] = [narrow]
        full[narrow] = [sign]

    kana = {}  # full-width form -> half-width katakana
    for narrow in range(0xFF61, 0xFFA0):
        (wide,) = nfkc([narrow])
        kana[wide] = narrow
        full[narrow] = spacing_marks([wide])
    for code in range(0x10000):
        if 0xD800 <= code <= 0xDFFF:
            continue
        if code in kana:
            half[code] = [kana[code]]
            continue
        nfd = [ord(c) for c in unicodedata.normalize("NFD", chr(code))]
        nfkd = [ord(c) for c in unicodedata.normalize("NFKD", chr(code))]
        if len(nfd) == 2 and nfd[1] in SPACING and nfd[0] in kana:
            half[code] = [kana[nfd[0]], kana[nfd[1]]]
        elif len(nfkd) == 2 and nfkd[0] == 0x20 and nfkd[1] in SPACING:
            half[code] = [kana[nfkd[1]]]
    return half, full


def expected_full_of_pair(codes):
    # A pair composes only into a letter code page 932 holds (not ヷ, ヺ).
    composed = nfkc(codes)
    if len(composed) == 1 and not in_cp932(composed[0]):
        composed = nfkc(codes[:1]) + nfkc(codes[1:])
    return spacing_marks(composed)


def parse(field):
    return [] if field == "-" else [int(u, 16) for u in field.split("+")]


def in_cp932(code):
    try:
        chr(code).encode("cp932")
        return True
    except UnicodeEncodeError:
        return False


def show(codes):
    return "+".join(f"{c:04X}" for c in codes) or "-"


def main():
    if len(sys.argv) != 2:
        print(__doc__, file=sys.stderr)
        return 2
    dump = subprocess.run([sys.argv[1]], check=True, capture_output=True,
                          text=True).stdout
    half, full = build_maps()
    failures, checked, cp932, mapped = [], 0, 0, 0
    for line in dump.splitlines():
        text, got_half, got_full = (parse(f) for f in line.split())
        if len(text) == 1:
            code = text[0]
            want_half = half.get(code, text)
            want_full = full.get(code, text)
            cp932 += in_cp932(code)
            mapped += code in half or code in full
        else:
            want_half = text
            want_full = expected_full_of_pair(text)
        checked += 1
        for kind, got, want in (("half", got_half, want_half),
                                ("full", got_full, want_full)):
            if got != want:
                failures.append(f"{kind} {show(text)}: {show(got)}, "
                                f"expected {show(want)}")
    if checked != 0x10000 - 0x800 + 2 * (0xFFA0 - 0xFF61):
        failures.append(f"the dump has {checked} lines")
    for failure in failures[:40]:
        print(failure)
    print(f"{checked} inputs ({cp932} in code page 932, {mapped} mapped), "
          f"{len(failures)} differences")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
