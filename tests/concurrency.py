#!/usr/bin/env python3
"""Runs several sensors at once in one working directory, as PRTG does.

Each worker runs the sensor again and again, taking the profiles in turn:
systems reached through their own configured destination (SapRfc.DEST
copied over SapRfc.ini), a system reached directly, and systems whose call
fails and whose message quotes the trace file. It checks what must hold
however the runs interleave:

- no spurious failure: a system that answers is always measured;
- no lost trace finding: a failed call's message always carries a finding
  from the trace file, never " - Look for Trace-File" or
  " - Please Check Trace-File !";
- every standard output is a well-formed XML document.

Natively the workers run under two temporary folders (TMPDIR), as sensors of
two accounts do. --slow-logon runs one more sensor beside them whose
configured system takes that long in RfcOpenEx, and --plant-lock puts a
folder at the name of the working directory's lock file.

A finding of another system's failure cannot be told apart in one shared
trace file when two failures write to it at the same moment; those are
counted and printed, not failed. The same script measures for bench/ with
more workers and runs.
"""
import argparse
import os
import re
import subprocess
import sys
import tempfile
import threading
import xml.etree.ElementTree as ElementTree
from pathlib import Path

from harness import TARGETS, sensor_command

# A stored password for "Bin-Batch3", made with wickerby-profile scramble.
STORED_PASSWORD = "5791RaLwuf<Zr+SmtRp/ev'w"
PASSWORD = "Bin-Batch3"

CONFIGURED = ["BIN1", "BIN2", "BIN3", "BIN4"]
SLOW = "SLOW"
FAILING = ["BAD1", "BAD2"]
DIRECT = ["PRD"]


def profile_text(destination):
    fields = [
        ("Extcompany.:", "Wickerby Test"), ("Destination:", destination), ("Client.....:", "100"),
        ("User.......:", "monitor"), ("Password...:", STORED_PASSWORD), ("Language...:", "E"),
        ("Mode.......:", "R/3"), ("Hostname...:", "app-" + destination.lower()), ("Sysnr......:", "00"),
        ("Gwhost.....:", "gw01"), ("Gwservice..:", "sapgw00"),
    ]
    return "".join(f"{key} {value}\r\n" for key, value in fields)


def scenario_text(slow_logon):
    lines = []
    for name in CONFIGURED + FAILING + DIRECT + [SLOW]:
        lines += [f"[system {name}]", "client = 100", "user = MONITOR", f"password = {PASSWORD}",
                  "queue = DIA 3 2000 2000 1204 1201", "queue = BTC 0 10 10 17 17"]
        if name in FAILING:
            lines += ["call = 1", f"trace = T:0001 ======> call failed in {name}"]
        if name == SLOW:
            lines += [f"delay = RfcOpenEx {slow_logon}"]
    return "\n".join(lines) + "\n"


def prepare(work, slow_logon):
    for name in CONFIGURED + FAILING + DIRECT + [SLOW]:
        (work / f"{name}.P00").write_bytes(profile_text(name).encode())
        if name != "PRD":
            (work / f"SapRfc.{name}").write_bytes(f"DEST={name}\nTYPE=A\nASHOST=app-{name.lower()}\n".encode())
    (work / "rfcsim.ini").write_text(scenario_text(slow_logon))


# The single run names a configured destination on a line ahead of its
# document; that line is the run's own and stays.
CONFIGURED_LINE = b"* SapRfc.Ini.......: "


def well_formed(output):
    output = output.replace(b"\r\n", b"\n")
    if output.startswith(CONFIGURED_LINE):
        output = output[output.index(b"\n") + 1:]
    try:
        ElementTree.fromstring(output)
        return True
    except ElementTree.ParseError:
        return False


class Tally:
    def __init__(self):
        self.lock = threading.Lock()
        self.runs = 0
        self.faults = []
        self.foreign = 0

    def fault(self, text):
        with self.lock:
            self.faults.append(text)


