#!/usr/bin/env python3
"""The emulator's resident size as the inbox fills, in one session.

Feeds `phone run - --json` ordinary `sms` lines (through the inbox service,
the rule client and the bubble) and reads the process's VmRSS once the first
FIRST lines and once all TOTAL lines have been answered; a session whose
size follows what the device holds grows with it.

    bench/memory_growth.py [PHONE] [FIRST] [TOTAL] [BUBBLES]
                           (defaults: build/bin/phone 1000 100000 0)

With BUBBLES 0 the settings turn the bubble off for the fill: its hand-off
counts the unread messages over the whole inbox, so that a fill of 100,000
with the bubble takes hours; BUBBLES 1 keeps it on.
"""
import os
import shutil
import subprocess
import sys
import tempfile

here = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
phone = sys.argv[1] if len(sys.argv) > 1 else os.path.join(here, "build", "bin", "phone")
first = int(sys.argv[2]) if len(sys.argv) > 2 else 1000
total = int(sys.argv[3]) if len(sys.argv) > 3 else 100000
bubbles = int(sys.argv[4]) if len(sys.argv) > 4 else 0
if not os.access(phone, os.X_OK):
    sys.exit(f"memory_growth: no emulator at {phone} (build it: tools/build.sh default)")


def rss_kb(pid):
    """Resident kB in all, of the process's own memory, and of mapped files."""
    sizes = {}
    with open(f"/proc/{pid}/status") as status:
        for line in status:
            key, _, value = line.partition(":")
            if key in ("VmRSS", "RssAnon", "RssFile"):
                sizes[key] = int(value.split()[0])
    return sizes.get("VmRSS", 0), sizes.get("RssAnon", 0), sizes.get("RssFile", 0)


def feed(session, start, count):
    # A hundred lines at a time: the answers are read before the pipes fill.
    for chunk in range(start, start + count, 100):
        lines = range(chunk, min(chunk + 100, start + count))
        for i in lines:
            session.stdin.write(f'sms +7916{i % 10000000:07d} "message {i} of the fill"\n')
        session.stdin.flush()
        for _ in lines:
            if not session.stdout.readline():
                sys.exit("memory_growth: the session ended early")


work = tempfile.mkdtemp()
try:
    device = os.path.join(work, "device")
    subprocess.run([phone, "--device", device, "init"], check=True, stdout=subprocess.DEVNULL)
    subprocess.run([phone, "--device", device, "reg", "set", "HKLM\\Software\\Orvane\\Lumenrest", "ShowBubbles",
                    f"dword:{bubbles}"], check=True, stdout=subprocess.DEVNULL)
    session = subprocess.Popen([phone, "--device", device, "run", "-", "--json"], stdin=subprocess.PIPE,
                               stdout=subprocess.PIPE, text=True, bufsize=1)
    feed(session, 0, first)
    early = rss_kb(session.pid)
    done = first
    while done < total:
        step = min(10000, total - done)
        feed(session, done, step)
        done += step
    late = rss_kb(session.pid)
    session.stdin.close()
    session.wait()
    def mb(kb):
        return f"{kb / 1024:.1f} MB"

    def grown(a, b):
        return f"{(b - a) * 100 / a:+.1f} %" if a else "n/a"

    print(f"bubbles {'on' if bubbles else 'off'}, after {first} and after {total} messages:")
    for name, a, b in zip(("resident", "own (anonymous)", "mapped files"), early, late):
        print(f"  {name:16} {mb(a):>9} {mb(b):>9}  {grown(a, b)}")
finally:
    shutil.rmtree(work, ignore_errors=True)
