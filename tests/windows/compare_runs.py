#!/usr/bin/env python3
"""Runs the same lookups through the native build and through the Windows
build (under Wine) and fails unless they agree byte for byte: the result
file (or its absence), the exit status and the messages on standard error.

Usage: compare_runs.py NATIVE_BIN WINDOWS_BIN SOURCE_DIR EMULATOR...

NATIVE_BIN holds shelfix.exe and tomefinder.so, WINDOWS_BIN shelfix.exe
and tomefinder.dll; EMULATOR is the command that runs a Windows program.
Each side gets its own copy of the programs and of the data directory, and
the Windows side is handed Windows paths (Z:\\...), as a real host passes.
"""

import os
import shutil
import subprocess
import sys
import tempfile

BASE = "http://tomefinder.example"


def cases(source):
    samples = os.path.join(source, "samples")
    private = os.path.join(source, "tests", "e2e", "fixtures", "private")
    sample = (os.path.join(samples, "catalogue"),
              os.path.join(samples, "codes.txt"))
    return [
        # name, catalogue, codes file, data files to drop or add, options
        ("sample", *sample, {}, []),
        ("sample without the switch file", *sample, {"rivet.dat": None}, []),
        ("private marker", os.path.join(private, "catalogue"),
         os.path.join(private, "codes.txt"),
         {"Temp.html.marlow_private": b""}, []),
        # A stop request during the third download: the lines gathered
        # before it, and no more.
        ("stop during the third download", *sample, {}, ["--stop-at", "3"]),
        ("stop during the first download", *sample, {}, ["--stop-at", "1"]),
        # A failed connection check: a message and no result file.
        ("offline from the second code", *sample, {}, ["--offline-from", "2"]),
    ]


def windows_path(path):
    return "Z:" + os.path.abspath(path).replace("/", "\\")


def prepare(root, bin_dir, programs, data_changes, samples):
    os.makedirs(os.path.join(root, "bin"))
    for name in programs:
        shutil.copy(os.path.join(bin_dir, name), os.path.join(root, "bin"))
    data = os.path.join(root, "data")
    shutil.copytree(os.path.join(samples, "data"), data)
    for name, content in data_changes.items():
        target = os.path.join(data, name)
        if content is None:
            if os.path.exists(target):
                os.remove(target)
        else:
            with open(target, "wb") as f:
                f.write(content)
    return data


def run(command, root, result):
    env = dict(os.environ, TOMEFINDER_BASE_URL=BASE)
    done = subprocess.run(command, cwd=root, env=env, stdin=subprocess.DEVNULL,
                          capture_output=True, timeout=300)
    content = None
    if os.path.exists(result):
        with open(result, "rb") as f:
            content = f.read()
    return done.returncode, content, done.stderr


def main():
    native_bin, windows_bin, source = sys.argv[1:4]
    emulator = sys.argv[4:]
    samples = os.path.join(source, "samples")
    failures = 0
    for name, catalogue, codes, data_changes, options in cases(source):
        with tempfile.TemporaryDirectory(prefix="tomefinder-cmp-") as top:
            native_root = os.path.join(top, "native")
            windows_root = os.path.join(top, "windows")
            data = prepare(native_root, native_bin,
                           ["shelfix.exe", "tomefinder.so"], data_changes,
                           samples)
            out = os.path.join(native_root, "result.txt")
            native = run([os.path.join(native_root, "bin", "shelfix.exe"),
                          "--data-dir", data + "/", "--out", out,
                          "--catalogue", catalogue, "--codes-file", codes]
                         + options, native_root, out)
            data = prepare(windows_root, windows_bin,
                           ["shelfix.exe", "tomefinder.dll"], data_changes,
                           samples)
            out = os.path.join(windows_root, "result.txt")
            windows = run(emulator + [
                os.path.join(windows_root, "bin", "shelfix.exe"),
                "--data-dir", windows_path(data) + "\\",
                "--out", windows_path(out),
                "--catalogue", windows_path(catalogue),
                "--codes-file", windows_path(codes)] + options,
                windows_root, out)
        lines = (native[1] or b"").count(b"\r\n")
        if native == windows:
            print(f"same: {name} ({lines} lines, status {native[0]})")
            continue
        failures += 1
        print(f"DIFFERENT: {name}")
        for label, a, b in zip(("status", "result", "messages"), native,
                               windows):
            if a != b:
                print(f"  {label}:\n    native  {a!r}\n    windows {b!r}")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
