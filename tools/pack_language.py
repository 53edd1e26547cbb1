#!/usr/bin/env python3
"""Packs a plain language text (a translated "Default.txt") into the language file the
program reads from its "Languages" folder: the whole text scrambled with the database key,
not compressed.

    pack_language.py IN.txt OUT.vlng

The build runs this for the shipped translations, so the Windows tree needs no host copy
of morvanta-sig; morvanta-sig lang-pack writes the same bytes, and a test applies the
output with the program's own reader.
"""
import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from pack_database import scramble  # noqa: E402


def main(argv):
    if len(argv) != 3:
        sys.stderr.write(__doc__)
        return 2
    with open(argv[1], "rb") as f:
        text = f.read()
    if b"begin():\r\n" not in text:
        sys.stderr.write(argv[1] + ': no "begin():" line ended by CR LF\n')
        return 1
    os.makedirs(os.path.dirname(os.path.abspath(argv[2])), exist_ok=True)
    with open(argv[2], "wb") as f:
        f.write(scramble(text))
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
