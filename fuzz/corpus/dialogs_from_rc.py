#!/usr/bin/env python3
"""Writes the dialog templates of a compiled .res file as seed files.

    x86_64-w64-mingw32-windres --preprocessor=cpp --preprocessor-arg=-DRC_INVOKED \
        --codepage=65001 -I DIR -I platform/include -O res FILE.rc FILE.res
    fuzz/corpus/dialogs_from_rc.py FILE.res PREFIX OUT_DIR...

Each RT_DIALOG entry becomes OUT_DIR/PREFIX-<id>.dlg in every OUT_DIR: the
seeds of the template fuzzers are the repository's own dialogs.
"""
import os
import struct
import sys


def entries(data):
    at = 0
    while at + 32 <= len(data):
        size, header = struct.unpack_from("<II", data, at)
        cursor = at + 8
        ids = []
        for _ in range(2):
            if struct.unpack_from("<H", data, cursor)[0] == 0xFFFF:
                ids.append(struct.unpack_from("<H", data, cursor + 2)[0])
                cursor += 4
            else:
                end = cursor
                while struct.unpack_from("<H", data, end)[0]:
                    end += 2
                ids.append(data[cursor:end].decode("utf-16-le"))
                cursor = end + 2
        yield ids[0], ids[1], data[at + header:at + header + size]
        at = (at + header + size + 3) & ~3


def main():
    res, prefix, outs = sys.argv[1], sys.argv[2], sys.argv[3:]
    with open(res, "rb") as f:
        data = f.read()
    for kind, name, body in entries(data):
        if kind != 5:  # RT_DIALOG
            continue
        for out in outs:
            os.makedirs(out, exist_ok=True)
            with open(os.path.join(out, f"{prefix}-{name}.dlg"), "wb") as f:
                f.write(body)


if __name__ == "__main__":
    main()
