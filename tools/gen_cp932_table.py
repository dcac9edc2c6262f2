#!/usr/bin/env python3
"""Generates src/platform/cp932_table.inc, the code page 932 tables of the
platform layer (src/platform/cp932.cpp).

Source: Python's built-in "cp932" codec (CJKCodecs, built from Microsoft's
published cp932 mapping) for every single byte and every double-byte pair,
plus the entries below that Windows' code page 932 has and the codec leaves
out or handles differently. Standard library only.

    tools/gen_cp932_table.py          rewrite the table
    tools/gen_cp932_table.py --check  exit 1 when the committed table is not
                                      what this script generates

Decoding (MultiByteToWideChar): the codec's answer for every byte sequence.
The Windows single bytes and the user-defined area are also written out
below: they fill in whatever a codec leaves out, and where the codec has
them it must agree.

Encoding (WideCharToMultiByte): the reverse of the decoding table. About
400 characters have more than one byte sequence; Windows writes
  - the JIS X 0208 rows (0x81-0x84, 0x88-0x9F, 0xE0-0xEA) before
  - the NEC row 13 (0x87) before
  - the IBM extension (0xFA-0xFC) before
  - the NEC-selected IBM extension (0xED-0xEE).
Python's encoder agrees except for the last step: it writes the 0xED/0xEE
copy where Windows (Microsoft's bestfit932.txt WCTABLE, and glibc's CP932)
writes the 0xFA-0xFC one, e.g. U+2170 -> 0xFA40, not 0xEEEF. The script
checks that this is the only way the two differ.

Plus the best-fit forms in BEST_FIT, for the few signs (Latin-1 and the
overline) that the locale width maps produce and that code page 932 holds
only in their full-width form.
"""

import argparse
import codecs
import sys
from pathlib import Path

ROOT = Path(__file__).resolve().parent.parent
OUTPUT = ROOT / "src" / "platform" / "cp932_table.inc"
SCRIPT = "tools/gen_cp932_table.py"

LEAD_BYTES = [b for b in range(0x81, 0xA0)] + [b for b in range(0xE0, 0xFD)]
TRAIL_FIRST, TRAIL_LAST = 0x40, 0xFC  # 0x7F inside the range is never used

# Single bytes Windows maps that codecs elsewhere often reject (glibc's CP932
# does): 0x80 is the C1 control itself; 0xA0 and 0xFD-0xFF go to private-use
# characters so that they survive a round trip.
WINDOWS_SINGLE_BYTES = {
    0x80: 0x0080,
    0xA0: 0xF8F0,
    0xFD: 0xF8F1,
    0xFE: 0xF8F2,
    0xFF: 0xF8F3,
}

# The user-defined area: lead bytes 0xF0-0xF9, 188 trails each, in order onto
# U+E000-U+E757.
EUDC_LEADS = range(0xF0, 0xFA)
EUDC_FIRST = 0xE000

# Best-fit encodings: characters code page 932 does not hold, written as a
# look-alike instead of "?". Only the signs the width maps produce.
# For each: what glibc iconv's CP932 does, and what Microsoft's published
# bestfit932.txt lists.
BEST_FIT = {
    # CENT SIGN -> FULLWIDTH CENT SIGN. iconv: the same. bestfit932: the same.
    0x00A2: 0x8191,
    # POUND SIGN -> FULLWIDTH POUND SIGN. iconv: the same. bestfit932: same.
    0x00A3: 0x8192,
    # YEN SIGN -> 0x5C (the yen sign of Japanese fonts). iconv: the same.
    # bestfit932: the same.
    0x00A5: 0x5C,
    # BROKEN BAR -> 0x7C "|", as bestfit932 has it. iconv: rejects it.
    0x00A6: 0x7C,
    # NOT SIGN -> FULLWIDTH NOT SIGN. iconv: the same. bestfit932: the same.
    0x00AC: 0x81CA,
    # MACRON -> FULLWIDTH MACRON. iconv: rejects it. bestfit932: the same.
    0x00AF: 0x8150,
}
# OVERLINE has no entry in bestfit932, so Windows writes "?" for it; iconv
# writes 0x7E (the overline of JIS X 0201). We follow Windows.

