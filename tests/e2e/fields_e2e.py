#!/usr/bin/python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Text entered as voice control and screen readers enter it, through the accessibility bus.

    fields_e2e.py --case setup    --program PATH_TO_TAVRIN
    fields_e2e.py --case dipole   --program PATH_TO_DIPOLE
    fields_e2e.py --case bearing  --program PATH_TO_BEARING
    fields_e2e.py --case scan     --program PATH_TO_TAVRIN --rigsim PATH

Each case puts text into fields with AT-SPI's "set text contents" (no key events at all, as
voice control, automation tools and a screen reader's paste do) and checks that the program
works with that text, not with what the field held before:
  - setup: tavrin without KESTRA.INI opens its setup window; "Call Sign" and "Default Data
    File" are set, "Save" is pressed, and KESTRA.INI must hold the new call sign and file;
  - dipole: "FREQUENCY" is set, "Calculate" must give the half-wave dipole's length;
  - bearing: both positions are set, "Calculate" must give a bearing and distances;
  - scan: on the memory window a first scan is run and stopped, a second one started on a
    channel whose squelch is open, and Space must press "Skip" (the focus is put there by
    every scan), not "Scan Rig", which would ask "STOP Scan Rig?".
The session bus, runtime folder, Xvfb and clean-up are those of programs_e2e.py.
"""

import argparse
import os
import subprocess
import sys
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import programs_e2e as e2e  # noqa: E402
from programs_e2e import Atspi, Failure, wait_for  # noqa: E402

BUTTONS = e2e.BUTTONS
FIELDS = e2e.FIELDS


def focused(control):
    try:
        control.clear_cache()
        return control.get_state_set().contains(Atspi.StateType.FOCUSED)
    except e2e.gi.repository.GLib.Error:
        return False


def focused_names(node, depth=0):
    """The names of the controls below `node` that have the keyboard focus, for a report."""
    if depth > 30:
        return []
    names = []
    for child in e2e.children(node):
        if focused(child):
            names.append(f"{e2e.role_of(child)} \"{e2e.name_of(child)}\"")
        names += focused_names(child, depth + 1)
    return names


def give_input_focus(title, display):
    """Puts the X input focus on the window with this title, as a window manager does when the
    last dialog over it closes (Xvfb has none)."""
    subprocess.run(["xdotool", "search", "--name", f"^{title}$", "windowfocus", "--sync"],
                   env=dict(os.environ, DISPLAY=display), check=True, timeout=20)


def expect_focus(program, window, control, when):
    give_input_focus(e2e.name_of(window), program.environment["DISPLAY"])
    try:
        wait_for(f"\"Skip\" to take the focus {when}", 10, lambda: focused(control))
    except Failure as failure:
        program.application.clear_cache()
        raise Failure(f"{failure}; focused: {focused_names(program.application) or 'nothing'}")


def mentions(node, text, depth=0):
    """Whether a control below `node` carries `text` in its name (a box's message label)."""
    if depth > 30:
        return False
    for child in e2e.children(node):
        if text in e2e.name_of(child) or mentions(child, text, depth + 1):
            return True
    return False


class Program:
    """One program under test, its windows found through the accessibility bus."""

    def __init__(self, path, directory, processes, display, arguments=()):
        self.directory = directory
        self.environment = dict(os.environ, DISPLAY=display, QT_QPA_PLATFORM="xcb",
                                QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1", QT_ACCESSIBILITY="1")
        self.environment.pop("WAYLAND_DISPLAY", None)
        name = os.path.basename(path)
        self.process = processes.start(
            [path, *arguments], cwd=directory, env=self.environment,
            stdout=open(os.path.join(directory, f"{name}.out"), "w"), stderr=subprocess.STDOUT)
        self.name = name
        self.application = None

    def running(self):
        if self.process.poll() is not None:
            raise Failure(f"{self.name} ended early with status {self.process.returncode}")
        return True

    def window(self, title, deadline=60, text=None):
        """The window with this title; with `text`, one that also shows that text."""
        def probe():
            self.running()
            self.application = self.application or e2e.find_application(self.process.pid)
            if self.application is None:
                return None
            self.application.clear_cache()
            for window in e2e.children(self.application):
                if (e2e.name_of(window) == title and e2e.showing(window)
                        and (text is None or mentions(window, text))):
                    return window
            return None
        return wait_for(f"the window \"{title}\"" + (f" saying \"{text}\"" if text else ""),
                        deadline, probe)

    def control(self, window, roles, name, deadline=10):
        return wait_for(f"\"{name}\" on \"{e2e.name_of(window)}\"", deadline,
                        lambda: e2e.find_control(window, roles, name))

    def answer(self, title, prompt, text=None):
        """Answers the input box `title` asking `prompt`: `text`, or its default, then OK."""
        box = self.window(title, deadline=15, text=prompt)
        if text is not None:
            e2e.type_into(wait_for("the answer field", 10, lambda: e2e.find_role(box, FIELDS)),
                          text)
        e2e.press(self.control(box, BUTTONS, "OK"))
        wait_for(f"\"{prompt}\" to close", 10, lambda: not e2e.showing(box))


def result_number(field):
    text = e2e.text_of(field).strip()
    try:
        return float(text)
    except ValueError:
        return None


def case_setup(program_path, directory, processes, display, _rigsim):
    tavrin = Program(program_path, directory, processes, display)
    # No KESTRA.INI: the program says so, then opens its setup window.
    e2e.press(tavrin.control(tavrin.window("Open Config File Error"), BUTTONS, "OK"))
    setup = tavrin.window("System Setup")
    e2e.type_into(tavrin.control(setup, FIELDS, "Call Sign"), "k1abc")
    e2e.type_into(tavrin.control(setup, FIELDS, "Default Data File"), "mylist")
    e2e.press(tavrin.control(setup, BUTTONS, "Save"))
    ini = os.path.join(directory, "KESTRA.INI")

    def saved():
        tavrin.application.clear_cache()
        if not os.path.exists(ini):
            return None
        with open(ini, newline="") as written:
            content = written.read()
        return "END" in content and content
    content = wait_for("KESTRA.INI to be written", 20, saved)
    lines = content.upper().split("\r\n")
    for line in ("[CALLSIGN] K1ABC", "[DEFTFILE] MYLIST.TXT"):
        if line not in lines:
            raise Failure(f"KESTRA.INI lacks {line!r}:\n{content}")


def case_dipole(program_path, directory, processes, display, _rigsim):
    dipole = Program(program_path, directory, processes, display)
    window = dipole.window("Dipole")
    e2e.type_into(dipole.control(window, FIELDS, "FREQUENCY"), "14.2")
    e2e.press(dipole.control(window, BUTTONS, "Calculate"))
    # 468 / 14.2 MHz: a half-wave dipole of 32 feet 11.5 inches.
    feet = dipole.control(window, FIELDS, "Feet")
    number = wait_for("the dipole's length in feet", 10, lambda: result_number(feet))
    if number != 32:
        raise Failure(f"the half-wave dipole for 14.2 MHz came out as {number} feet, not 32")


def case_bearing(program_path, directory, processes, display, _rigsim):
    # The station in Hartford, so that the program opens without a box about the file.
    with open(os.path.join(directory, "Bearing.ini"), "w", newline="") as ini:
        ini.write("[LAT]=41.700000\r\n[LONG]=-72.70000\r\n")
    bearing = Program(program_path, directory, processes, display)
    window = bearing.window("Bearing")
    for name, text in (("My Latitude", "41.7"), ("My Longitude", "72.7"),
                       ("Target Latitude", "51.5"), ("Target Longitude", "0.1")):
        e2e.type_into(bearing.control(window, FIELDS, name), text)
    e2e.press(bearing.control(window, BUTTONS, "Calculate"))
    # Hartford to London, both in the hemispheres the program starts with (N, W): about 3,400
    # miles, whatever the bearing.
    miles = bearing.control(window, FIELDS, "Distance in Miles")
    number = wait_for("the distance in miles", 10, lambda: result_number(miles))
    if not 3000 < number < 3800:
        raise Failure(f"the distance came out as {number} miles")
    if result_number(bearing.control(window, FIELDS, "Bearing in Degrees")) is None:
        raise Failure("no bearing was given")


def case_scan(program_path, directory, processes, display, rigsim_path):
    rigsim = Program(rigsim_path, directory, processes, display)
    panel = rigsim.window("rigsim \u2014 simulated transceiver")
    wait_for("rigsim's com1 link", 20, lambda: os.path.islink(os.path.join(directory, "com1")))
    tavrin = Program(program_path, directory, processes, display)
    radio = tavrin.window("Radio Operation Menu")
    frequency = tavrin.control(radio, FIELDS, "Frequency")
    wait_for("the start-up synchronisation", 30,
             lambda: tavrin.running() and e2e.text_of(frequency).strip() == "14.195.0")
    # The transceiver on memory channel 1, with a signal there: the scan holds on it.
    e2e.click(tavrin.control(radio, e2e.OPTIONS, "Mem"), display)
    time.sleep(1)
    e2e.press(rigsim.control(panel, ("check box",), "Open squelch"))
    e2e.press(tavrin.control(radio, BUTTONS, "go to    Memory Window "))
    memory = tavrin.window("Memory Operation Menu")
    scan = tavrin.control(memory, BUTTONS, "Scan Rig")
    skip = tavrin.control(memory, BUTTONS, "Skip")

    def start_scan():
        e2e.click(scan, display)
        e2e.press(tavrin.control(tavrin.window("Scan Rig", text="Are you sure?"), BUTTONS, "Yes"))
        tavrin.answer("Scan Rig", "STARTING Channel", "1")
        tavrin.answer("Scan Rig", "ENDING Channel", "1")
        tavrin.answer("Scan Rig", "Scan SPEED")
        tavrin.answer("Scan Rig", "Scan ONLY Select")

    start_scan()
    expect_focus(tavrin, memory, skip, "after the first scan")
    # Stopped with a click on "Scan Rig", which takes the focus.
    e2e.click(scan, display)
    e2e.press(tavrin.control(tavrin.window("Scan Rig", text="STOP Scan Rig?"), BUTTONS, "Yes"))
    time.sleep(2)
    start_scan()
    expect_focus(tavrin, memory, skip, "after the second scan")
    time.sleep(2)  # the scan reaches channel 1 and hears its open squelch
    subprocess.run(["xdotool", "key", "space"], env=dict(os.environ, DISPLAY=display),
                   check=True, timeout=20)
    time.sleep(2)
    tavrin.running()
    tavrin.application.clear_cache()
    for window in e2e.children(tavrin.application):
        if e2e.showing(window) and mentions(window, "STOP Scan Rig?"):
            raise Failure("Space pressed \"Scan Rig\" and asked \"STOP Scan Rig?\"")


CASES = {"setup": case_setup, "dipole": case_dipole, "bearing": case_bearing, "scan": case_scan}


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--case", required=True, choices=sorted(CASES))
    parser.add_argument("--program", required=True)
    parser.add_argument("--rigsim")
    parser.add_argument("--inside", action="store_true", help=argparse.SUPPRESS)
    arguments = parser.parse_args()
    if not arguments.inside:
        return e2e.run_in_own_session(os.path.abspath(__file__))

    def scenario(directory, processes, display):
        CASES[arguments.case](arguments.program, directory, processes, display, arguments.rigsim)
        print(f"{arguments.case}: passed")
    # Only the scan needs the configuration: the others start without one, as a new user does.
    return e2e.run_inside_session(arguments.case, scenario, f"fields-{arguments.case}-e2e-",
                                  config=arguments.case == "scan")


if __name__ == "__main__":
    sys.exit(main())
