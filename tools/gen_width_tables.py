#!/usr/bin/env python3
"""Generates src/platform/width_tables.inc, the tables of the locale maps.

Source: UnicodeData.txt of the Unicode Character Database, version 15.0.0,
as the Debian package unicode-data 15.0.0 installs it at
/usr/share/unicode/UnicodeData.txt (--unicode-data gives another path).

The tables reproduce what a Japanese Windows does with LCMapStringW and
LCMAP_HALFWIDTH / LCMAP_FULLWIDTH, and with CharUpperBuffA on code page 932:

  half-width map   the <wide> forms U+FF01-U+FF5E, U+3000 and U+FFE0-U+FFE6
                   go to their narrow originals; katakana and Japanese
                   punctuation go to the half-width block U+FF61-U+FF9F
                   (from its <narrow> decompositions); the spacing sound marks
                   U+309B/U+309C go to U+FF9E/U+FF9F; a voiced or semi-voiced
                   katakana goes to two characters, half-width letter and
                   half-width mark. Hangul and the half-width symbols
                   U+FFE8-U+FFEE are left out: Japanese text never needs them.
  full-width map   the reverse, one character to one; a lone half-width
                   sound mark becomes the spacing mark (code page 932 holds
                   U+309B/U+309C, not the combining U+3099/U+309A).
  voiced pairs     half-width letter + half-width mark -> the composed
                   katakana, where one exists and code page 932 holds it
                   (so ﾜﾞ and ｦﾞ stay two characters).
  upper-case map   the simple uppercase mappings of the characters whose
                   small and capital forms code page 932 both holds (Python's
                   "cp932" codec decides; its user area U+E000-U+E757 has no
                   case).

Usage:
  gen_width_tables.py [--unicode-data PATH] [--output PATH]   write the file
  gen_width_tables.py --check [...]   exit 1 when the committed file differs
                                      from a fresh generation, 77 when the
                                      Unicode data is not installed
"""

import argparse
import sys
from pathlib import Path

UNICODE_VERSION = "15.0.0"
DEFAULT_SOURCE = "/usr/share/unicode/UnicodeData.txt"
REPOSITORY = Path(__file__).resolve().parent.parent
DEFAULT_OUTPUT = REPOSITORY / "src/platform/width_tables.inc"
SCRIPT_NAME = "tools/gen_width_tables.py"

EXIT_DIFFERS = 1
EXIT_NO_SOURCE = 77  # CTest's skip code

COMBINING_VOICED = 0x3099
COMBINING_SEMI_VOICED = 0x309A
SPACING_MARKS = (0x309B, 0x309C)  # <compat> SPACE + combining mark


class Char:
    def __init__(self, code, name, tag, decomposition, upper):
        self.code = code
        self.name = name
        self.tag = tag  # "<wide>", "<narrow>", "<compat>"... or "" (canonical)
        self.decomposition = decomposition  # list of code points
        self.upper = upper  # simple uppercase mapping or None


def read_unicode_data(path):
    """The characters of UnicodeData.txt by code point (ranges unexpanded:
    none of them is a width or case form)."""
    chars = {}
    with open(path, encoding="utf-8") as source:
        for line in source:
            fields = line.rstrip("\n").split(";")
            if len(fields) != 15:
                raise ValueError(f"malformed line in {path}: {line!r}")
            code = int(fields[0], 16)
            parts = fields[5].split()
            tag = parts.pop(0) if parts and parts[0].startswith("<") else ""
            upper = int(fields[12], 16) if fields[12] else None
            chars[code] = Char(code, fields[1], tag,
                               [int(p, 16) for p in parts], upper)
    return chars


def compat_single(chars, code, tag):
    """The one-character <tag> decomposition of code, or None."""
    char = chars.get(code)
    if char and char.tag == tag and len(char.decomposition) == 1:
        return char.decomposition[0]
    return None


def half_width_map(chars):
    """code -> tuple of one or two half-width code points."""
    half = {}

    def add(source, target):
        if source in half:
            raise ValueError(f"U+{source:04X} has two half-width forms")
        half[source] = target

    wide = [0x3000] + list(range(0xFF01, 0xFF5F)) + list(range(0xFFE0, 0xFFE7))
    for code in wide:
        narrow = compat_single(chars, code, "<wide>")
        if narrow is None:
            raise ValueError(f"U+{code:04X} has no <wide> decomposition")
        add(code, (narrow,))

    for code in range(0xFF61, 0xFFA0):
        full = compat_single(chars, code, "<narrow>")
        if full is None:
            raise ValueError(f"U+{code:04X} has no <narrow> decomposition")
        add(full, (code,))

    # The spacing marks are SPACE + the combining mark; they take the
    # half-width form of that mark.
    for code in SPACING_MARKS:
        char = chars[code]
        if char.tag != "<compat>" or char.decomposition[0] != 0x20:
            raise ValueError(f"U+{code:04X} is not a spacing sound mark")
        add(code, half[char.decomposition[1]])

    # Voiced and semi-voiced katakana: letter + combining mark, both with a
    # half-width form. Hiragana bases have none and so stay as they are.
    for code in sorted(chars):
        char = chars[code]
        if char.tag or len(char.decomposition) != 2:
            continue
        letter, mark = char.decomposition
        if mark not in (COMBINING_VOICED, COMBINING_SEMI_VOICED):
            continue
        if letter in half and 0x30A0 <= letter <= 0x30FF:
            add(code, half[letter] + half[mark])
    return half


