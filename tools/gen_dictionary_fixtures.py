#!/usr/bin/env python3
"""Writes tests/host/fixtures/dictionaries-faulty/, the data directory on
which the tests run `shelfix.exe check-dictionaries`: good lines and one
line of each fault the check reports, as raw code page 932 bytes (Python's
"cp932" codec). Standard library only.

    tools/gen_dictionary_fixtures.py          rewrite the fixture files
    tools/gen_dictionary_fixtures.py --check  exit 1 when the committed
                                              files are not what this
                                              script writes
"""

import argparse
import sys
from pathlib import Path

ROOT = Path(__file__).resolve().parent.parent
OUTPUT = ROOT / "tests" / "host" / "fixtures" / "dictionaries-faulty"

# Each line is text (encoded as cp932) or bytes (written as they are),
# with its line end.
AUTHORS = [
    ("|山田太郎|山田 太郎|ヤマダ タロウ|漫画家|", "\r\n"),
    ("|ｼﾞｮﾝｽﾐｽ[訳]|ジョン・スミス [訳]|スミス ジョン||", "\r\n"),
    # Its reading is the key of line 10.
    ("|鈴木|鈴木花子|佐藤|注|", "\r\n"),
    ("|ジョン・スミス|ジョン・スミス|||", "\r\n"),  # full-width katakana, ・
    ("|ｼﾞｮﾝ ｽﾐｽ|ジョン スミス|||", "\r\n"),  # a space
    ("|ニｼﾀﾞ|西田|ﾆｼﾀﾞ||", "\r\n"),  # the katakana ニ
    ("|ﾆｺﾗｽ|ニコラス|||", "\r\n"),  # the half-width ﾆ
    ("|ｽｰﾊﾟｰ|スーパー|||", "\r\n"),  # the half-width ｰ
    ("|山田太郎|山田 太郎 (二度目)|||", "\r\n"),  # line 1 answers it
    ("|佐藤|佐藤次郎|サトウ ジロウ||", "\r\n"),  # line 3 answers it
    ("|高橋|高橋一郎|タカハシ イチロウ", "\r\n"),  # no closing "|"
    ("|田中|田中花子|タナカ ハナコ||", "\r\n"),
    # Saved as UTF-8: read as code page 932, its bytes pair up out of step
    # and meet the undefined pair 0x83 0x99.
    ("|渡辺|渡辺|ワタナベ||".encode("utf-8"), "\r\n"),
    ("小林|小林|コバヤシ||", "\r\n"),  # no "|" before the key
    ("|二ｺﾗｽ|ニコラス|ニコラス||", "\r\n"),
]

PUBLISHERS = [
    ("|4000|見本出版", "\n"),
    ("|81|見本書房", "\n"),
    ("|8190|見本社", "\n"),  # |81| is tried first
    ("|4000|別の出版", "\n"),  # line 1 answers it
    ("|1234567|長すぎる社", "\n"),  # never looked up
    ("|5000 見本堂", "\n"),  # no "|" after the prefix
    ("|909|みなと舎", "\n"),
]

LABELS = [
    ("|見本出版|ABCBUNKO|ABC文庫", "\r\n"),
    ("|見本出版||見本文庫", "\r\n"),
    ("|見本出版|ＡＢＣ文庫|ABC文庫", "\r\n"),  # full-width letters
    ("|見本出版|ABCBUNKO|別の文庫", "\r\n"),  # line 1 answers it
    ("|見本出版|ｺﾐｯｸｽ|見本コミックス", "\n"),  # mixed line ends
    ("|見本出版 ABC文庫", "\r\n"),  # no "|" after the series key
]

FILES = {"AuthDB.dat": AUTHORS, "PubDB.dat": PUBLISHERS, "LabelsDB.dat": LABELS}


def file_bytes(lines):
    out = b""
    for text, end in lines:
        out += (text if isinstance(text, bytes) else text.encode("cp932"))
        out += end.encode("ascii")
    return out


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--check", action="store_true")
    args = parser.parse_args()
    stale = []
    for name, lines in FILES.items():
        path = OUTPUT / name
        data = file_bytes(lines)
        if args.check:
            if not path.is_file() or path.read_bytes() != data:
                stale.append(name)
            continue
        OUTPUT.mkdir(parents=True, exist_ok=True)
        path.write_bytes(data)
    if stale:
        print("not what tools/gen_dictionary_fixtures.py writes: " +
              ", ".join(stale), file=sys.stderr)
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main())
