#!/usr/bin/env python3
"""Packs a skin for Velumo: copies skin.ini and writes every picture it names
with its first 100 bytes XORed with the skin key 0x5A, the form the program
reads. Running it on a packed skin unpacks it again.

    skinpack.py SOURCE_FOLDER TARGET_FOLDER
"""
import configparser
import os
import sys

SKIN_KEY = 0x5A
SCRAMBLED_BYTES = 100
PICTURE_KEYS = ("Main", "Mask", "Over", "Down", "Disabled")


def scramble(data: bytes) -> bytes:
    head = bytes(b ^ SKIN_KEY for b in data[:SCRAMBLED_BYTES])
    return head + data[SCRAMBLED_BYTES:]


def write_replacing(path: str, data: bytes) -> None:
    # Rewritten every time, so the build sees a fresh output.
    tmp = path + ".tmp"
    with open(tmp, "wb") as f:
        f.write(data)
    os.replace(tmp, path)


def main(argv) -> int:
    if len(argv) != 3:
        print(__doc__.strip(), file=sys.stderr)
        return 2
    source, target = argv[1], argv[2]
    ini_path = os.path.join(source, "skin.ini")
    # The program reads skin.ini as a private-profile file: keys are matched
    # without regard to case, and values keep no surrounding blanks.
    ini = configparser.ConfigParser(interpolation=None)
    with open(ini_path, "r", encoding="latin-1") as f:
        ini.read_file(f)
    if not ini.has_section("Screen"):
        print(f"{ini_path}: no [Screen] section", file=sys.stderr)
        return 1
    os.makedirs(target, exist_ok=True)
    with open(ini_path, "rb") as f:
        write_replacing(os.path.join(target, "skin.ini"), f.read())
    for key in PICTURE_KEYS:
        name = ini.get("Screen", key, fallback="")
        if not name:
            print(f"{ini_path}: [Screen] {key} is missing", file=sys.stderr)
            return 1
        with open(os.path.join(source, name), "rb") as f:
            data = f.read()
        write_replacing(os.path.join(target, name), scramble(data))
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