# Characters Python's encoder writes one way (no byte sequence decodes to
# them). Windows' table has none of the three non-Latin-1 ones, so they stay
# "?" here: U+2016 (0x8161 is U+2225), U+2212 (0x817C is U+FF0D), U+301C
# (0x8160 is U+FF5E).
PYTHON_ONE_WAY = {0x00A2, 0x00A3, 0x00AC, 0x2016, 0x2212, 0x301C}


class SourceError(Exception):
    pass


def is_lead(byte):
    return 0x81 <= byte <= 0x9F or 0xE0 <= byte <= 0xFC


def codec_decode(data):
    """The codec's single character for data, None when it rejects it."""
    try:
        text = codecs.decode(data, "cp932")
    except UnicodeDecodeError:
        return None
    if len(text) != 1 or ord(text) > 0xFFFF:
        raise SourceError(f"{data.hex()} decodes to {text!r}")
    return ord(text)


def codec_encode(char):
    try:
        data = codecs.encode(chr(char), "cp932")
    except UnicodeEncodeError:
        return None
    return int.from_bytes(data, "big")


def eudc_char(lead, trail):
    if lead not in EUDC_LEADS or trail == 0x7F:
        return None
    index = trail - TRAIL_FIRST - (1 if trail > 0x7F else 0)
    return EUDC_FIRST + 188 * (lead - EUDC_LEADS.start) + index


def single_bytes():
    table = {}
    for byte in range(256):
        if is_lead(byte):
            continue
        char = codec_decode(bytes([byte]))
        windows = WINDOWS_SINGLE_BYTES.get(byte)
        if char is None:
            char = windows
        elif windows is not None and char != windows:
            raise SourceError(f"byte {byte:02X}: codec U+{char:04X}")
        if char is None:
            raise SourceError(f"byte {byte:02X} has no character")
        table[byte] = char
    return table


def pairs():
    table = {}
    for lead in LEAD_BYTES:
        for trail in range(TRAIL_FIRST, TRAIL_LAST + 1):
            char = codec_decode(bytes([lead, trail]))
            eudc = eudc_char(lead, trail)
            if char is None:
                char = eudc
            elif eudc is not None and char != eudc:
                raise SourceError(f"{lead:02X}{trail:02X}: codec U+{char:04X}")
            if char is not None:
                table[lead << 8 | trail] = char
    return table


def rank(code):
    """Windows' preference among the byte sequences of one character."""
    lead = code >> 8
    if lead == 0x87:
        return 1  # NEC row 13
    if 0xFA <= lead <= 0xFC:
        return 2  # IBM extension
    if lead in (0xED, 0xEE):
        return 3  # NEC-selected IBM extension
    return 0  # single bytes, JIS X 0208, user-defined area


def encoding(singles, doubles):
    candidates = {}
    for code, char in list(singles.items()) + list(doubles.items()):
        candidates.setdefault(char, []).append(code)
    table = {}
    for char, codes in candidates.items():
        codes.sort(key=lambda c: (rank(c), c))
        if len(codes) > 1 and rank(codes[0]) == rank(codes[1]):
            raise SourceError(f"U+{char:04X}: no rule picks among {codes}")
        table[char] = codes[0]
        check_against_python(char, codes)
    for char, code in BEST_FIT.items():
        if char in table:
            raise SourceError(f"best fit U+{char:04X} already has bytes")
        if code not in singles and code not in doubles:
            raise SourceError(f"best fit U+{char:04X}: {code:X} undefined")
        table[char] = code
    one_way = {c for c in range(0x10000)
               if c not in candidates and not 0xD800 <= c < 0xE000
               and codec_encode(c) is not None}
    if one_way != PYTHON_ONE_WAY:
        raise SourceError(f"codec writes one way: {sorted(one_way)}")
    return table


def check_against_python(char, codes):
    python = codec_encode(char)
    if python == codes[0] or python is None:
        return
    if rank(codes[0]) == 2 and rank(python) == 3 and python in codes:
        return  # the one known difference, see the module comment
    raise SourceError(f"U+{char:04X}: codec writes {python:X}, rule {codes}")