def judge(name, result, tally):
    output = result.stdout
    with tally.lock:
        tally.runs += 1
    if not well_formed(output):
        tally.fault(f"{name}: not well-formed XML: exit {result.returncode}, {output!r}, "
                    f"standard error {result.stderr[-300:]!r}")
        return
    text = output.decode("latin-1")
    if name in FAILING:
        head = "Error 1014: RFC-Failure raised ! - "
        if result.returncode != 2 or head not in text:
            tally.fault(f"{name}: exit {result.returncode}, {text!r}")
        elif "call failed in " not in text:
            tally.fault(f"{name}: trace finding lost: {text!r}")
        elif f"call failed in {name}<" not in text:
            with tally.lock:
                tally.foreign += 1
    elif result.returncode != 0 or f"<Text>({name}) System-Queues:" not in text:
        tally.fault(f"{name}: spurious failure: exit {result.returncode}, {text!r}")


def worker(index, runs, command, work, env, tally):
    profiles = CONFIGURED + FAILING + DIRECT
    for run in range(runs):
        name = profiles[(index + run) % len(profiles)]
        result = subprocess.run(command + [name], cwd=work, env=env, capture_output=True, timeout=120)
        judge(name, result, tally)


def slow_worker(command, work, env, tally, others):
    """Logs on to the slow system again and again while the others run."""
    while any(thread.is_alive() for thread in others):
        result = subprocess.run(command + [SLOW], cwd=work, env=env, capture_output=True, timeout=120)
        judge(SLOW, result, tally)


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--target", choices=TARGETS, required=True)
    parser.add_argument("--bin", required=True, type=Path)
    parser.add_argument("--workers", type=int, default=4)
    parser.add_argument("--runs", type=int, default=25, help="runs per worker")
    parser.add_argument("--slow-logon", type=float, default=0, help="seconds a further sensor's logon takes")
    parser.add_argument("--plant-lock", action="store_true", help="a folder at the lock file's name")
    options = parser.parse_args()

    with tempfile.TemporaryDirectory(prefix="wickerby-concurrency-") as scratch_name:
        scratch = Path(scratch_name)
        work = scratch / "work"
        drives = scratch / "drives"
        work.mkdir()
        drives.mkdir()
        prepare(work, options.slow_logon)
        if options.plant_lock:
            (work / "wickerby-runs.lock").mkdir()
        env = dict(os.environ, WICKERBY_DRIVES=str(drives))
        env.pop("RFCSIM_LOG", None)
        envs = [env]
        if options.target == "native":
            # Two accounts' temporary folders: each run's private files go
            # there, and the locks must meet all the same.
            envs = []
            for folder in ("tmp-a", "tmp-b"):
                (scratch / folder).mkdir()
                envs.append(dict(env, TMPDIR=str(scratch / folder)))
        command = sensor_command(options.target, options.bin)
        tally = Tally()
        threads = [threading.Thread(target=worker,
                                    args=(i, options.runs, command, work, envs[i % len(envs)], tally))
                   for i in range(options.workers)]
        for thread in threads:
            thread.start()
        slow = None
        if options.slow_logon > 0:
            slow = threading.Thread(target=slow_worker, args=(command, work, envs[0], tally, threads))
            slow.start()
        for thread in threads + ([slow] if slow else []):
            thread.join()
        if options.target == "native":
            # The sensor's home of its private folders stays; what is in it does not.
            left = [p.name for folder in ("tmp-a", "tmp-b") for p in (scratch / folder).iterdir()
                    if not re.match(r"wickerby-private-\d+$", p.name)]
            left += [p.name for folder in ("tmp-a", "tmp-b") for p in (scratch / folder).glob("wickerby-private-*/*")]
            left += [p.name for p in work.iterdir() if p.name.endswith(".wickerby-new")]
            for name in left:
                tally.fault(f"left behind: {name}")

    for fault in tally.faults[:20]:
        print("FAIL " + fault)
    print(f"{options.target}: {options.workers} sensors at once, {tally.runs} runs: "
          f"{len(tally.faults)} faults, {tally.foreign} findings of another system's failure")
    return 1 if tally.faults or tally.runs < options.workers * options.runs else 0


if __name__ == "__main__":
    sys.exit(main())
