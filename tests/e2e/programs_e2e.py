#!/usr/bin/python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""The control programs as a person uses them, against rigsim on a pseudo-terminal.

    programs_e2e.py --build tavrin --program PATH --rigsim PATH

Runs in a session bus and a runtime folder of its own (so that tests running side by side do
not share an accessibility bus), under its own Xvfb, and drives the program's real windows through the desktop's
accessibility bus (AT-SPI), finding windows by their titles and controls by their accessible
names, as a screen reader would. rigsim --log tells which frames the program sent. Checks, for
the build given:
  - start-up synchronisation: the queries the transceiver receives, in order, and the panel
    showing the transceiver's frequency afterwards (belmarq: its greeting);
  - "Create File" (tavrin and belmarq): the confirmation, one memory read per channel, and the
    data file exactly as it must be laid out for rigsim's channels 1, 2 and 5;
  - korvid, which has no memory window: "Select Memory Channel" through its channel prompt;
  - "Exit": the program ends with status 0.
Every wait has a deadline; at the end, whatever happened, every process started here is stopped.
"""

import argparse
import ctypes
import os
import shutil
import signal
import subprocess
import sys
import tempfile
import time

import gi

gi.require_version("Atspi", "2.0")
from gi.repository import Atspi  # noqa: E402

SYNC_QUERIES = ["FE FE 64 E0 03 FD", "FE FE 64 E0 04 FD", "FE FE 64 E0 12 FD",
                "FE FE 64 E0 1C 00 FD", "FE FE 64 E0 19 00 FD"]
IDENTITY_QUERY = ["FE FE 64 E0 19 00 FD"]

# What each build shows and how it reaches "Create File".
BUILDS = {
    "tavrin": {"main": "Radio Operation Menu", "startup": SYNC_QUERIES,
               "memory": "Memory Operation Menu", "to_memory": "go to    Memory Window "},
    "korvid": {"main": "Radio Operation Menu", "startup": SYNC_QUERIES,
               "memory": None, "to_memory": None},
    "belmarq": {"main": "Memory Operations", "startup": IDENTITY_QUERY,
                "memory": "Memory Operations", "to_memory": None},
}

# Accessible roles of the controls the test looks for.
BUTTONS = ("push button",)
OPTIONS = ("radio button", "push button")
FIELDS = ("text", "entry", "password text")


KESTRA_INI = ("KESTRA CONFIGURATION FILE (KESTRA.INI)\r\n \r\n[DeftFile] KESTRA.TXT\r\n"
              "[CallSign] N0CALL\r\n[CommPort] COM1\r\n[CommBaud] 19200,N,8,1\r\n \r\nEND\r\n")


def zones(*fields):
    """One data file line: six fields in print zones of 14 columns, the last unpadded."""
    return "".join(f.ljust(14) for f in fields[:5]) + fields[5] + "\r\n"


def expected_data_file():
    """The data file "Create File" writes for rigsim's channels 1, 2 and 5."""
    empty = zones("", "", "", "", "", "")
    header = zones("*Ch#", "Freq..:.", "Mode", "Fil #", "Select", "Label.....**")
    channels = [zones(" 1 ", "14.195.0", "USB", "Fil 2", "   ", "DX NET"),
                zones(" 2 ", "07.050.0", "LSB", "Fil 2", "   ", "40M"),
                zones(" 5 ", "50.125.0", "USB", "Fil 2", "   ", "6M CALL")]
    return ("".join([zones("", "", "", "", "", "KESTRA.TXT"), empty, header, empty] + channels +
                    [empty, header, empty, zones(" END", "", "", "", "", "")]))


class Failure(Exception):
    pass


def wait_for(what, deadline_seconds, probe, interval=0.2):
    """Polls probe() until it gives something true; fails naming `what` at the deadline."""
    until = time.monotonic() + deadline_seconds
    while True:
        result = probe()
        if result:
            return result
        if time.monotonic() > until:
            raise Failure(f"gave up after {deadline_seconds} s waiting for {what}")
        time.sleep(interval)


