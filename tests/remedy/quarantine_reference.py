#!/usr/bin/env python3
"""Reference values for the quarantine's storing transform, computed without the C++ code.

  quarantine_reference.py                              self-checks, then the reference values
  quarantine_reference.py store HEXBYTES [PASSPHRASE]   stored bytes of HEXBYTES, as hex
  quarantine_reference.py restore HEXBYTES [PASSPHRASE] restored bytes of HEXBYTES, as hex

The passphrase is eight ASCII decimal digits (default "12345678"). The key is the RIPEMD-256
digest of the passphrase; the cipher is Blowfish with that 32-byte key. Everything here is
plain Python written from the algorithm descriptions: the Blowfish tables are the hexadecimal
digits of pi, worked out below, and both primitives are checked against their published test
vectors before anything is printed. Any failed check exits with status 1.

Storing, with V = E(FF..FF) and F = V at the start of the file, for each full block X:
    out = D(X) ^ F;  F ^= X
Restoring, for each full block Y:
    Z = E(Y ^ F);  out = Z;  F ^= Z
A final partial block of r bytes is XORed, both ways, with the first r bytes of E(F).
"""
import sys

MASK = 0xFFFFFFFF


def fail(message):
    print("FAIL: " + message, file=sys.stderr)
    sys.exit(1)


# ---------------------------------------------------------------------------------------------
# RIPEMD-256: two lines of RIPEMD-128 side by side; after each round one chaining word is
# swapped between the lines (A after round 1, B after 2, C after 3, D after 4).

def _rol(x, n):
    x &= MASK
    return ((x << n) | (x >> (32 - n))) & MASK


_R_LEFT = [
    0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15,
    7, 4, 13, 1, 10, 6, 15, 3, 12, 0, 9, 5, 2, 14, 11, 8,
    3, 10, 14, 4, 9, 15, 8, 1, 2, 7, 0, 6, 13, 11, 5, 12,
    1, 9, 11, 10, 0, 8, 12, 4, 13, 3, 7, 15, 14, 5, 6, 2,
]
_R_RIGHT = [
    5, 14, 7, 0, 9, 2, 11, 4, 13, 6, 15, 8, 1, 10, 3, 12,
    6, 11, 3, 7, 0, 13, 5, 10, 14, 15, 8, 12, 4, 9, 1, 2,
    15, 5, 1, 3, 7, 14, 6, 9, 11, 8, 12, 2, 10, 0, 4, 13,
    8, 6, 4, 1, 3, 11, 15, 0, 5, 12, 2, 13, 9, 7, 10, 14,
]
_S_LEFT = [
    11, 14, 15, 12, 5, 8, 7, 9, 11, 13, 14, 15, 6, 7, 9, 8,
    7, 6, 8, 13, 11, 9, 7, 15, 7, 12, 15, 9, 11, 7, 13, 12,
    11, 13, 6, 7, 14, 9, 13, 15, 14, 8, 13, 6, 5, 12, 7, 5,
    11, 12, 14, 15, 14, 15, 9, 8, 9, 14, 5, 6, 8, 6, 5, 12,
]
_S_RIGHT = [
    8, 9, 9, 11, 13, 15, 15, 5, 7, 7, 8, 11, 14, 14, 12, 6,
    9, 13, 15, 7, 12, 8, 9, 11, 7, 7, 12, 7, 6, 15, 13, 11,
    9, 7, 15, 11, 8, 6, 6, 14, 12, 13, 5, 14, 13, 13, 7, 5,
    15, 5, 8, 11, 14, 14, 6, 14, 6, 9, 12, 9, 12, 5, 15, 8,
]
_K_LEFT = [0x00000000, 0x5A827999, 0x6ED9EBA1, 0x8F1BBCDC]
_K_RIGHT = [0x50A28BE6, 0x5C4DD124, 0x6D703EF3, 0x00000000]


def _f(j, x, y, z):
    if j == 0:
        return x ^ y ^ z
    if j == 1:
        return (x & y) | (~x & z)
    if j == 2:
        return (x | (~y & MASK)) ^ z
    return (x & z) | (y & ~z)


