#!/usr/bin/python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""CHIRP's own CSV code against the memory window's CHIRP CSV data files, both ways.

    chirp_csv_round_trip.py --probe PATH

The probe runs the control program on the in-process simulated transceiver (see
chirp_csv_probe.cpp).
  - The transceiver holds channels of every mode, filter and select mark; "Create File" writes
    them to SUITE.CSV, and CHIRP's reader (chirp.drivers.generic_csv) loads the file: every
    channel has its location, name, frequency and mode, and its filter and select mark in
    Comment; CHIRP's writer saves these memories byte for byte as the suite wrote them.
  - CHIRP's writer saves those memories again, with more made in CHIRP: P1 and P2, a name too
    long for the transceiver, and some a memory channel cannot hold. "Update Rig" loads CHIRP's
    file into a blank transceiver: it then holds the same channels, filter and select mark
    included, and its end box names every record it skipped, with the reason, and the name it
    cut.

CHIRP of Debian 12 opens files with the mode "rU", which this Python refuses; its parser is
handed the file opened with "r" instead and is otherwise used as it is.
"""

import argparse
import os
import subprocess
import sys
import tempfile

from chirp import chirp_common
from chirp.drivers import generic_csv

# location, frequency in Hz, mode as the memory window shows it, filter, selected, name
CHANNELS = [
    (1, 14195000, "USB", 2, True, "DX NET"),
    (2, 7050000, "LSB", 2, False, "40M"),
    (3, 21300000, "AM", 3, False, '15M, "AM"'),
    (4, 3560000, "CW", 1, True, "QRP CW"),
    (5, 14080000, "RTTY", 2, False, "RTTY"),
    (6, 29600000, "FM", 1, False, "FM CALL"),
    (7, 7030000, "CWr", 3, True, "K\u00f6ln 40m"),
    (8, 14085500, "RTTYr", 1, False, "ABCDEFGHIJ"),
    (9, 30000, "AM", 2, False, ""),
    (99, 99999900, "FM", 3, True, "TOP"),
]


def memory(number, hz, mode, **more):
    """A memory made in CHIRP, its other values CHIRP's defaults."""
    mem = chirp_common.Memory(number)
    mem.freq = hz
    mem.mode = mode
    for name, value in more.items():
        setattr(mem, name, value)
    return mem


# Memories made in CHIRP that a memory channel holds: the channel the transceiver then has.
STORED_FROM_CHIRP = [
    (memory(100, 50125000, "USB", name="P1 SIX", comment="Fil 3"),
     (100, 50125000, "USB", 3, False, "P1 SIX")),
    (memory(101, 28400000, "FM", name="P2"), (101, 28400000, "FM", 2, False, "P2")),
    (memory(25, 3573000, "LSB", name="FT8 80M WATERING HOLE"),
     (25, 3573000, "LSB", 2, False, "FT8 80M WA")),
]
NOTES = {25: "name FT8 80M WATERING HOLE cut to FT8 80M WA"}
# Memories made in CHIRP that a memory channel cannot hold, and why.
SKIPPED_FROM_CHIRP = [
    (memory(20, 146520000, "FM"), "frequency 146.520000 MHz is outside 0.03 to 99.9999 MHz"),
    (memory(21, 29620000, "FM", duplex="-", offset=100000),
     "repeater offset -0.100000 MHz cannot be stored"),
    (memory(22, 29600000, "NFM"), "mode NFM is not one this transceiver has"),
    (memory(23, 7074000, "USB", tmode="TSQL"), "tone mode TSQL cannot be stored"),
    (memory(24, 14074150, "USB"), "frequency 14.074150 MHz is finer than 100 Hz"),
]


def comment(filt, selected):
    return "Fil %d" % filt + ("; Select" if selected else "")


def fail(text):
    print("FAIL: " + text)
    sys.exit(1)


def run_probe(probe, command, work, name, stdin=b""):
    result = subprocess.run([probe, command, work, name], input=stdin, capture_output=True,
                            check=True, timeout=60)
    return result.stdout.decode("latin-1").splitlines()