def hex_rows(values, width, label):
    lines = []
    for start in range(0, len(values), 8):
        chunk = ", ".join(f"0x{v:0{width}X}" for v in values[start:start + 8])
        lines.append(f"    /* {label(start)} */ {chunk},")
    return lines


def render(singles, doubles, encode):
    out = [
        f"// Generated by {SCRIPT}, do not edit.",
        "// Source: Python's built-in \"cp932\" codec (CJKCodecs, built from",
        "// Microsoft's published cp932 mapping), plus the Windows entries and",
        "// the best-fit encodings listed in the script.",
        "//",
        "// Included by cp932.cpp inside an unnamed namespace.",
        "// clang-format off",
        "",
        "constexpr unsigned kCp932TrailFirst = 0x40;",
        "constexpr unsigned kCp932TrailLast = 0xFC;",
        "",
        "// The row of a lead byte in kCp932Pairs; -1 for a single byte.",
        "constexpr std::int8_t kCp932LeadRow[256] = {",
    ]
    rows = [LEAD_BYTES.index(b) if is_lead(b) else -1 for b in range(256)]
    for start in range(0, 256, 16):
        chunk = ", ".join(f"{r:2d}" for r in rows[start:start + 16])
        out.append(f"    /* {start:02X} */ {chunk},")
    out += ["};", "",
            "// The character of each single byte (0 for the lead bytes).",
            "constexpr char16_t kCp932Single[256] = {"]
    out += hex_rows([singles.get(b, 0) for b in range(256)], 4,
                    lambda i: f"{i:02X}")
    out += ["};", "",
            "// kCp932Pairs[row][trail - 0x40]: the character of a pair, 0 where",
            "// the pair is undefined.",
            f"constexpr char16_t kCp932Pairs[{len(LEAD_BYTES)}]"
            f"[{TRAIL_LAST - TRAIL_FIRST + 1}] = {{"]
    for lead in LEAD_BYTES:
        values = [doubles.get(lead << 8 | t, 0)
                  for t in range(TRAIL_FIRST, TRAIL_LAST + 1)]
        out.append("  {")
        out += hex_rows(values, 4,
                        lambda i, lead=lead: f"{lead:02X}{TRAIL_FIRST + i:02X}")
        out.append("  },")
    pages = sorted({char >> 8 for char in encode})
    out += ["};", "",
            "// The page of a character's high byte in kCp932Encode; 0 is the",
            "// empty page.",
            "constexpr std::uint8_t kCp932EncodePage[256] = {"]
    index = [pages.index(h) + 1 if h in pages else 0 for h in range(256)]
    for start in range(0, 256, 16):
        chunk = ",".join(f"{i:3d}" for i in index[start:start + 16])
        out.append(f"    /* {start:02X} */{chunk},")
    out += ["};", "",
            "// kCp932Encode[page][low byte]: the bytes of a character, 0 when",
            "// code page 932 cannot hold it; below 0x100 a single byte,",
            "// otherwise lead << 8 | trail.",
            f"constexpr std::uint16_t kCp932Encode[{len(pages) + 1}][256] = {{",
            "  {},"]
    for high in pages:
        values = [encode.get(high << 8 | low, 0) for low in range(256)]
        out.append("  {")
        out += hex_rows(values, 4,
                        lambda i, high=high: f"{high:02X}{i:02X}")
        out.append("  },")
    out += ["};", ""]
    return "\n".join(out)


def generate():
    singles = single_bytes()
    doubles = pairs()
    return render(singles, doubles, encoding(singles, doubles))


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--check", action="store_true",
                        help="compare with the committed table, write nothing")
    args = parser.parse_args()
    try:
        text = generate()
    except SourceError as error:
        print(f"{SCRIPT}: the cp932 codec is not as expected: {error}",
              file=sys.stderr)
        return 2
    if args.check:
        current = OUTPUT.read_text(encoding="ascii") if OUTPUT.exists() else ""
        if current != text:
            print(f"{OUTPUT.relative_to(ROOT)} differs from what {SCRIPT} "
                  "generates; run it and commit the result", file=sys.stderr)
            return 1
        return 0
    OUTPUT.write_text(text, encoding="ascii", newline="\n")
    return 0


if __name__ == "__main__":
    sys.exit(main())
