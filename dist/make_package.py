#!/usr/bin/env python3
"""Builds the release package: a zip of the program folder as a user unpacks it.

    make_package.py --zip OUT.zip --strip STRIP [--file NAME=PATH]... [--text NAME=PATH]...

Each --file goes in as it is, under NAME (a path inside the zip, "/" between folders); an
executable (NAME ending in .exe) is stripped of its symbols first. Each --text is a text
file that Windows users open in Notepad: it goes in with CR LF line ends. The zip is written
to a temporary name and renamed, so a failed run leaves no half package.
"""
import argparse
import os
import subprocess
import sys
import tempfile
import time
import zipfile


def pair(text):
    name, sep, path = text.partition("=")
    if not sep or not name or not path:
        raise argparse.ArgumentTypeError(f"expected NAME=PATH, got {text!r}")
    return name, path


def crlf(data):
    return data.replace(b"\r\n", b"\n").replace(b"\n", b"\r\n")


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--zip", required=True)
    parser.add_argument("--strip", required=True)
    parser.add_argument("--file", type=pair, action="append", default=[])
    parser.add_argument("--text", type=pair, action="append", default=[])
    args = parser.parse_args()

    entries = []  # (name, bytes)
    with tempfile.TemporaryDirectory() as work:
        for name, path in args.file:
            if name.endswith(".exe"):
                stripped = os.path.join(work, os.path.basename(name))
                subprocess.run([args.strip, "-o", stripped, path], check=True)
                path = stripped
            with open(path, "rb") as f:
                entries.append((name, f.read()))
    for name, path in args.text:
        with open(path, "rb") as f:
            entries.append((name, crlf(f.read())))

    names = [name for name, _ in entries]
    if len(set(n.lower() for n in names)) != len(names):
        sys.exit("make_package: two entries with one name")

    os.makedirs(os.path.dirname(os.path.abspath(args.zip)), exist_ok=True)
    partial = args.zip + ".partial"
    stamp = time.localtime()[:6]
    with zipfile.ZipFile(partial, "w", zipfile.ZIP_DEFLATED, compresslevel=9) as z:
        for name, data in sorted(entries, key=lambda e: (e[0].count("/"), e[0].lower())):
            info = zipfile.ZipInfo(name, date_time=stamp)
            info.compress_type = zipfile.ZIP_DEFLATED
            info.external_attr = 0o644 << 16
            z.writestr(info, data)
    os.replace(partial, args.zip)
    print(f"{args.zip}: {len(entries)} files, {os.path.getsize(args.zip)} bytes")


if __name__ == "__main__":
    main()
