#!/usr/bin/env python3
"""Writes a listing run's directory for the benchmark: COUNT profiles copied
from one template under distinct names and destinations, the global server
listing "SAP Pendrake.Gbl" naming them ten to a line under the sensor key
BENCH, and a simulator scenario with one [system NAME] per profile.

    make_listing.py TEMPLATE.P00 DIRECTORY COUNT [--one-system] [--delay SECONDS]

With --one-system every profile names the same destination and the scenario
holds that one system: the sensor's work per system is the same, but the
simulator's (reading the scenario, finding a destination in it) no longer
grows with the listing, so the run shows the sensor's own growth. --delay
makes every system take that long to answer, as a real one does.
"""
import argparse
import os

PER_LINE = 10
KEY = "BENCH"


def name(index):
    return "S%05d" % index


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("template")
    parser.add_argument("directory")
    parser.add_argument("count", type=int)
    parser.add_argument("--one-system", action="store_true")
    parser.add_argument("--delay", type=float, default=0, help="seconds each system takes to answer its call")
    arguments = parser.parse_args()
    directory, count = arguments.directory, arguments.count
    with open(arguments.template, encoding="ascii") as file:
        template = file.read().splitlines()
    os.makedirs(directory, exist_ok=True)
    for index in range(1, count + 1):
        destination = name(1 if arguments.one_system else index)
        lines = [("Destination: " + destination) if line.startswith("Destination:") else line
                 for line in template]
        with open(os.path.join(directory, name(index) + ".P00"), "w", encoding="ascii") as file:
            file.write("\n".join(lines) + "\n")

    key = KEY.ljust(10)
    listing = ['# GSNX: %s: Item=Requests:Dialog,Alias,Sensor="SAP Wickerby"' % key]
    for first in range(1, count + 1, PER_LINE):
        names = "".join(name(i) + ".P00#" for i in range(first, min(first + PER_LINE, count + 1)))
        listing.append("# GSNG: %s: %s" % (key, names))
    with open(os.path.join(directory, "SAP Pendrake.Gbl"), "w", encoding="ascii") as file:
        file.write("\n".join(listing) + "\n")

    # The logon data of the template (examples/PRD.P00) and a busy queue table.
    system = ("client = 100\nuser = MONITOR\npassword = Monitor#2026\n"
              "queue = NOWORK 0 12 200 1520 1520\n"
              "queue = DIA 14 2000 2000 512340 512326\n"
              "queue = UPD 0 500 500 12040 12040\n"
              "queue = BTC 2 10 10 991 989\n")
    if arguments.delay:
        system += "delay = RfcCall %g\n" % arguments.delay
    with open(os.path.join(directory, "rfcsim.ini"), "w", encoding="ascii") as file:
        for index in range(1, (1 if arguments.one_system else count) + 1):
            file.write("[system %s]\n%s\n" % (name(index), system))


if __name__ == "__main__":
    main()
