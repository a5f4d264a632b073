#!/usr/bin/env python3
"""Ends runs within milliseconds of their deadline and checks that the
output is always one whole thing: exactly one well-formed PRTG document with
the exit code it stands for, or the RFC error block alone with exit code 1.

Each run is given a deadline of one second (,TIMEOUT=1) and a system whose
answer takes a delay spread around that second, so that the run's own end
and the deadline's meet in every order: a single system that answers or
hangs, one whose call ends in the library's failure handler, and a listing
whose last system answers at the deadline. A listing with workers
(,PARALLEL) of many systems, half of them through a configured destination,
whose answers come in waves around the deadline, so that it falls while
systems are printed and workers started: it must end with one document, and
leave nothing in its temporary folder; and the same with a temporary folder
that does not exist. It is a correctness check, not a
timing: which of the two ends wins is not judged, only that no output holds
pieces of both.
"""
import argparse
import os
import re
import subprocess
import sys
import tempfile
import xml.etree.ElementTree as ElementTree
from concurrent.futures import ThreadPoolExecutor
from pathlib import Path

from harness import TARGETS, sensor_command

STORED_PASSWORD = "5791RaLwuf<Zr+SmtRp/ev'w"  # "Bin-Batch3", as in concurrency.py
PASSWORD = "Bin-Batch3"

BLOCK_HEAD = b"RFC error\n"
BLOCK_TAIL = b"* Programm aborted...\n* Error at EoXput-File...\n"


def profile_text(destination):
    fields = [
        ("Extcompany.:", "Wickerby Test"), ("Destination:", destination), ("Client.....:", "100"),
        ("User.......:", "monitor"), ("Password...:", STORED_PASSWORD), ("Language...:", "E"),
        ("Mode.......:", "R/3"), ("Hostname...:", "app01"), ("Sysnr......:", "00"),
        ("Gwhost.....:", "gw01"), ("Gwservice..:", "sapgw00"),
    ]
    return "".join(f"{key} {value}\r\n" for key, value in fields)


def system(name, delay, abort=False):
    lines = [f"[system {name}]", "client = 100", "user = MONITOR", f"password = {PASSWORD}",
             "queue = DIA 3 2000 2000 1204 1201", f"delay = RfcReceive {delay:.3f}"]
    if abort:
        lines.append("receive = abort")
    return lines


# Systems of the listing with workers: each answers after a third of the
# delay, eight at once, so the last wave answers at about the delay.
WORKER_SYSTEMS = [f"W{i:02d}" for i in range(24)]


def worker_listing(delay):
    lines = []
    for name in WORKER_SYSTEMS:
        lines += system(name, delay / 3)
    return lines


# name: (arguments, scenario for a delay, exit codes allowed)
KINDS = {
    "single": (["FAST", ",TIMEOUT=1"], lambda d: system("FAST", d), {0, 2}),
    "abort": (["FAST", ",TIMEOUT=1"], lambda d: system("FAST", d, abort=True), {1, 2}),
    "listing": (["X", "ITEM=Requests:Dialog,FAILED,TIMEOUT=1"],
                lambda d: system("FIRST", 0) + system("FAST", d), {0, 2}),
    "workers": (["GLOBAL", "WORK", ",FAILED,TIMEOUT=1,PARALLEL=8"], worker_listing, {0, 2}),
    # The same without a temporary folder (natively only): no worker's folder can be
    # made, so the parent measures every system itself.
    "no-temp": (["GLOBAL", "WORK", ",FAILED,TIMEOUT=1,PARALLEL=8"], worker_listing, {0, 2}),
}

# A run that has not ended long after its one-second deadline hangs (under
# Wine, with many runs at once, a process can take many seconds to end).
HANG_SECONDS = 60


def judge(output, code, allowed):
    """The fault in one run's output, or None."""
    output = output.replace(b"\r\n", b"\n")
    if code not in allowed:
        return f"exit code {code}"
    if code == 1:
        if not output.startswith(BLOCK_HEAD) or not output.endswith(BLOCK_TAIL) or output.count(BLOCK_HEAD) != 1:
            return "not the RFC error block alone"
        return None
    try:
        root = ElementTree.fromstring(output)
    except ElementTree.ParseError as error:
        return f"not one well-formed document ({error})"
    has_error = root.find("Error") is not None
    if has_error != (code == 2) and root.find("Result/Warning") is None:
        return "exit code and document disagree"
    if code == 0 and b"Error 104" in output:
        return "a deadline's message with exit code 0"
    return None


