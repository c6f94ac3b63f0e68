#!/usr/bin/env python3
"""Timed `phone reg export` and `phone reg get` of one wide key.

Makes a fresh device in a temporary folder for each size, imports a key with
N values and a key with N subkeys (one .reg file each), and times, wall
clock, the export of each key and `reg get` of the key with the values. The
cost per item must stay flat from the smallest size to the largest.

Usage:  python3 bench/reg_export_bench.py [PHONE] [SIZES]
        default PHONE = build/bin/phone, SIZES = 25000,50000,100000
"""
import os
import subprocess
import sys
import tempfile
import time


def reg_file(lines):
    return "Windows Registry Editor Version 5.00\n\n" + "\n".join(lines) + "\n"


def run(phone, device, *args, stdout=subprocess.DEVNULL):
    start = time.perf_counter()
    subprocess.run([phone, "--device", device, *args], check=True, stdout=stdout)
    return time.perf_counter() - start


def measure(phone, n):
    with tempfile.TemporaryDirectory() as folder:
        device = os.path.join(folder, "device")
        run(phone, device, "init")
        values = os.path.join(folder, "values.reg")
        with open(values, "w", encoding="utf-8") as out:
            out.write(reg_file(["[HKLM\\Wide\\Values]"] +
                               ['"Value%06d"="text %d"' % (i, i) for i in range(n)]))
        subkeys = os.path.join(folder, "subkeys.reg")
        with open(subkeys, "w", encoding="utf-8") as out:
            out.write(reg_file(["[HKLM\\Wide\\Subkeys\\Key%06d]\n\"V\"=dword:%08x" % (i, i)
                                for i in range(n)]))
        run(phone, device, "reg", "import", values)
        run(phone, device, "reg", "import", subkeys)
        return {
            "export values": run(phone, device, "reg", "export", "HKLM\\Wide\\Values"),
            "export subkeys": run(phone, device, "reg", "export", "HKLM\\Wide\\Subkeys"),
            "get values": run(phone, device, "reg", "get", "HKLM\\Wide\\Values"),
        }


def main():
    phone = sys.argv[1] if len(sys.argv) > 1 else "build/bin/phone"
    sizes = [int(s) for s in (sys.argv[2] if len(sys.argv) > 2 else "25000,50000,100000").split(",")]
    print("%-16s %9s %10s %14s" % ("command", "items", "seconds", "µs per item"))
    for n in sizes:
        for name, seconds in measure(phone, n).items():
            print("%-16s %9d %10.2f %14.1f" % (name, n, seconds, seconds * 1e6 / n))


if __name__ == "__main__":
    main()
