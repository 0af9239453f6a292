#!/usr/bin/python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""A pulled CI-V cable, as a person sees it, with the control program against rigsim.

    faults_e2e.py --build tavrin|korvid --program PATH --rigsim PATH

Runs, as programs_e2e.py does, in a session bus of its own under its own Xvfb, and drives the
program's windows through the accessibility bus. After the start-up synchronisation rigsim's
cable is pulled and plugged back in, a new pseudo-terminal behind the same com1 link:
  - tavrin: the cable is pulled (SIGUSR2) and stays out for three seconds: the status line says
    "RADIO NOT READY" and names the gone port; then it goes back in (SIGUSR1);
  - korvid: the line is replugged at once (SIGUSR1), as rigsim's "Replug cable" key does.
Then, from rigsim's frame log, the program must run the synchronisation's five queries again on
the new line, and a command clicked afterwards must be answered: tavrin's "OpFq" (the 03 query,
the frequency on the panel and the answer on the status line), korvid's "Select Memory Channel"
5 (korvid has no "OpFq"; the select and read of channel 5 and its frequency on the panel).
Every wait has a deadline; at the end every process started here is stopped.
"""

import argparse
import os
import signal
import sys
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import programs_e2e as e2e  # noqa: E402

OPFQ_QUERY = "FE FE 64 E0 03 FD"
# rigsim's answer to it (VFO 14.195.0 MHz) as the status line shows it, in decimal.
OPFQ_ANSWER = "254 254 224 100 3 0 80 25 20 0 253"


def plugged_in_lines(run):
    """How often rigsim has said that its cable went (back) in."""
    try:
        with open(os.path.join(run.directory, "rigsim.out")) as output:
            return sum(1 for line in output if "cable plugged in" in line)
    except FileNotFoundError:
        return 0


def status_line(run, main):
    return e2e.text_of(run.control(main, e2e.FIELDS, "Status line"))


def pull_and_plug_back_in(run, main):
    """The cable out for three seconds, then in again; the status line tells the gone port."""
    before = plugged_in_lines(run)
    os.kill(run.rigsim.pid, signal.SIGUSR2)
    link = os.path.join(run.directory, "com1")
    e2e.wait_for("com1 to point at nothing with the cable pulled", 10,
                 lambda: os.path.islink(link) and not os.path.exists(link))
    gone = e2e.wait_for("the status line to say the port is gone", 10,
                        lambda: run.still_running() and "is gone" in status_line(run, main) and
                        status_line(run, main))
    if "RADIO NOT READY" not in gone or "COM1" not in gone:
        raise e2e.Failure(f"the status line says \"{gone}\" for the pulled cable")
    time.sleep(3)
    run.still_running()
    os.kill(run.rigsim.pid, signal.SIGUSR1)
    e2e.wait_for("rigsim's new line", 10, lambda: plugged_in_lines(run) > before)


def replug(run):
    """rigsim drops its line and makes a new one behind the same link, at once."""
    before = plugged_in_lines(run)
    os.kill(run.rigsim.pid, signal.SIGUSR1)
    e2e.wait_for("rigsim's new line", 10, lambda: plugged_in_lines(run) > before)


def wait_for_sync_queries(run, frames_before):
    """The five start-up queries, in order, first on the new line."""
    expected = e2e.SYNC_QUERIES
    frames = e2e.wait_for("the synchronisation's queries on the new line", 20,
                          lambda: run.still_running() and
                          len(run.frames()) >= frames_before + len(expected) and
                          run.frames()[frames_before:])
    if frames[:len(expected)] != expected:
        raise e2e.Failure(f"after the replug the program sent {frames[:len(expected)]}, "
                          f"expected {expected}")


def check_synchronised_again(run, main, frames_before):
    """The five start-up queries, in order, on the new line, and the panel showing the answer."""
    wait_for_sync_queries(run, frames_before)
    frequency = run.control(main, e2e.FIELDS, "Frequency")
    e2e.wait_for("the panel to show 14.195.0 again", 20,
                 lambda: run.still_running() and e2e.text_of(frequency).strip() == "14.195.0")
    # The synchronisation ends with its last answer: nothing more is on its way.
    time.sleep(1)


def click_opfq(run, main):
    """tavrin's "OpFq" after the replug: the 03 query goes out and its answer is shown."""
    e2e.press(run.control(main, e2e.BUTTONS, "Clear Status"))
    frequency = run.control(main, e2e.FIELDS, "Frequency")
    e2e.wait_for("\"Clear Status\" to blank the frequency", 10,
                 lambda: e2e.text_of(frequency).strip() == "")
    before = len(run.frames())
    e2e.click(run.control(main, e2e.OPTIONS, "OpFq"), run.display)
    frames = e2e.wait_for("the OpFq query", 15,
                          lambda: run.still_running() and len(run.frames()) > before and
                          run.frames()[before:])
    if frames != [OPFQ_QUERY]:
        raise e2e.Failure(f"\"OpFq\" sent {frames}, expected [{OPFQ_QUERY}]")
    e2e.wait_for("the answer's frequency 14.195.0 on the panel", 15,
                 lambda: run.still_running() and e2e.text_of(frequency).strip() == "14.195.0")
    line = status_line(run, main)
    if OPFQ_ANSWER not in line:
        raise e2e.Failure(f"the status line shows \"{line}\", not the answer {OPFQ_ANSWER}")


def select_channel_five(run, main):
    """korvid's "Select Memory Channel" 5 after the replug: selected, read back and shown."""
    run.select_memory_channel(main)
    frequency = run.control(main, e2e.FIELDS, "Frequency")
    e2e.wait_for("channel 5's frequency 50.125.0 on the panel", 15,
                 lambda: run.still_running() and e2e.text_of(frequency).strip() == "50.125.0")


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--build", required=True, choices=["tavrin", "korvid"])
    parser.add_argument("--program", required=True)
    parser.add_argument("--rigsim", required=True)
    parser.add_argument("--inside", action="store_true", help=argparse.SUPPRESS)
    arguments = parser.parse_args()
    if not arguments.inside:
        return e2e.run_in_own_session(os.path.abspath(__file__))

    def scenario(directory, processes, display):
        run = e2e.Run(arguments.build, arguments.program, arguments.rigsim, directory, processes,
                      display)
        run.start_program()
        main_window = run.check_start_up()
        print(f"{arguments.build}: start-up synchronisation passed")
        frames_before = len(run.frames())
        if arguments.build == "tavrin":
            pull_and_plug_back_in(run, main_window)
            print("tavrin: the pulled cable is shown on the status line")
        else:
            replug(run)
        check_synchronised_again(run, main_window, frames_before)
        print(f"{arguments.build}: synchronised again on the new line")
        if arguments.build == "tavrin":
            click_opfq(run, main_window)
            print("tavrin: \"OpFq\" answered after the replug")
        else:
            select_channel_five(run, main_window)
            print("korvid: \"Select Memory Channel\" answered after the replug")
        run.exit(main_window)
        print(f"{arguments.build}: \"Exit\" passed")
    return e2e.run_inside_session(arguments.build, scenario, f"{arguments.build}-faults-e2e-")


if __name__ == "__main__":
    sys.exit(main())