def full_width_map(half):
    """code -> full-width code point: the one-to-one half-width rows
    reversed, the spacing marks preferred over the combining ones."""
    full = {}
    for source, target in sorted(half.items()):
        if len(target) != 1:
            continue
        narrow = target[0]
        if narrow in full and source not in SPACING_MARKS:
            continue
        full[narrow] = source
    return full


def voiced_pairs(half):
    """(half-width letter, half-width mark) -> composed katakana, only where
    code page 932 holds the composed letter: all text comes from and goes
    back to code page 932, and composing ﾜﾞ into ヷ would turn it into "?"."""
    return {target: source for source, target in half.items()
            if len(target) == 2 and in_cp932(source)}


def in_cp932(code):
    try:
        chr(code).encode("cp932")
        return True
    except UnicodeEncodeError:
        return False


def upper_map(chars):
    return {code: char.upper for code, char in sorted(chars.items())
            if char.upper is not None and code <= 0xFFFF
            and in_cp932(code) and in_cp932(char.upper)}


COLUMN_LIMIT = 80  # the repository's clang-format limit


def emit_table(lines, chars, declaration, rows):
    """rows: (key codes, value codes, the character to name) in key order;
    the name goes above the row when it would not fit beside it."""
    lines.append(f"{declaration} = {{")
    for keys, values, named in rows:
        cells = ", ".join(f"0x{c:04X}" for c in list(keys) + list(values))
        row = f"    {{{cells}}},"
        comment = f"// {chars[named].name}"
        if len(row) + 1 + len(comment) <= COLUMN_LIMIT:
            lines.append(f"{row} {comment}")
        else:
            lines.append(f"    {comment}")
            lines.append(row)
    lines.append("};")
    lines.append("")


def generate(chars):
    half = half_width_map(chars)
    full = full_width_map(half)
    pairs = voiced_pairs(half)
    upper = upper_map(chars)

    lines = [
        f"// generated by {SCRIPT_NAME}, do not edit",
        f"// Source: UnicodeData.txt, Unicode {UNICODE_VERSION} (Debian package",
        f"// unicode-data {UNICODE_VERSION}). Every table is sorted by its key.",
        "",
        "// LCMAP_HALFWIDTH: one character to one or two (second 0 when one).",
    ]
    emit_table(lines, chars, "constexpr HalfWidthRow kHalfWidthRows[]",
               [((k,), v + (0,) * (2 - len(v)), k)
                for k, v in sorted(half.items())])
    lines.append("// LCMAP_FULLWIDTH, character by character.")
    emit_table(lines, chars, "constexpr MapRow kFullWidthRows[]",
               [((k,), (v,), k) for k, v in sorted(full.items())])
    lines.append("// LCMAP_FULLWIDTH: half-width letter + half-width sound mark.")
    emit_table(lines, chars, "constexpr VoicedRow kVoicedRows[]",
               [(k, (v,), v) for k, v in sorted(pairs.items())])
    lines.append("// Upper case, both forms in code page 932.")
    emit_table(lines, chars, "constexpr MapRow kUpperRows[]",
               [((k,), (v,), k) for k, v in sorted(upper.items())])
    return "\n".join(lines).rstrip("\n") + "\n"


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--unicode-data", default=DEFAULT_SOURCE,
                        help=f"path of UnicodeData.txt {UNICODE_VERSION}")
    parser.add_argument("--output", default=str(DEFAULT_OUTPUT),
                        help="the generated file")
    parser.add_argument("--check", action="store_true",
                        help="compare the file with a fresh generation")
    args = parser.parse_args()

    if not Path(args.unicode_data).is_file():
        print(f"{args.unicode_data}: not found (install unicode-data)",
              file=sys.stderr)
        return EXIT_NO_SOURCE if args.check else 2
    text = generate(read_unicode_data(args.unicode_data))
    output = Path(args.output)

    if args.check:
        current = output.read_text(encoding="utf-8") if output.is_file() else ""
        if current != text:
            print(f"{output} differs from a fresh generation; run {SCRIPT_NAME}",
                  file=sys.stderr)
            return EXIT_DIFFERS
        return 0
    output.write_text(text, encoding="utf-8")
    return 0


if __name__ == "__main__":
    sys.exit(main())