def prepare_folder(folder, scenario):
    for name in ["FAST", "FIRST"] + WORKER_SYSTEMS:
        (folder / f"{name}.P00").write_bytes(profile_text(name).encode())
    # Every other worker's system through a configured destination.
    for name in WORKER_SYSTEMS[::2]:
        (folder / f"SapRfc.{name}").write_text(f"DEST={name}\nTYPE=A\nASHOST=app01\nSYSNR=00\n")
    (folder / "Pendrake.Prf").write_text("# Gsng: RACE      : FIRST.P00#FAST.P00#\n")
    (folder / "SAP Pendrake.Gbl").write_text('# GSNX: WORK      : Item=Requests:Dialog,Sensor="SAP Wickerby"\n'
                                             "# GSNG: WORK      : " + "".join(f"{n}.P00#" for n in WORKER_SYSTEMS) + "\n")
    (folder / "rfcsim.ini").write_text("\n".join(scenario) + "\n")


def run_one(command, native, work, env, kind, delay):
    arguments, scenario, allowed = KINDS[kind]
    folder = Path(tempfile.mkdtemp(dir=work))
    prepare_folder(folder, scenario(delay))
    # A temporary folder of the run's own: whatever its run leaves there is seen.
    temporary = folder / "tmp"
    temporary.mkdir()
    missing = folder / "no such folder"
    env = dict(env, TMPDIR=str(missing if kind == "no-temp" else temporary),
               RFCSIM_SCENARIO=str(folder / "rfcsim.ini"))
    try:
        result = subprocess.run(command + arguments, cwd=folder, env=env, capture_output=True, timeout=HANG_SECONDS)
    except subprocess.TimeoutExpired as expired:
        return (kind, delay, None, f"no end within {HANG_SECONDS} s", expired.stdout or b"")
    fault = judge(result.stdout, result.returncode, allowed)
    # The account's own folder stays, as it does for every run; what a run
    # leaves would lie in it or beside it.
    left = sorted(p.name for p in temporary.iterdir() if not re.match(r"wickerby-private-\d+$", p.name))
    left += sorted(p.name for p in temporary.glob("wickerby-private-*/*"))
    # (Under Wine the temporary folder is the prefix's, whatever TMPDIR says.)
    if not fault and left and native:
        fault = f"left in the temporary folder: {left}"
    return (kind, delay, result.returncode, fault, result.stdout)


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--target", choices=TARGETS, required=True)
    parser.add_argument("--bin", required=True, type=Path)
    parser.add_argument("--runs", type=int, default=300, help="runs of each kind")
    parser.add_argument("--parallel", type=int, default=8)
    parser.add_argument("--spread", type=float, default=0.03, help="seconds around the deadline")
    parser.add_argument("--kind", action="append", choices=list(KINDS), help="only these kinds (default: all)")
    options = parser.parse_args()
    # Under Wine a missing TMPDIR keeps Wine itself from starting.
    kinds = options.kind or [kind for kind in KINDS if options.target == "native" or kind != "no-temp"]

    command = sensor_command(options.target, options.bin)
    with tempfile.TemporaryDirectory(prefix="wickerby-race-") as scratch:
        env = dict(os.environ, WICKERBY_DRIVES=scratch, TMPDIR=scratch)
        env.pop("RFCSIM_LOG", None)
        jobs = []
        for kind in kinds:
            for i in range(options.runs):
                # Spread evenly from just before to just after the deadline.
                delay = 1.0 - options.spread + 2 * options.spread * i / max(1, options.runs - 1)
                jobs.append((kind, delay))
        with ThreadPoolExecutor(options.parallel) as pool:
            results = list(pool.map(lambda job: run_one(command, options.target == "native", scratch, env, *job), jobs))

    faults = [r for r in results if r[3]]
    for kind, delay, code, fault, output in faults[:10]:
        print(f"FAIL {kind} delay {delay:.3f}: {fault}: {output!r}")
    for kind in kinds:
        codes = {}
        for r in results:
            if r[0] == kind:
                codes[r[2]] = codes.get(r[2], 0) + 1
        print(f"{kind}: " + ", ".join((f"exit {c}: {n}" if c is not None else f"no end: {n}")
                                  for c, n in sorted(codes.items(), key=str)))
    print(f"{options.target}: {len(results)} runs at the deadline: {len(faults)} faults")
    return 1 if faults else 0


if __name__ == "__main__":
    sys.exit(main())
