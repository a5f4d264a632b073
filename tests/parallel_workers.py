#!/usr/bin/env python3
"""Watches a listing's workers from outside, natively (through /proc):

- a worker's command line and environment never hold a profile's password,
  which reaches the worker only through its pipe;
- a parent killed as PRTG kills it at its timeout leaves no worker running
  a second later, and the next listing run removes the folders it left.
"""
import argparse
import os
import signal
import subprocess
import sys
import tempfile
import time
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parent))
from deadline_race import PASSWORD, profile_text  # noqa: E402

SYSTEMS = ["SLOW1", "SLOW2", "SLOW3"]


def prepare(work, delay):
    lines = []
    for name in SYSTEMS:
        (work / f"{name}.P00").write_bytes(profile_text(name).encode())
        lines += [f"[system {name}]", "client = 100", "user = MONITOR", f"password = {PASSWORD}",
                  "queue = DIA 3 2000 2000 1204 1201", f"delay = RfcCall {delay}"]
    (work / "rfcsim.ini").write_text("\n".join(lines) + "\n")
    (work / "Pendrake.Prf").write_text("# Gsng: SLOW      : " + "".join(f"{n}.P00#" for n in SYSTEMS) + "\n")


def children_of(parent):
    """The processes whose parent is `parent`, with their command line and environment."""
    found = []
    for entry in Path("/proc").iterdir():
        if not entry.name.isdigit():
            continue
        try:
            status = (entry / "status").read_text()
            ppid = int(next(line.split()[1] for line in status.splitlines() if line.startswith("PPid:")))
            if ppid == parent:
                found.append((int(entry.name), (entry / "cmdline").read_bytes(), (entry / "environ").read_bytes()))
        except (OSError, StopIteration, ValueError):
            continue
    return found


def running(pid):
    try:
        state = next(line for line in Path(f"/proc/{pid}/status").read_text().splitlines() if line.startswith("State:"))
        return "Z" not in state
    except (OSError, StopIteration):
        return False


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--bin", required=True, type=Path)
    options = parser.parse_args()
    sensor = str(options.bin.resolve() / "wickerby")
    faults = []
    with tempfile.TemporaryDirectory(prefix="wickerby-workers-") as scratch_name:
        scratch = Path(scratch_name)
        work, temporary = scratch / "work", scratch / "tmp"
        work.mkdir()
        temporary.mkdir()
        prepare(work, 3)
        env = dict(os.environ, WICKERBY_DRIVES=str(scratch), TMPDIR=str(temporary),
                   RFCSIM_SCENARIO=str(work / "rfcsim.ini"))
        env.pop("RFCSIM_LOG", None)
        parent = subprocess.Popen([sensor, "X", "ITEM=Requests:Dialog,PARALLEL=3"], cwd=work, env=env,
                                  stdout=subprocess.DEVNULL)
        workers = []
        for _ in range(100):
            workers = children_of(parent.pid)
            if len(workers) == len(SYSTEMS):
                break
            time.sleep(0.05)
        if len(workers) != len(SYSTEMS):
            faults.append(f"{len(workers)} workers seen, {len(SYSTEMS)} expected")
        for pid, command, environment in workers:
            if PASSWORD.encode() in command or PASSWORD.encode() in environment:
                faults.append(f"worker {pid} shows the password in its command line or environment")
        parent.send_signal(signal.SIGKILL)
        parent.wait()
        time.sleep(1)
        for pid, _, _ in workers:
            if running(pid):
                faults.append(f"worker {pid} still runs a second after its parent was killed")
                os.kill(pid, signal.SIGKILL)
        left = [p.name for p in temporary.iterdir()]
        prepare(work, 0)
        subprocess.run([sensor, "X", "ITEM=Requests:Dialog,PARALLEL=3"], cwd=work, env=env,
                       stdout=subprocess.DEVNULL, timeout=60)
        still = [p.name for p in temporary.iterdir()]
        if still:
            faults.append(f"left in the temporary folder after the next run: {still}")
    for fault in faults:
        print("FAIL " + fault)
    print(f"workers: {len(workers)} seen, {len(left)} folders left by the killed parent, {len(faults)} faults")
    return 1 if faults else 0


if __name__ == "__main__":
    sys.exit(main())