def _ripemd256_block(h, block):
    x = [int.from_bytes(block[4 * i:4 * i + 4], "little") for i in range(16)]
    a, b, c, d = h[0], h[1], h[2], h[3]
    aa, bb, cc, dd = h[4], h[5], h[6], h[7]
    for rnd in range(4):
        for k in range(16 * rnd, 16 * rnd + 16):
            t = _rol(a + _f(rnd, b, c, d) + x[_R_LEFT[k]] + _K_LEFT[rnd], _S_LEFT[k])
            a, d, c, b = d, c, b, t
            t = _rol(aa + _f(3 - rnd, bb, cc, dd) + x[_R_RIGHT[k]] + _K_RIGHT[rnd], _S_RIGHT[k])
            aa, dd, cc, bb = dd, cc, bb, t
        if rnd == 0:
            a, aa = aa, a
        elif rnd == 1:
            b, bb = bb, b
        elif rnd == 2:
            c, cc = cc, c
        else:
            d, dd = dd, d
    return [(v + w) & MASK for v, w in zip(h, (a, b, c, d, aa, bb, cc, dd))]


def ripemd256(data):
    h = [0x67452301, 0xEFCDAB89, 0x98BADCFE, 0x10325476,
         0x76543210, 0xFEDCBA98, 0x89ABCDEF, 0x01234567]
    data = bytes(data)
    padded = data + b"\x80" + b"\x00" * ((55 - len(data)) % 64) \
        + (8 * len(data) & 0xFFFFFFFFFFFFFFFF).to_bytes(8, "little")
    for i in range(0, len(padded), 64):
        h = _ripemd256_block(h, padded[i:i + 64])
    return b"".join(v.to_bytes(4, "little") for v in h)


_RIPEMD256_VECTORS = [
    (b"", "02ba4c4e5f8ecd1877fc52d64d30e37a2d9774fb1e5d026380ae0168e3c5522d"),
    (b"a", "f9333e45d857f5d90a91bab70a1eba0cfb1be4b0783c9acfcd883a9134692925"),
    (b"abc", "afbd6e228b9d8cbbcef5ca2d03e6dba10ac0bc7dcbe4680e1e42d2e975459b65"),
    (b"message digest", "87e971759a1ce47a514d5c914c392c9018c7c46bc14465554afcdf54a5070c0e"),
    (b"abcdefghijklmnopqrstuvwxyz",
     "649d3034751ea216776bf9a18acc81bc7896118a5197968782dd1fd97d8d5133"),
    (b"abcdbcdecdefdefgefghfghighijhijkijkljklmklmnlmnomnopnopq",
     "3843045583aac6c8c8d9128573e7a9809afb2a0f34ccc36ea9e72f16f6368e3f"),
    (b"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789",
     "5740a408ac16b720b84424ae931cbb1fe363d1d0bf4017f1a89f7ea6de77a0b8"),
    (b"1234567890" * 8, "06fdcc7a409548aaf91368c06a6275b553e3f099bf0ea4edfd6778df89a890dd"),
    (b"a" * 1000000, "ac953744e10e31514c150d4d8d7b677342e33399788296e43ae4850ce4f97978"),
]


def check_ripemd256():
    for message, expected in _RIPEMD256_VECTORS:
        got = ripemd256(message).hex()
        if got != expected:
            shown = message if len(message) < 100 else "%d bytes" % len(message)
            fail("RIPEMD-256(%r) = %s, expected %s" % (shown, got, expected))
    return len(_RIPEMD256_VECTORS)


# ---------------------------------------------------------------------------------------------
# Blowfish. The initial P-array (18 words) and S-boxes (4 x 256 words) are the fractional
# hexadecimal digits of pi in order: 1042 words, 8336 hex digits.