def create_file(probe, work, name):
    channels = "".join("%d\t%d\t%s\t%d\t%d\t%s\n" % (loc, hz, mode, filt, 1 if sel else 0, label)
                       for loc, hz, mode, filt, sel, label in CHANNELS)
    boxes = run_probe(probe, "create", work, name, channels.encode("latin-1"))
    if boxes != ["box\tCreate File\t%s ... Are you sure?" % name]:
        fail("Create File showed %s" % boxes)


def load_with_chirp(path):
    radio = generic_csv.CSVRadio(None)
    radio._blank()
    with open(path, "r", encoding="utf-8") as f:
        radio._load(f)
    if radio.errors:
        fail("CHIRP reports %s" % radio.errors)
    return radio


def check_chirp_memories(radio):
    loaded = [m.number for m in radio.get_memories() if not m.empty]
    if loaded != [c[0] for c in CHANNELS]:
        fail("CHIRP loaded the locations %s" % loaded)
    for loc, hz, mode, filt, sel, label in CHANNELS:
        mem = radio.get_memory(loc)
        got = (mem.number, mem.name, mem.freq, mem.mode, mem.comment, mem.duplex, mem.tmode)
        want = (loc, label, hz, mode.upper(), comment(filt, sel), "", "")
        if got != want:
            fail("CHIRP read channel %d as %r, not %r" % (loc, got, want))
    print("CHIRP read the %d channels of Create File's file" % len(CHANNELS))


def check_chirp_writes_the_same(radio, ours, path):
    radio.save(path)
    with open(ours, "rb") as a, open(path, "rb") as b:
        if a.read() != b.read():
            fail("CHIRP saves the channels otherwise than Create File wrote them")
    print("CHIRP saves them byte for byte as Create File wrote them")


def expected_end_box(radio):
    """The end box of "Update Rig" for CHIRP's file: one line a memory, in location order."""
    skipped = {mem.number: reason for mem, reason in SKIPPED_FROM_CHIRP}
    numbers = [m.number for m in radio.get_memories() if not m.empty]
    line = {number: index + 2 for index, number in enumerate(numbers)}  # line 1 is the header
    stored = len(numbers) - len(skipped)
    text = "%d channels written and verified" % stored
    text += " ... %d lines not stored: " % len(skipped) + ", ".join(
        "line %d (%s)" % (line[n], skipped[n]) for n in sorted(skipped))
    text += " ... changed on the way in: " + ", ".join(
        "line %d (%s)" % (line[n], NOTES[n]) for n in sorted(NOTES))
    return text


def check_update_rig_loads_chirps_file(probe, radio, work, name):
    for mem, _ in STORED_FROM_CHIRP + SKIPPED_FROM_CHIRP:
        radio.set_memory(mem)
    radio.save(os.path.join(work, name))
    got = run_probe(probe, "update", work, name)
    boxes = [line for line in got if line.startswith("box\t")]
    want_boxes = ["box\tUpdate Rig\t%s ... Are you sure?" % name.upper(),
                  "box\tUpdate Rig\t" + expected_end_box(radio)]
    if boxes != want_boxes:
        fail("Update Rig showed\n  %s\nnot\n  %s" % ("\n  ".join(boxes), "\n  ".join(want_boxes)))
    held = [line for line in got if not line.startswith("box\t")]
    want = sorted(CHANNELS + [channel for _, channel in STORED_FROM_CHIRP])
    want = ["%d\t%d\t%s\t%d\t%d\t%s" % (loc, hz, mode, filt, 1 if sel else 0, label)
            for loc, hz, mode, filt, sel, label in want]
    if held != want:
        fail("the transceiver holds\n  %s\nnot\n  %s" % ("\n  ".join(held), "\n  ".join(want)))
    print("Update Rig stored CHIRP's file: %d channels, %d records skipped with their reason" %
          (len(held), len(SKIPPED_FROM_CHIRP)))


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--probe", required=True)
    args = parser.parse_args()
    with tempfile.TemporaryDirectory() as work:
        create_file(args.probe, work, "SUITE.CSV")
        ours = os.path.join(work, "SUITE.CSV")
        radio = load_with_chirp(ours)
        check_chirp_memories(radio)
        check_chirp_writes_the_same(radio, ours, os.path.join(work, "resaved.csv"))
        check_update_rig_loads_chirps_file(args.probe, radio, work, "chirp.csv")


if __name__ == "__main__":
    main()
