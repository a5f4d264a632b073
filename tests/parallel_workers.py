#!/usr/bin/env python3
"""Watches a listing's workers from outside, through /proc, natively and
under Wine (where each Windows process is a process of the host too):

- a worker's command line and environment never hold a profile's password,
  which reaches the worker only through its pipe;
- a parent killed as PRTG kills it at its timeout leaves no worker running
  5 seconds later, and the next listing run removes the folders it left.

Natively the workers are the parent's children. Under Wine they are found
by their worker argument, so the prefix must be this check's alone while
it runs; their folders lie in the sensor's folder wickerby-private of the
prefix's temporary folder, which Wine takes from the registry, whatever the
environment says.
"""
import argparse
import os
import re
import signal
import subprocess
import sys
import tempfile
import time
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parent))
from deadline_race import PASSWORD, profile_text  # noqa: E402
from harness import TARGETS, sensor_command, wine_prefix  # noqa: E402

SYSTEMS = ["SLOW1", "SLOW2", "SLOW3"]


def prepare(work, delay):
    lines = []
    for name in SYSTEMS:
        (work / f"{name}.P00").write_bytes(profile_text(name).encode())
        lines += [f"[system {name}]", "client = 100", "user = MONITOR", f"password = {PASSWORD}",
                  "queue = DIA 3 2000 2000 1204 1201", f"delay = RfcCall {delay}"]
    (work / "rfcsim.ini").write_text("\n".join(lines) + "\n")
    (work / "Pendrake.Prf").write_text("# Gsng: SLOW      : " + "".join(f"{n}.P00#" for n in SYSTEMS) + "\n")


WORKER_ARGUMENT = b"<wickerby worker>"
PRIVATE_FOLDER = re.compile(r"wickerby-[0-9]+-[0-9a-f]{16}$")
HOME = re.compile(r"wickerby-private(-[0-9]+)?$")


def workers_of(parent, target):
    """The parent's workers, with their command line and environment."""
    found = []
    for entry in Path("/proc").iterdir():
        if not entry.name.isdigit():
            continue
        try:
            status = (entry / "status").read_text()
            ppid = int(next(line.split()[1] for line in status.splitlines() if line.startswith("PPid:")))
            command = (entry / "cmdline").read_bytes()
            # Under Wine a process whose start is not finished has one thread,
            # waiting for Wine's server; killed before that, its parent leaves
            # it waiting there for good, Wine's and not the sensor's doing. A
            # worker counts once it runs, as every worker has long before
            # PRTG kills a sensor.
            threads = int(next(line.split()[1] for line in status.splitlines() if line.startswith("Threads:")))
            started = threads > 1 or target == "native"
            if (ppid == parent) if target == "native" else (WORKER_ARGUMENT in command and started):
                found.append((int(entry.name), command, (entry / "environ").read_bytes()))
        except (OSError, StopIteration, ValueError):
            continue
    return found


def temporary_folders(target, scratch):
    """Where the sensor's private folders go."""
    if target == "native":
        return [scratch / "tmp"]
    prefix = wine_prefix(target)
    return [folder for folder in (prefix / "drive_c" / "users").glob("*/Temp") if folder.is_dir()]


def entries(folders, target):
    """What lies in the temporary folders: natively everything but the
    sensor's home of the private folders (the folder is this check's own),
    under Wine the private folders; both with what lies in that home."""
    names = {p for folder in folders for p in folder.iterdir()}
    names |= {p for folder in folders for p in folder.glob("wickerby-private*/*")}
    return {str(p) for p in names
            if (target == "native" and not HOME.match(p.name)) or PRIVATE_FOLDER.match(p.name)}


def running(pid):
    try:
        state = next(line for line in Path(f"/proc/{pid}/status").read_text().splitlines() if line.startswith("State:"))
        return "Z" not in state
    except (OSError, StopIteration):
        return False


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--target", choices=TARGETS, default="native")
    parser.add_argument("--bin", required=True, type=Path)
    options = parser.parse_args()
    command = sensor_command(options.target, options.bin) + ["X", "ITEM=Requests:Dialog,PARALLEL=3"]
    faults = []
    with tempfile.TemporaryDirectory(prefix="wickerby-workers-") as scratch_name:
        scratch = Path(scratch_name)
        work = scratch / "work"
        work.mkdir()
        (scratch / "tmp").mkdir()
        prepare(work, 3)
        # Each worker works in a folder of its own, so the scenario is named
        # in full (under Wine on drive Z:, the host's root).
        scenario = str(work / "rfcsim.ini")
        env = dict(os.environ, WICKERBY_DRIVES=str(scratch), TMPDIR=str(scratch / "tmp"),
                   RFCSIM_SCENARIO=scenario if options.target == "native" else "Z:" + scenario)
        env.pop("RFCSIM_LOG", None)
        folders = temporary_folders(options.target, scratch)
        before = entries(folders, options.target)
        parent = subprocess.Popen(command, cwd=work, env=env, stdout=subprocess.DEVNULL)
        workers = []
        for _ in range(100):
            workers = workers_of(parent.pid, options.target)
            if len(workers) == len(SYSTEMS):
                break
            time.sleep(0.05)
        if len(workers) != len(SYSTEMS):
            faults.append(f"{len(workers)} workers seen, {len(SYSTEMS)} expected")
        for pid, worker_command, environment in workers:
            if PASSWORD.encode() in worker_command or PASSWORD.encode() in environment:
                faults.append(f"worker {pid} shows the password in its command line or environment")
        parent.send_signal(signal.SIGKILL)
        parent.wait()
        # Natively they end at once; Wine's server, busy with other tests,
        # may take a moment to close the job and end its processes.
        for _ in range(50):
            if not any(running(pid) for pid, _, _ in workers):
                break
            time.sleep(0.1)
        for pid, _, _ in workers:
            if running(pid):
                faults.append(f"worker {pid} still runs 5 s after its parent was killed")
                os.kill(pid, signal.SIGKILL)
        left = entries(folders, options.target) - before
        prepare(work, 0)
        subprocess.run(command, cwd=work, env=env, stdout=subprocess.DEVNULL, timeout=60)
        still = entries(folders, options.target) - before
        if still:
            faults.append(f"left in the temporary folder after the next run: {sorted(still)}")
    for fault in faults:
        print("FAIL " + fault)
    print(f"{options.target}: {len(workers)} workers seen, {len(left)} folders left by the killed parent, "
          f"{len(faults)} faults")
    return 1 if faults else 0


if __name__ == "__main__":
    sys.exit(main())
