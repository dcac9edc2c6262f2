#!/usr/bin/env python3
"""The differential test: our code page 932 table, width maps and
upper-casing against the system's, over every code page 932 character.

Usage: compare_tables.py NATIVE_DUMP KNOWN_LIST EMULATOR... WINDOWS_DUMP

NATIVE_DUMP is the native build's table_dump (our tables), WINDOWS_DUMP the
Windows build's (MultiByteToWideChar, WideCharToMultiByte, LCMapStringW and
CharUpperBuffA), run through EMULATOR. KNOWN_LIST names each difference we
keep, with its reason. The test fails on a difference not listed, and on a
listed one that no longer occurs (then the list is out of date).
"""

import subprocess
import sys


def dump(command):
    out = subprocess.run(command, capture_output=True, check=True,
                         timeout=600).stdout
    lines = out.decode("ascii").replace("\r\n", "\n").splitlines()
    return {" ".join(line.split()[:2]): line for line in lines}


def known(path):
    keys = {}
    reason = None
    with open(path, encoding="utf-8") as f:
        for line in f:
            line = line.rstrip("\n")
            if line.startswith("# "):
                reason = line[2:]
            elif line and not line.startswith("#"):
                kind, *inputs = line.split()
                for value in inputs:
                    keys[f"{kind} {value}"] = reason
    return keys


def main():
    native_dump, known_list = sys.argv[1:3]
    windows_command = sys.argv[3:]
    ours = dump([native_dump])
    system = dump(windows_command)
    if ours.keys() != system.keys():
        print("the dumps do not cover the same characters")
        return 1
    listed = known(known_list)
    differing = {key for key in ours if ours[key] != system[key]}
    unlisted = sorted(differing - listed.keys())
    stale = sorted(listed.keys() - differing)
    for key in unlisted:
        print(f"NOT LISTED: ours  {ours[key]}\n            system {system[key]}")
    for key in stale:
        print(f"LISTED BUT THE SAME NOW: {key} ({listed[key]})")
    reasons = {}
    for key in differing & listed.keys():
        reasons.setdefault(listed[key], 0)
        reasons[listed[key]] += 1
    for reason, count in reasons.items():
        print(f"known ({count}): {reason}")
    print(f"{len(ours)} lines compared, {len(differing)} differ")
    return 1 if unlisted or stale else 0


if __name__ == "__main__":
    sys.exit(main())
