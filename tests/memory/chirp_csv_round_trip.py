#!/usr/bin/python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""CHIRP's own CSV code against the suite's CHIRP CSV files, both ways.

    chirp_csv_round_trip.py --probe PATH

  - The suite writes channels of every mode, filter and select mark, P1 and P2 among them, and
    CHIRP's reader (chirp.drivers.generic_csv) loads the file: every channel has its location,
    name, frequency and mode, and its filter and select mark in Comment; CHIRP's writer saves
    these memories byte for byte as the suite wrote them.
  - CHIRP's writer saves those memories, with a few more made in CHIRP that a memory channel
    of this transceiver cannot hold, and the suite reads CHIRP's file: the same channels,
    filter and select mark included, and every other record skipped with its reason.

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

# location, frequency in Hz, mode as the memory window shows it, filter, selected, label
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
    (100, 50125000, "USB", 2, False, "P1"),
    (101, 28400000, "FM", 1, False, "P2"),
]


def memory(number, hz, mode, **more):
    """A memory made in CHIRP, its other values CHIRP's defaults."""
    mem = chirp_common.Memory(number)
    mem.freq = hz
    mem.mode = mode
    for name, value in more.items():
        setattr(mem, name, value)
    return mem


# Memories made in CHIRP: what the suite reads of each (a channel, as the probe prints it,
# or the reason it is skipped).
MADE_IN_CHIRP = [
    (memory(20, 146520000, "FM"), "skip\tfrequency 146.520000 MHz is outside 0.03 to 99.9999 MHz"),
    (memory(21, 29620000, "FM", duplex="-", offset=100000),
     "skip\trepeater offset -0.100000 MHz cannot be stored"),
    (memory(22, 29600000, "NFM"), "skip\tmode NFM is not one this transceiver has"),
    (memory(23, 7074000, "USB", tmode="TSQL"), "skip\ttone mode TSQL cannot be stored"),
    (memory(24, 14074150, "USB"), "skip\tfrequency 14.074150 MHz is finer than 100 Hz"),
    (memory(25, 3573000, "LSB", name="FT8 80M WATERING HOLE"),
     "25\t035730\tLSB\t2\t0\tFT8 80M WA\nnote\tname FT8 80M WATERING HOLE cut to FT8 80M WA"),
]


def window_frequency(hz):
    return "%02d.%03d.%d" % (hz // 1000000, hz // 1000 % 1000, hz // 100 % 10)


def comment(filt, selected):
    return "Fil %d" % filt + ("; Select" if selected else "")


def fail(text):
    print("FAIL: " + text)
    sys.exit(1)


def write_with_suite(probe, path):
    lines = "".join("%d\t%s\t%s\tFil %d\t%s\t%s\n" %
                    (loc, window_frequency(hz), mode, filt, "*" if sel else " ", label)
                    for loc, hz, mode, filt, sel, label in CHANNELS)
    subprocess.run([probe, "write", path], input=lines.encode("latin-1"), check=True)


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
    print("CHIRP read %d channels as written" % len(CHANNELS))


def check_chirp_writes_the_same(radio, ours, path):
    radio.save(path)
    with open(ours, "rb") as a, open(path, "rb") as b:
        if a.read() != b.read():
            fail("CHIRP saves the suite's channels otherwise than the suite wrote them")
    print("CHIRP saves the channels byte for byte as the suite wrote them")


def read_with_suite(probe, path):
    result = subprocess.run([probe, "read", path], capture_output=True, check=True)
    return result.stdout.decode("latin-1").splitlines()


def check_suite_reads_chirp(probe, radio, path):
    for mem, _ in MADE_IN_CHIRP:
        radio.set_memory(mem)
    radio.save(path)
    got = read_with_suite(probe, path)
    want = ["%d\t%s\t%s\t%d\t%d\t%s" % (loc, window_frequency(hz).replace(".", ""), mode, filt,
                                         1 if sel else 0, label)
            for loc, hz, mode, filt, sel, label in CHANNELS if loc < 20]
    want += "\n".join(expected for _, expected in MADE_IN_CHIRP).split("\n")
    want += ["%d\t%s\t%s\t%d\t%d\t%s" % (loc, window_frequency(hz).replace(".", ""), mode, filt,
                                          1 if sel else 0, label)
             for loc, hz, mode, filt, sel, label in CHANNELS if loc >= 20]
    if got != want:
        fail("the suite read CHIRP's file as\n  %s\nnot\n  %s" %
             ("\n  ".join(got), "\n  ".join(want)))
    print("the suite read CHIRP's %d records as CHIRP wrote them" % len(got))


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--probe", required=True)
    args = parser.parse_args()
    with tempfile.TemporaryDirectory() as work:
        ours = os.path.join(work, "SUITE.CSV")
        theirs = os.path.join(work, "chirp.csv")
        write_with_suite(args.probe, ours)
        radio = load_with_chirp(ours)
        check_chirp_memories(radio)
        check_chirp_writes_the_same(radio, ours, theirs)
        check_suite_reads_chirp(args.probe, radio, theirs)


if __name__ == "__main__":
    main()
