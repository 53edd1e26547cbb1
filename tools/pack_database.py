#!/usr/bin/env python3
"""Packs a plain-text threat database into the form the program loads as "files.dat":
bzip2 at level 9, then scrambled with the database key.

    pack_database.py IN.txt OUT.dat

The build runs this for both trees, so the Windows tree needs no host copy of
morvanta-sig. It mirrors src/database/scramble.cpp; a test loads its output with the
program's own loader.
"""
import bz2
import sys

# The program's key (src/database/scramble.h, kScrambleKey).
MULTIPLIER, INCREMENT, START = 0x9E37, 0x7F4B, 0xC3A5


def scramble(data: bytes) -> bytes:
    k = START
    out = bytearray(len(data))
    for i, p in enumerate(data):
        out[i] = p ^ (k >> 8)
        # The key advances on the plain byte; the sum is reduced to 8 bits first.
        s = (p + (k & 0xFF)) & 0xFF
        k = (s * MULTIPLIER + INCREMENT) & 0xFFFF
    return bytes(out)


def main(argv):
    if len(argv) != 3:
        sys.stderr.write(__doc__)
        return 2
    with open(argv[1], "rb") as f:
        text = f.read()
    packed = scramble(bz2.compress(text, compresslevel=9))
    with open(argv[2], "wb") as f:
        f.write(packed)
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
