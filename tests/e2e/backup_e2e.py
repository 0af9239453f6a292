#!/usr/bin/python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""The CI-V cable pulled while the memory window copies channels, with tavrin against rigsim.

    backup_e2e.py --program PATH --rigsim PATH

Runs, as programs_e2e.py does, in a session bus of its own under its own Xvfb and drives
tavrin's memory window through the accessibility bus. The data file holds channels 3 and 77
to 99.
  - "Create File" while rigsim pulls its cable after a few memory reads: the old data file is
    byte for byte what it was, tavrin still runs, and a box says the port went away;
  - the cable back in, then "Update Rig" while the cable is pulled again: the data file is
    unchanged and a box names the first line that was not stored, the one after the last
    channel rigsim received (or that channel's, when the cable went before its read-back);
  - the cable back in (a new pty behind the same com1 link; tavrin opens it again itself):
    "Create File" writes the whole file, ending in its END line.
Every wait has a deadline; at the end every process started here is stopped.
"""

import argparse
import os
import signal
import sys
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import programs_e2e as e2e  # noqa: E402
import faults_e2e  # noqa: E402

MEMORY_READ = "FE FE 64 E0 1A 00"
# The channels of the data file, in its order from line 5 on: number, frequency, label.
FILE_CHANNELS = [(3, "21.300.0", "15M"), (77, "28.500.0", "10M")] + [
    (n, f"14.{3 * n:03d}.0", f"CH {n}") for n in range(78, 100)]
FIRST_CHANNEL_LINE = 5
# rigsim's own channels: number, frequency, mode, label.
RIGSIM_CHANNELS = [(1, "14.195.0", "USB", "DX NET"),
                   (2, "07.050.0", "LSB", "40M"), (5, "50.125.0", "USB", "6M CALL")]


def data_file(lines):
    """A data file of these channel lines, laid out as "Create File" lays it out."""
    z = e2e.zones
    empty = z("", "", "", "", "", "")
    header = z("*Ch#", "Freq..:.", "Mode", "Fil #", "Select", "Label.....**")
    return "".join([z("", "", "", "", "", "KESTRA.TXT"), empty, header, empty] + lines +
                   [empty, header, empty, z(" END", "", "", "", "", "")])


def channel_line(number, frequency, mode, label):
    return e2e.zones(f" {number} ", frequency, mode, "Fil 2", "   ", label)


def known_data_file():
    return data_file([channel_line(n, f, "USB", label) for n, f, label in FILE_CHANNELS])


def memory_writes(frames):
    """The channels of the memory writes (1A 00 and a whole record) among `frames`."""
    channels = []
    for frame in frames:
        parts = frame.split()
        if frame.startswith(MEMORY_READ) and len(parts) > 9:
            channels.append(int(parts[7], 16) // 16 * 10 + int(parts[7], 16) % 16)
    return channels


def box_text(box):
    """Every name and text shown inside a box."""
    found = []

    def walk(node, depth):
        if depth > 20:
            return
        for child in e2e.children(node):
            found.append(e2e.name_of(child))
            found.append(e2e.text_of(child))
            walk(child, depth + 1)
    walk(box, 0)
    return " ".join(part for part in found if part)


def data_file_bytes(run):
    with open(os.path.join(run.directory, "KESTRA.TXT"), "rb") as data:
        return data.read()


def memory_reads(run):
    return [f for f in run.frames() if f.startswith(MEMORY_READ)]


def answer_box(run, title, wanted):
    """The box titled `title` whose text holds `wanted`; closed with OK afterwards."""
    def probe():
        run.still_running()
        box = e2e.find_window(run.application, title)
        return box is not None and wanted in box_text(box) and box
    box = e2e.wait_for(f"a \"{title}\" box saying \"{wanted}\"", 60, probe, interval=0.5)
    text = box_text(box)
    e2e.press(run.control(box, e2e.BUTTONS, "OK"))
    return text


def start_operation(run, memory, caption):
    e2e.press(run.control(memory, e2e.BUTTONS, caption))
    question = run.window(caption, deadline=15)
    e2e.press(run.control(question, e2e.BUTTONS, "Yes"))


def plug_back_in(run):
    """The cable in again: tavrin opens the new line itself and runs its five start-up
    queries on it (the panel may show a memory channel by now, so only the queries count)."""
    frames_before = len(run.frames())
    faults_e2e.replug(run)
    faults_e2e.wait_for_sync_queries(run, frames_before)
    time.sleep(1)


def check_pulled_create_file(run, memory, before):
    """The cable pulled once five channels were read: the old file kept, a box says why."""
    start_operation(run, memory, "Create File")
    e2e.wait_for("five memory reads", 30,
                 lambda: run.still_running() and len(memory_reads(run)) >= 5)
    os.kill(run.rigsim.pid, signal.SIGUSR2)
    text = answer_box(run, "Create File", "went away")
    if data_file_bytes(run) != before:
        raise e2e.Failure("the pulled cable changed the old data file")
    return text


def check_pulled_update_rig(run, memory, before):
    """The cable pulled once channel 3 was written and read back: the data file unchanged, a
    box names the first line not stored. The upload goes at the pace of the line, so which
    line that is follows from the writes rigsim received before the pull: the line after the
    last of them, or that one's own when the cable went before its read-back came. Returns
    the box's text and the channels rigsim received."""
    frames = len(run.frames())
    start_operation(run, memory, "Update Rig")
    e2e.wait_for("the write and read-back of channel 3", 30,
                 lambda: run.still_running() and
                 f"{MEMORY_READ} 00 03 FD" in run.frames()[frames:])
    os.kill(run.rigsim.pid, signal.SIGUSR2)
    text = answer_box(run, "Update Rig", "went away")
    written = memory_writes(run.frames()[frames:])
    if written != [n for n, _, _ in FILE_CHANNELS[:len(written)]] or not written:
        raise e2e.Failure(f"rigsim received the writes of channels {written}")
    last_written_line = FIRST_CHANNEL_LINE + len(written) - 1
    named = [f"line {line} " for line in (last_written_line, last_written_line + 1)]
    if not any(line in text for line in named):
        raise e2e.Failure(f"the \"Update Rig\" box names neither {named[0]!r} nor "
                          f"{named[1]!r}: \"{text}\"")
    if data_file_bytes(run) != before:
        raise e2e.Failure("Update Rig changed the data file")
    return text, written


def rig_after_update_data_file(written):
    """What rigsim holds after the pulled "Update Rig": its own channels 1, 2 and 5, and the
    channels whose writes it received before the cable went."""
    channels = {n: (f, mode, label) for n, f, mode, label in RIGSIM_CHANNELS}
    for n, f, label in FILE_CHANNELS:
        if n in written:
            channels[n] = (f, "USB", label)
    return data_file([channel_line(n, *channels[n]) for n in sorted(channels)])


def check_complete_create_file(run, memory, before, written):
    """A whole backup on the new line: every channel read, and the file what rigsim holds."""
    reads_before = len(memory_reads(run))
    start_operation(run, memory, "Create File")

    def finished():
        run.still_running()
        content = data_file_bytes(run)
        return content != before and content
    content = e2e.wait_for("the new data file", 120, finished, interval=0.5).decode("latin-1")
    expected = rig_after_update_data_file(written)
    if content != expected:
        raise e2e.Failure("the data file differs from what rigsim holds:\n--- written\n" +
                          content + "--- expected\n" + expected)
    reads = memory_reads(run)[reads_before:]
    expected_reads = [f"{MEMORY_READ} 00 {n:02d} FD" for n in range(1, 100)]
    if reads != expected_reads:
        raise e2e.Failure(f"memory reads {reads[:3]}...{reads[-3:]} ({len(reads)}), "
                          "expected one for each channel 1 to 99 in order")
    return content


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--program", required=True)
    parser.add_argument("--rigsim", required=True)
    parser.add_argument("--inside", action="store_true", help=argparse.SUPPRESS)
    arguments = parser.parse_args()
    if not arguments.inside:
        return e2e.run_in_own_session(os.path.abspath(__file__))

    def scenario(directory, processes, display):
        run = e2e.Run("tavrin", arguments.program, arguments.rigsim, directory, processes,
                      display)
        run.start_program()
        main_window = run.check_start_up()
        before = data_file_bytes(run)
        e2e.press(run.control(main_window, e2e.BUTTONS, e2e.BUILDS["tavrin"]["to_memory"]))
        memory = run.window("Memory Operation Menu")
        print("tavrin: pulled during Create File: " +
              check_pulled_create_file(run, memory, before))
        plug_back_in(run)
        text, written = check_pulled_update_rig(run, memory, before)
        print("tavrin: pulled during Update Rig: " + text)
        plug_back_in(run)
        check_complete_create_file(run, memory, before, written)
        print("tavrin: a whole Create File after the cable went back in")
        run.exit(memory)
    return e2e.run_inside_session("tavrin", scenario, "tavrin-backup-e2e-",
                                  data_file=known_data_file(), seconds=250)


if __name__ == "__main__":
    sys.exit(main())