PR_SET_PDEATHSIG = 1


def die_with_parent():
    """Run in a child before it starts: the kernel kills it when the test itself is killed, so
    that no program outlives a test stopped by CTest's time limit."""
    ctypes.CDLL(None, use_errno=True).prctl(PR_SET_PDEATHSIG, signal.SIGKILL)


class Processes:
    """Every process started by the test, each in its own process group, stopped at the end."""

    def __init__(self):
        self.started = []

    def start(self, arguments, **options):
        process = subprocess.Popen(arguments, start_new_session=True, preexec_fn=die_with_parent,
                                   **options)
        self.started.append(process)
        return process

    def stop_all(self):
        for process in reversed(self.started):
            if process.poll() is None:
                os.killpg(process.pid, signal.SIGTERM)
                try:
                    process.wait(timeout=5)
                except subprocess.TimeoutExpired:
                    os.killpg(process.pid, signal.SIGKILL)
                    process.wait()


def start_display(processes):
    """An Xvfb on a display number it chooses itself, so that parallel tests never collide."""
    read_end, write_end = os.pipe()
    processes.start(["Xvfb", "-displayfd", str(write_end), "-screen", "0", "1280x1024x24",
                     "-nolisten", "tcp"], pass_fds=(write_end,), stderr=subprocess.DEVNULL)
    os.close(write_end)
    number = b""
    until = time.monotonic() + 30
    while not number.endswith(b"\n") and time.monotonic() < until:
        chunk = os.read(read_end, 16)
        if not chunk:
            break
        number += chunk
    os.close(read_end)
    if not number.strip():
        raise Failure("Xvfb did not start")
    return ":" + number.decode().strip()


# --- the accessibility tree -------------------------------------------------------------------

def children(node):
    try:
        count = node.get_child_count()
    except gi.repository.GLib.Error:
        return []
    found = []
    for index in range(count):
        try:
            child = node.get_child_at_index(index)
        except gi.repository.GLib.Error:
            continue
        if child is not None:
            found.append(child)
    return found


def name_of(node):
    try:
        return node.get_name() or ""
    except gi.repository.GLib.Error:
        return ""


def role_of(node):
    try:
        return node.get_role_name() or ""
    except gi.repository.GLib.Error:
        return ""


def accessibility_ready():
    """True once the accessibility registry answers: programs started before that may fail to
    register with it on a busy machine."""
    try:
        Atspi.get_desktop(0).get_child_count()
        return True
    except gi.repository.GLib.Error:
        return False


def find_application(pid):
    desktop = Atspi.get_desktop(0)
    for application in children(desktop):
        try:
            if application.get_process_id() == pid:
                return application
        except gi.repository.GLib.Error:
            continue
    return None


def showing(node):
    try:
        return node.get_state_set().contains(Atspi.StateType.SHOWING)
    except gi.repository.GLib.Error:
        return False


def find_window(application, title):
    """The top-level window of the program with this title that is on the screen."""
    if application is None:
        return None
    application.clear_cache()
    for window in children(application):
        if name_of(window) == title and showing(window):
            return window
    return None


def find_control(node, roles, name, depth=0):
    """The first control below `node` with one of these roles and this accessible name."""
    if depth > 30:
        return None
    for child in children(node):
        if role_of(child) in roles and name_of(child) == name:
            return child
        found = find_control(child, roles, name, depth + 1)
        if found is not None:
            return found
    return None


def press(control):
    """The control's first action: "press" for a button, "click" for an option."""
    try:
        if Atspi.Action.get_n_actions(control) > 0:
            Atspi.Action.do_action(control, 0)
            return
    except gi.repository.GLib.Error:
        pass
    raise Failure(f"\"{name_of(control)}\" offers no action")


