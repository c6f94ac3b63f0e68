#!/usr/bin/env python3
"""Kills phone processes at random moments and checks that the device's stores survive.

    bench/kill_campaign.py [--phone PATH] [--kills N] [--seed S]

Each round picks one job: a scenario delivering messages, a registry import,
a contacts import, or the settings program writing its settings through the
dialog. The job is first run to its end on a copy of the device, which gives
the state it leads to, then run on the device itself and killed (SIGKILL) at
a random moment of that duration. Then every store must pass
PRAGMA integrity_check, every registry value, contact and message must be as
it was before the job or as the job leaves it (a message may also still hold
the text it arrived with: the rule had not run yet), and no message may be
there twice. Exits 1 on the first damage found.
"""
import argparse
import json
import os
import random
import shutil
import signal
import sqlite3
import subprocess
import sys
import tempfile
import time

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))


class Campaign:
    def __init__(self, phone, folder, rng):
        self.phone = phone
        self.folder = folder
        self.rng = rng
        self.device = os.path.join(folder, "device")
        self.round = 0

    def run(self, device, *args, stdin=None, check=True):
        result = subprocess.run([self.phone, "--device", device, *args], input=stdin, capture_output=True,
                                text=True, timeout=600)
        if check and result.returncode != 0:
            raise SystemExit(f"phone {' '.join(args)} failed: {result.stderr.strip()}")
        return result.stdout

    def write(self, name, text):
        path = os.path.join(self.folder, name)
        with open(path, "w", encoding="utf-8") as f:
            f.write(text)
        return path

    # --- jobs: each returns the phone arguments and the scenario input ---
    def sms_job(self):
        lines = [f'sms +7916555{i:04d} "K{self.round}m{i} call 8916{self.rng.randrange(10**7):07d} or 89161234567"'
                 for i in range(40)]
        return ["run", "-"], "\n".join(lines) + "\n"

    def reg_job(self):
        body = "".join(f'"v{i}"="r{self.round}"\n' for i in range(200))
        path = self.write("campaign.reg", "Windows Registry Editor Version 5.00\n\n"
                          f"[HKEY_LOCAL_MACHINE\\Software\\Campaign\\Slot{self.round % 5}]\n" + body)
        return ["reg", "import", path], None

    def contacts_job(self):
        cards = "".join(f"BEGIN:VCARD\nVERSION:2.1\nN:Camp{self.round};Person{i}\n"
                        f"TEL;CELL:+7917{self.round % 1000:03d}{i:04d}\nEND:VCARD\n" for i in range(30))
        return ["contacts", "import", self.write("campaign.vcf", cards)], None

    def settings_job(self):
        # Tick the box under the focus and one further down, then Done.
        keys = " ".join(self.rng.choice(["down", "down", "action"]) for _ in range(6))
        return ["run", "-"], f"settings\nkey {keys} action\nkey soft1\nwait 50\n"

    # --- what the device holds ---
    def snapshot(self, device):
        registry = {}
        key = None
        for line in self.run(device, "reg", "export").splitlines():
            if line.startswith("["):
                key = line
            elif line.startswith('"') and key:
                name, _, value = line.partition("=")
                registry[(key, name)] = value
        contacts = {}
        for line in self.run(device, "contacts", "list", "--json").splitlines():
            card = json.loads(line)
            contacts[card["oid"]] = json.dumps(card, sort_keys=True, ensure_ascii=False)
        return registry, contacts

    def messages(self, device):
        state = None
        for line in self.run(device, "run", "-", "--json", stdin="state\n").splitlines():
            item = json.loads(line)
            if "inbox" in item:
                state = item
        found = {}
        for folder in ("inbox", "deleted"):
            for m in state[folder]:
                tag = m["subject"].split(" ", 1)[0]
                if tag.startswith("K") and "m" in tag:
                    if tag in found:
                        raise SystemExit(f"round {self.round}: message {tag} is there twice")
                    found[tag] = m["subject"]
        return found

    def integrity(self):
        for name in os.listdir(self.device):
            if name.endswith(".db"):
                db = sqlite3.connect(os.path.join(self.device, name))
                result = db.execute("PRAGMA integrity_check").fetchone()[0]
                db.close()
                if result != "ok":
                    raise SystemExit(f"round {self.round}: {name} is damaged: {result}")

    def one_round(self, job):
        args, stdin = job()
        before_reg, before_contacts = self.snapshot(self.device)
        before_messages = self.messages(self.device)
        copy = os.path.join(self.folder, "copy")
        shutil.rmtree(copy, ignore_errors=True)
        shutil.copytree(self.device, copy, ignore=shutil.ignore_patterns("device.lock"))
        start = time.monotonic()
        self.run(copy, *args, stdin=stdin)
        duration = time.monotonic() - start
        after_reg, after_contacts = self.snapshot(copy)
        after_messages = self.messages(copy)

        process = subprocess.Popen([self.phone, "--device", self.device, *args], stdin=subprocess.PIPE,
                                   stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, text=True)
        if stdin:
            process.stdin.write(stdin)
            process.stdin.close()
        time.sleep(self.rng.uniform(0, duration))
        killed = process.poll() is None
        process.send_signal(signal.SIGKILL)
        process.wait()

        self.integrity()
        now_reg, now_contacts = self.snapshot(self.device)
        for item in set(before_reg) | set(after_reg) | set(now_reg):
            if now_reg.get(item) not in (before_reg.get(item), after_reg.get(item)):
                raise SystemExit(f"round {self.round}: {item} is {now_reg.get(item)}, neither old nor new")
        for item in set(before_contacts) | set(after_contacts) | set(now_contacts):
            if now_contacts.get(item) not in (before_contacts.get(item), after_contacts.get(item)):
                raise SystemExit(f"round {self.round}: contact {item} is neither old nor new")
        now_messages = self.messages(self.device)
        for tag, subject in now_messages.items():
            allowed = {before_messages.get(tag), after_messages.get(tag)}
            if tag.startswith(f"K{self.round}m"):
                # Stored but not yet ruled when the process died.
                arrived = stdin.split(f'"{tag} ', 1)[1].split('"', 1)[0]
                allowed.add(f"{tag} {arrived}")
            if subject not in allowed:
                raise SystemExit(f"round {self.round}: message {tag} reads {subject!r}")
        lost = [tag for tag in before_messages if tag not in now_messages]
        if lost:
            raise SystemExit(f"round {self.round}: messages {lost[:5]} were lost")
        delivered = sum(1 for tag in now_messages if tag.startswith(f"K{self.round}m"))
        return killed, delivered


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--phone", default=os.path.join(ROOT, "build", "bin", "phone"))
    parser.add_argument("--kills", type=int, default=1000)
    parser.add_argument("--seed", type=int, default=1)
    options = parser.parse_args()
    rng = random.Random(options.seed)
    with tempfile.TemporaryDirectory() as folder:
        campaign = Campaign(os.path.abspath(options.phone), folder, rng)
        vcf = campaign.write("start.vcf", "BEGIN:VCARD\nVERSION:2.1\nN:Dovanne;Mirela\nTEL;CELL:89161234567\n"
                             "END:VCARD\n")
        campaign.run(campaign.device, "init", "--contacts", vcf)
        jobs = {"sms": campaign.sms_job, "reg": campaign.reg_job, "contacts": campaign.contacts_job,
                "settings": campaign.settings_job}
        tally = {name: [0, 0] for name in jobs}
        messages = 0
        for campaign.round in range(1, options.kills + 1):
            name = rng.choice(sorted(jobs))
            killed, delivered = campaign.one_round(jobs[name])
            tally[name][0] += 1
            tally[name][1] += 1 if killed else 0
            messages += delivered
            if campaign.round % 100 == 0:
                print(f"{campaign.round} rounds, all stores intact", flush=True)
        total = sum(n for n, _ in tally.values())
        print(f"{total} rounds, {sum(k for _, k in tally.values())} processes killed while running; "
              f"{messages} messages delivered whole before the kills; every store intact")
        for name, (n, k) in sorted(tally.items()):
            print(f"  {name}: {n} rounds, {k} killed mid-job")


if __name__ == "__main__":
    main()