def _pi_hex_words(count):
    digits = 8 * count
    guard = 16  # extra hex digits so the truncation errors stay clear of the ones we keep
    one = 1 << (4 * (digits + guard))

    def arctan_inv(x):
        # arctan(1/x) * one, by its Taylor series
        total = 0
        term = one // x
        x2 = x * x
        n = 1
        sign = 1
        while term:
            total += sign * (term // n)
            term //= x2
            n += 2
            sign = -sign
        return total

    pi = 16 * arctan_inv(5) - 4 * arctan_inv(239)  # Machin
    frac = (pi - 3 * one) >> (4 * guard)
    return [(frac >> (32 * (count - 1 - i))) & MASK for i in range(count)]


_PI_WORDS = _pi_hex_words(18 + 4 * 256)
if _PI_WORDS[0] != 0x243F6A88 or _PI_WORDS[17] != 0x8979FB1B or _PI_WORDS[-1] != 0x3AC372E6:
    fail("pi digits came out wrong")


class Blowfish:
    def __init__(self, key):
        key = bytes(key)
        if not 1 <= len(key) <= 56:
            raise ValueError("Blowfish key must be 1 to 56 bytes")
        self.p = list(_PI_WORDS[:18])
        self.s = [list(_PI_WORDS[18 + 256 * i:18 + 256 * (i + 1)]) for i in range(4)]
        j = 0
        for i in range(18):
            word = 0
            for _ in range(4):
                word = (word << 8) | key[j]
                j = (j + 1) % len(key)
            self.p[i] ^= word
        left = right = 0
        for i in range(0, 18, 2):
            left, right = self._encrypt_words(left, right)
            self.p[i], self.p[i + 1] = left, right
        for box in self.s:
            for i in range(0, 256, 2):
                left, right = self._encrypt_words(left, right)
                box[i], box[i + 1] = left, right

    def _round(self, x):
        s = self.s
        return ((((s[0][x >> 24] + s[1][(x >> 16) & 0xFF]) & MASK) ^ s[2][(x >> 8) & 0xFF])
                + s[3][x & 0xFF]) & MASK

    def _encrypt_words(self, left, right):
        for i in range(16):
            left ^= self.p[i]
            right ^= self._round(left)
            left, right = right, left
        left, right = right, left
        right ^= self.p[16]
        left ^= self.p[17]
        return left, right

    def _decrypt_words(self, left, right):
        for i in range(17, 1, -1):
            left ^= self.p[i]
            right ^= self._round(left)
            left, right = right, left
        left, right = right, left
        right ^= self.p[1]
        left ^= self.p[0]
        return left, right

    def encrypt(self, block):
        left, right = self._encrypt_words(int.from_bytes(block[:4], "big"),
                                          int.from_bytes(block[4:8], "big"))
        return left.to_bytes(4, "big") + right.to_bytes(4, "big")

    def decrypt(self, block):
        left, right = self._decrypt_words(int.from_bytes(block[:4], "big"),
                                          int.from_bytes(block[4:8], "big"))
        return left.to_bytes(4, "big") + right.to_bytes(4, "big")


# Eric Young's ECB set: key, plaintext, ciphertext.
_BLOWFISH_ECB = """
0000000000000000 0000000000000000 4EF997456198DD78
FFFFFFFFFFFFFFFF FFFFFFFFFFFFFFFF 51866FD5B85ECB8A
3000000000000000 1000000000000001 7D856F9A613063F2
1111111111111111 1111111111111111 2466DD878B963C9D
0123456789ABCDEF 1111111111111111 61F9C3802281B096
1111111111111111 0123456789ABCDEF 7D0CC630AFDA1EC7
0000000000000000 0000000000000000 4EF997456198DD78
FEDCBA9876543210 0123456789ABCDEF 0ACEAB0FC6A0A28D
7CA110454A1A6E57 01A1D6D039776742 59C68245EB05282B
0131D9619DC1376E 5CD54CA83DEF57DA B1B8CC0B250F09A0
07A1133E4A0B2686 0248D43806F67172 1730E5778BEA1DA4
3849674C2602319E 51454B582DDF440A A25E7856CF2651EB
04B915BA43FEB5B6 42FD443059577FA2 353882B109CE8F1A
0113B970FD34F2CE 059B5E0851CF143A 48F4D0884C379918
0170F175468FB5E6 0756D8E0774761D2 432193B78951FC98
43297FAD38E373FE 762514B829BF486A 13F04154D69D1AE5
07A7137045DA2A16 3BDD119049372802 2EEDDA93FFD39C79
04689104C2FD3B2F 26955F6835AF609A D887E0393C2DA6E3
37D06BB516CB7546 164D5E404F275232 5F99D04F5B163969
1F08260D1AC2465E 6B056E18759F5CCA 4A057A3B24D3977B
584023641ABA6176 004BD6EF09176062 452031C1E4FADA8E
025816164629B007 480D39006EE762F2 7555AE39F59B87BD
49793EBC79B3258F 437540C8698F3CFA 53C55F9CB49FC019
4FB05E1515AB73A7 072D43A077075292 7A8E7BFA937E89A3
49E95D6D4CA229BF 02FE55778117F12A CF9C5D7A4986ADB5
018310DC409B26D6 1D9D5C5018F728C2 D1ABB290658BC778
1C587F1C13924FEF 305532286D6F295A 55CB3774D13EF201
0101010101010101 0123456789ABCDEF FA34EC4847B268B2
1F1F1F1F0E0E0E0E 0123456789ABCDEF A790795108EA3CAE
E0FEE0FEF1FEF1FE 0123456789ABCDEF C39E072D9FAC631D
0000000000000000 FFFFFFFFFFFFFFFF 014933E0CDAFF6E4
FFFFFFFFFFFFFFFF 0000000000000000 F21E9A77B71C49BC
0123456789ABCDEF 0000000000000000 245946885754369A
FEDCBA9876543210 FFFFFFFFFFFFFFFF 6B5C5A9C5D9E0A5A
"""

# The same set's variable key length part: plaintext FEDCBA9876543210 under the first
# 1, 2, ..., 24 bytes of this key.
_BLOWFISH_SETKEY = bytes.fromhex("F0E1D2C3B4A5968778695A4B3C2D1E0F0011223344556677")
_BLOWFISH_SETKEY_PLAIN = bytes.fromhex("FEDCBA9876543210")
_BLOWFISH_SETKEY_CIPHERS = """
F9AD597C49DB005E E91D21C1D961A6D6 E9C2B70A1BC65CF3 BE1E639408640F05
B39E44481BDB1E6E 9457AA83B1928C0D 8BB77032F960629D E87A244E2CC85E82
15750E7A4F4EC577 122BA70B3AB64AE0 3A833C9AFFC537F6 9409DA87A90F6BF2
884F80625060B8B4 1F85031C19E11968 79D9373A714CA34F 93142887EE3BE15C
03429E838CE2D14B A4299E27469FF67B AFD5AED1C1BC96A8 10851C0E3858DA9F
E6F51ED79B9DB21F 64A6E14AFD36B46F 80C7D7D45A5479AD 05044B62FA52D080
""".split()


def check_blowfish():
    ecb = 0
    for line in _BLOWFISH_ECB.strip().splitlines():
        key, plain, cipher = (bytes.fromhex(v) for v in line.split())
        bf = Blowfish(key)
        got = bf.encrypt(plain)
        if got != cipher:
            fail("Blowfish key %s plain %s gave %s, expected %s"
                 % (key.hex(), plain.hex(), got.hex(), cipher.hex()))
        if bf.decrypt(cipher) != plain:
            fail("Blowfish key %s does not decrypt %s back" % (key.hex(), cipher.hex()))
        ecb += 1
    for length, expected in enumerate(_BLOWFISH_SETKEY_CIPHERS, start=1):
        bf = Blowfish(_BLOWFISH_SETKEY[:length])
        got = bf.encrypt(_BLOWFISH_SETKEY_PLAIN)
        if got.hex().upper() != expected:
            fail("Blowfish %d-byte key gave %s, expected %s" % (length, got.hex(), expected))
        if bf.decrypt(got) != _BLOWFISH_SETKEY_PLAIN:
            fail("Blowfish %d-byte key does not decrypt back" % length)
    return ecb, len(_BLOWFISH_SETKEY_CIPHERS)


def cross_check_with_library(key):
    """Compares with the 'cryptography' package's Blowfish, if it is there; None if not."""
    try:
        import warnings
        with warnings.catch_warnings():
            warnings.simplefilter("ignore")
            try:
                from cryptography.hazmat.decrepit.ciphers.algorithms import Blowfish as LibBlowfish
            except ImportError:
                from cryptography.hazmat.primitives.ciphers.algorithms import Blowfish as LibBlowfish
            from cryptography.hazmat.primitives.ciphers import Cipher, modes
            cipher = Cipher(LibBlowfish(key), modes.ECB())
            blocks = bytes(range(256)) + b"\xff" * 8 + b"\x00" * 8
            lib_enc = cipher.encryptor().update(blocks)
            lib_dec = cipher.decryptor().update(blocks)
    except Exception:
        return None
    bf = Blowfish(key)
    for i in range(0, len(blocks), 8):
        if bf.encrypt(blocks[i:i + 8]) != lib_enc[i:i + 8]:
            fail("Blowfish encryption differs from the cryptography package at block %d" % (i // 8))
        if bf.decrypt(blocks[i:i + 8]) != lib_dec[i:i + 8]:
            fail("Blowfish decryption differs from the cryptography package at block %d" % (i // 8))
    return len(blocks) // 8


# ---------------------------------------------------------------------------------------------
# The quarantine transform.

def _xor(a, b):
    return bytes(x ^ y for x, y in zip(a, b))


def quarantine_key(passphrase):
    if len(passphrase) != 8 or not all(ch in "0123456789" for ch in passphrase):
        raise ValueError("passphrase must be eight decimal digits")
    return ripemd256(passphrase.encode("ascii"))


class Quarantine:
    def __init__(self, passphrase):
        self.key = quarantine_key(passphrase)
        self.bf = Blowfish(self.key)
        self.start = self.bf.encrypt(b"\xff" * 8)

    def _tail(self, feedback, tail):
        return _xor(tail, self.bf.encrypt(feedback)[:len(tail)])

    def store(self, data):
        data = bytes(data)
        feedback = self.start
        out = bytearray()
        full = len(data) - len(data) % 8
        for i in range(0, full, 8):
            x = data[i:i + 8]
            out += _xor(self.bf.decrypt(x), feedback)
            feedback = _xor(feedback, x)
        if full < len(data):
            out += self._tail(feedback, data[full:])
        return bytes(out)

    def restore(self, data):
        data = bytes(data)
        feedback = self.start
        out = bytearray()
        full = len(data) - len(data) % 8
        for i in range(0, full, 8):
            z = self.bf.encrypt(_xor(data[i:i + 8], feedback))
            out += z
            feedback = _xor(feedback, z)
        if full < len(data):
            out += self._tail(feedback, data[full:])
        return bytes(out)


def _round_trip_checks(q):
    # every length from empty to a few blocks, so each partial-block size is covered
    for n in range(0, 41):
        source = bytes((7 * i + 3) & 0xFF for i in range(n))
        stored = q.store(source)
        if len(stored) != n:
            fail("storing %d bytes gave %d" % (n, len(stored)))
        if q.restore(stored) != source:
            fail("restoring the stored %d bytes does not give the source back" % n)


def main(argv):
    if len(argv) >= 2:
        if argv[1] not in ("store", "restore") or len(argv) not in (3, 4):
            print(__doc__, file=sys.stderr)
            return 2
        passphrase = argv[3] if len(argv) == 4 else "12345678"
        data = bytes.fromhex(argv[2])
        check_blowfish()
        q = Quarantine(passphrase)
        out = q.store(data) if argv[1] == "store" else q.restore(data)
        other = q.restore(out) if argv[1] == "store" else q.store(out)
        if other != data:
            fail("round trip does not give the input back")
        print(out.hex().upper())
        return 0

    n_ripemd = check_ripemd256()
    n_ecb, n_setkey = check_blowfish()
    print("RIPEMD-256: %d published vectors match" % n_ripemd)
    print("Blowfish: %d ECB vectors and %d key-length vectors match" % (n_ecb, n_setkey))

    q = Quarantine("12345678")
    n_lib = cross_check_with_library(q.key)
    if n_lib is None:
        print("Blowfish cross-check with the cryptography package: not available, skipped")
    else:
        print("Blowfish cross-check with the cryptography package: %d blocks match" % n_lib)
    _round_trip_checks(q)

    print()
    print("passphrase  12345678")
    print("key         " + q.key.hex().upper())
    print("V           " + q.start.hex().upper())
    for name, source in (("bytes 00..1C", bytes(range(29))), ('"Hello, world!"', b"Hello, world!")):
        stored = q.store(source)
        if q.restore(stored) != source:
            fail("restoring %s does not give it back" % name)
        print()
        print("source      %s (%d bytes): %s" % (name, len(source), source.hex().upper()))
        print("stored      " + stored.hex().upper())
    print()
    print("all checks passed")
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