def click(control, display):
    """A mouse click in the middle of the control, where the accessibility bus says it is on
    the screen: options run their action on a click, not on an accessibility "toggle"."""
    try:
        box = Atspi.Component.get_extents(control, Atspi.CoordType.SCREEN)
    except gi.repository.GLib.Error as error:
        raise Failure(f"\"{name_of(control)}\" has no place on the screen: {error}")
    if box.width <= 0 or box.height <= 0:
        raise Failure(f"\"{name_of(control)}\" is not on the screen")
    subprocess.run(["xdotool", "mousemove", "--sync", str(box.x + box.width // 2),
                    str(box.y + box.height // 2), "click", "1"],
                   env=dict(os.environ, DISPLAY=display), check=True, timeout=20)


def text_of(control):
    try:
        return Atspi.Text.get_text(control, 0, -1) or ""
    except gi.repository.GLib.Error:
        return ""


def type_into(control, text):
    if not Atspi.EditableText.set_text_contents(control, text):
        raise Failure(f"could not type into \"{name_of(control)}\"")


def find_role(node, roles, depth=0):
    """The first control below `node` with one of these roles, whatever its name."""
    if depth > 30:
        return None
    for child in children(node):
        if role_of(child) in roles:
            return child
        found = find_role(child, roles, depth + 1)
        if found is not None:
            return found
    return None


# --- one run of a program ---------------------------------------------------------------------

class Run:
    def __init__(self, build, program, rigsim, directory, processes, display):
        self.build = build
        self.shape = BUILDS[build]
        self.program_path = program
        self.directory = directory
        self.processes = processes
        self.display = display
        self.environment = dict(os.environ, DISPLAY=display, QT_QPA_PLATFORM="xcb",
                                QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1", QT_ACCESSIBILITY="1")
        self.environment.pop("WAYLAND_DISPLAY", None)
        self.frames_path = os.path.join(directory, "frames.log")
        self.rigsim = processes.start(
            [rigsim, "--headless", "--log", self.frames_path], cwd=directory,
            env=dict(self.environment, QT_QPA_PLATFORM="offscreen"),
            stdout=open(os.path.join(directory, "rigsim.out"), "w"), stderr=subprocess.STDOUT)
        wait_for("rigsim's com1 link", 20, lambda: os.path.islink(os.path.join(directory, "com1")))
        self.program = None
        self.application = None

    def frames(self):
        try:
            with open(self.frames_path) as log:
                return [line.strip() for line in log if line.strip()]
        except FileNotFoundError:
            return []

    def start_program(self):
        self.program = self.processes.start(
            [self.program_path], cwd=self.directory, env=self.environment,
            stdout=open(os.path.join(self.directory, "program.out"), "w"),
            stderr=subprocess.STDOUT)

    def still_running(self):
        if self.program.poll() is not None:
            raise Failure(f"{self.build} ended early with status {self.program.returncode}")
        return True

    def window(self, title, deadline=60):
        def probe():
            self.still_running()
            self.application = self.application or find_application(self.program.pid)
            return find_window(self.application, title)
        return wait_for(f"the window \"{title}\"", deadline, probe)

    def control(self, window, roles, name, deadline=10):
        return wait_for(f"\"{name}\" on \"{name_of(window)}\"", deadline,
                        lambda: find_control(window, roles, name))

    def check_start_up(self):
        """The splash stands 2 s; then the transceiver must be asked exactly the start-up
        queries, one per reply, and the main window must show what it answered."""
        expected = self.shape["startup"]
        main = self.window(self.shape["main"])
        frames = wait_for("the start-up queries", 30,
                          lambda: self.still_running() and len(self.frames()) >= len(expected)
                          and self.frames())
        if frames[:len(expected)] != expected:
            raise Failure(f"start-up sent {frames[:len(expected)]}, expected {expected}")
        if self.build == "belmarq":
            greeting = self.control(main, FIELDS, "Status/Info")
            wait_for("the greeting \"Hello N0CALL\"", 20,
                     lambda: self.still_running() and text_of(greeting) == "Hello N0CALL")
        else:
            frequency = self.control(main, FIELDS, "Frequency")
            wait_for("the panel to show rigsim's VFO frequency 14.195.0", 20,
                     lambda: self.still_running() and text_of(frequency).strip() == "14.195.0")
        # A transceiver that answered leaves no "RADIO NOT READY" box behind.
        time.sleep(1)
        self.still_running()
        if find_window(self.application, "Unexpected Radio Condition") is not None:
            raise Failure("the program reports the transceiver not ready")
        return main

    def create_file(self, main):
        if self.shape["to_memory"] is not None:
            press(self.control(main, BUTTONS, self.shape["to_memory"]))
        memory = self.window(self.shape["memory"])
        data_file = os.path.join(self.directory, "KESTRA.TXT")
        with open(data_file, "w") as previous:
            previous.write("whatever was here before\r\n")
        reads_before = len([f for f in self.frames() if f.startswith("FE FE 64 E0 1A 00")])
        if reads_before:
            raise Failure(f"{reads_before} memory reads before \"Create File\"")

        press(self.control(memory, BUTTONS, "Create File"))
        question = self.window("Create File", deadline=15)
        press(self.control(question, BUTTONS, "Yes"))

        # 100 steps of 200 ms: the head, then channels 1 to 99, then the tail.
        def finished():
            self.still_running()
            with open(data_file, newline="") as written:
                content = written.read()
            return content.endswith(" END" + " " * 66 + "\r\n") and content
        content = wait_for("the data file's END line", 90, finished, interval=0.5)
        if content != expected_data_file():
            raise Failure("the data file differs from the expected one:\n--- written\n" +
                          content + "--- expected\n" + expected_data_file())
        reads = [f for f in self.frames() if f.startswith("FE FE 64 E0 1A 00")]
        expected_reads = [f"FE FE 64 E0 1A 00 00 {n:02d} FD" for n in range(1, 100)]
        if reads != expected_reads:
            raise Failure(f"memory reads {reads[:3]}...{reads[-3:]} ({len(reads)}), "
                          "expected one for each channel 1 to 99 in order")
        return memory

    def select_memory_channel(self, main):
        """korvid's "Select Memory Channel": the channel prompt answered with 5 selects that
        channel and reads it back."""
        before = len(self.frames())
        click(self.control(main, OPTIONS, "Select Memory Channel"), self.display)
        prompt = self.window("Select Memory Channel Number", deadline=15)
        answer = wait_for("the prompt's answer field", 10, lambda: find_role(prompt, FIELDS))
        type_into(answer, "5")
        press(self.control(prompt, BUTTONS, "OK"))
        expected = ["FE FE 64 E0 08 00 05 FD", "FE FE 64 E0 1A 00 00 05 FD"]
        frames = wait_for("the select and read of channel 5", 20,
                          lambda: self.still_running() and len(self.frames()) >= before + 2
                          and self.frames()[before:])
        if frames[:2] != expected:
            raise Failure(f"\"Select Memory Channel\" 5 sent {frames[:2]}, expected {expected}")
        return main

    def exit(self, window):
        press(self.control(window, BUTTONS, "Exit"))
        try:
            status = self.program.wait(timeout=20)
        except subprocess.TimeoutExpired:
            raise Failure("\"Exit\" did not end the program within 20 s")
        if status != 0:
            raise Failure(f"\"Exit\" ended the program with status {status}")


def run_in_own_session(script=__file__):
    """Runs `script` (this one by default) again inside dbus-run-session, with a runtime folder
    of its own: the accessibility bus launcher puts its socket there."""
    runtime = tempfile.mkdtemp(prefix="e2e-runtime-")
    environment = dict(os.environ, XDG_RUNTIME_DIR=runtime)
    for name in ("DISPLAY", "WAYLAND_DISPLAY", "DBUS_SESSION_BUS_ADDRESS", "AT_SPI_BUS_ADDRESS"):
        environment.pop(name, None)
    session = subprocess.Popen(["dbus-run-session", "--", sys.executable, script, "--inside"] +
                               sys.argv[1:], env=environment, preexec_fn=die_with_parent)

    def forward(signal_number, _frame):
        session.send_signal(signal_number)
    signal.signal(signal.SIGTERM, forward)
    signal.signal(signal.SIGINT, forward)
    try:
        return session.wait(timeout=280)
    except subprocess.TimeoutExpired:
        print("FAIL: the test did not end within 280 s", file=sys.stderr)
        session.kill()
        session.wait()
        return 1
    finally:
        shutil.rmtree(runtime, ignore_errors=True)


def run_inside_session(label, scenario, prefix, data_file="", config=True, seconds=240,
                       logs=()):
    """The part of every end-to-end script that runs inside its own session: a scratch folder
    with KESTRA.INI and the data file (config=False leaves both out), a display with its
    accessibility registry, signals and an alarm that stop a hung run while its processes can
    still be stopped, and the tails of the logs when it fails. scenario(directory, processes,
    display) makes the checks and raises Failure."""
    # When the session ends, so does this run, and with it every process it started.
    ctypes.CDLL(None, use_errno=True).prctl(PR_SET_PDEATHSIG, signal.SIGTERM)
    processes = Processes()
    directory = tempfile.mkdtemp(prefix=prefix)

    def stop(signal_number, _frame):
        raise Failure(f"stopped by signal {signal_number}")
    signal.signal(signal.SIGTERM, stop)
    signal.signal(signal.SIGINT, stop)
    # The last line of defence against a hang inside a call that never returns to the test;
    # well below CTest's limit, so that the processes are still stopped here.
    signal.signal(signal.SIGALRM,
                  lambda *_: stop(f"ALRM (the run took over {seconds} s)", None))
    signal.alarm(seconds)
    # Calls on the accessibility bus wait this long for an answer from a busy program.
    Atspi.set_timeout(5000, 30000)
    try:
        if config:
            with open(os.path.join(directory, "KESTRA.INI"), "w", newline="") as ini:
                ini.write(KESTRA_INI)
            with open(os.path.join(directory, "KESTRA.TXT"), "w", newline="") as data:
                data.write(data_file)
        display = start_display(processes)
        wait_for("the accessibility registry", 60, accessibility_ready, interval=0.5)
        scenario(directory, processes, display)
    except Failure as failure:
        print(f"FAIL: {label}: {failure}", file=sys.stderr)
        print_log_tails(directory, logs)
        return 1
    finally:
        processes.stop_all()
        shutil.rmtree(directory, ignore_errors=True)
    return 0


def print_log_tails(directory, logs):
    """The last lines of every log of a failed run: the programs' output and the frame log."""
    names = sorted(name for name in os.listdir(directory) if name.endswith((".out", ".log")))
    for name in names + [name for name in logs if name not in names]:
        path = os.path.join(directory, name)
        if os.path.isfile(path):
            with open(path, errors="replace") as output:
                tail = output.readlines()[-20:]
            print(f"--- {name} (last lines)\n" + "".join(tail), file=sys.stderr)


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--build", required=True, choices=sorted(BUILDS))
    parser.add_argument("--program", required=True)
    parser.add_argument("--rigsim", required=True)
    parser.add_argument("--inside", action="store_true", help=argparse.SUPPRESS)
    arguments = parser.parse_args()
    if not arguments.inside:
        return run_in_own_session()

    def scenario(directory, processes, display):
        run = Run(arguments.build, arguments.program, arguments.rigsim, directory, processes,
                  display)
        run.start_program()
        window = run.check_start_up()
        print(f"{arguments.build}: start-up synchronisation passed")
        if BUILDS[arguments.build]["memory"] is not None:
            window = run.create_file(window)
            print(f"{arguments.build}: \"Create File\" passed")
        else:
            window = run.select_memory_channel(window)
            print(f"{arguments.build}: \"Select Memory Channel\" passed")
        run.exit(window)
        print(f"{arguments.build}: \"Exit\" passed")
    return run_inside_session(arguments.build, scenario, f"{arguments.build}-e2e-")


if __name__ == "__main__":
    sys.exit(main())
