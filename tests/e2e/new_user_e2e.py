#!/usr/bin/python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""From the desktop menu to the transceiver, as a new user gets there: clicks only.

    new_user_e2e.py --program PATH_TO_TAVRIN --rigsim PATH --entry station-tavrin.desktop
                    --launcher PATH_TO_STATION_START

Needs root (it makes a user and a device file); without root or useradd it says why and ends
with status 77, which CTest reports as skipped. As root it:
  - makes a user that is not root, with a home folder of its own;
  - "installs" the program and station-start into a folder of their own (as the package puts
    them on the PATH);
  - starts rigsim as root, gives its pseudo-terminal to root:dialout with mode 0660, as a USB
    serial device is, and names it /dev/ttyUSB9x: the device list of the setup window finds it
    as it would find a CI-V cable;
  - first, with the user outside the group dialout and a station folder that already leads COM1
    to the device: the program says once that the user may not open it, naming the device, the
    group and the cure; then the device is opened to the user while the program runs, and the
    panel must synchronise within 2 s, without a restart;
  - then, with the user in the group dialout and no station folder yet, as a new user: in a
    session bus and an Xvfb of the user's own, it starts the program the way its desktop entry
    starts it (its Exec line, from the home folder) and goes through the windows
    with clicks only, through the accessibility bus: the box about the missing KESTRA.INI,
    "Find Transceiver", "Yes" to save what it found, "Restart program!", and the menu entry
    again, until the radio window shows the
    transceiver's frequency. The interactions are counted and printed;
  - checks what was sent on the line before the panel synchronised (only the identity query)
    and what is in the home folder (the station folder, nothing loose).
Everything made is removed at the end, whatever happened.
"""

import argparse
import grp
import os
import pwd
import shutil
import subprocess
import sys
import tempfile
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

SKIP = 77
IDENTITY_QUERY = "FE FE 64 E0 19 00 FD"


def skip(why):
    print(f"SKIP: {why}")
    return SKIP


# --- as root: the user, the programs, the device ----------------------------------------------

def remove_stale_lock(device):
    """Removes the lock file of `device` that a program of an earlier test left behind.

    A pseudo-terminal's number is used again and again; when a program that held it as root
    was killed, its lock file (owned by root in the sticky lock folder) stays, and the user of
    this test could not remove it. The program would rightly name it in its box; here the
    administrator clears it before handing the line over, as a reboot would.
    """
    lock = os.path.join("/run/lock", "LCK.." + os.path.relpath(device, "/dev").replace("/", "_"))
    try:
        with open(lock) as held:
            pid = int(held.read().split()[0])
    except (OSError, ValueError, IndexError):
        return
    try:
        os.kill(pid, 0)
    except ProcessLookupError:
        os.unlink(lock)
    except PermissionError:
        pass


def free_device_name():
    for number in range(90, 100):
        path = f"/dev/ttyUSB{number}"
        if not os.path.lexists(path):
            return path
    raise RuntimeError("no free /dev/ttyUSB9x name")


def stop_processes_of(user):
    """Whatever the test's own user still runs (the accessibility bus of its session, say),
    each process by its number: the user was made for this test and ran nothing else."""
    time.sleep(1)
    listed = subprocess.run(["pgrep", "-u", user], capture_output=True, text=True, timeout=30)
    for pid in listed.stdout.split():
        try:
            os.kill(int(pid), 15)
        except (ProcessLookupError, ValueError):
            pass


def outside(arguments):
    if os.geteuid() != 0:
        return skip("the new user's test needs root to make a user and a device file")
    for tool in ("useradd", "usermod", "userdel", "runuser", "dbus-run-session", "Xvfb"):
        if shutil.which(tool) is None:
            return skip(f"{tool} is not installed")
    try:
        dialout = grp.getgrnam("dialout")
    except KeyError:
        return skip("this machine has no dialout group")

    scratch = tempfile.mkdtemp(prefix="new-user-e2e-")
    os.chmod(scratch, 0o755)
    user = f"stn{os.getpid() % 100000}"
    home = os.path.join(scratch, "home")
    device = None
    rigsim = None
    made_user = False
    try:
        subprocess.run(["useradd", "--create-home", "--home-dir", home, "--shell", "/bin/sh",
                        user], check=True, timeout=60)
        made_user = True
        account = pwd.getpwnam(user)

        # The programs as the package puts them on the PATH.
        prefix = os.path.join(scratch, "prefix", "bin")
        os.makedirs(prefix)
        for path, name in ((arguments.program, os.path.basename(arguments.program)),
                           (arguments.launcher, "station-start")):
            shutil.copy(path, os.path.join(prefix, name))
            os.chmod(os.path.join(prefix, name), 0o755)
        for folder in (os.path.join(scratch, "prefix"),):
            os.chmod(folder, 0o755)

        # rigsim, as the transceiver at the end of the cable.
        line = os.path.join(scratch, "line")
        os.makedirs(line)
        os.chmod(line, 0o755)
        frames = os.path.join(line, "frames.log")
        rigsim = subprocess.Popen([arguments.rigsim, "--headless", "--log", frames], cwd=line,
                                  env=dict(os.environ, QT_QPA_PLATFORM="offscreen"),
                                  stdout=open(os.path.join(line, "rigsim.out"), "w"),
                                  stderr=subprocess.STDOUT)
        link = os.path.join(line, "com1")
        until = time.monotonic() + 20
        while not os.path.islink(link) and time.monotonic() < until:
            time.sleep(0.1)
        if not os.path.islink(link):
            print("FAIL: rigsim made no com1 link", file=sys.stderr)
            return 1
        # The cable: rigsim's line owned root:dialout with mode 0660, as a USB serial device is,
        # under a /dev/ttyUSB name (a link: a pseudo-terminal opens only from its own folder).
        line_device = os.path.realpath(link)
        remove_stale_lock(line_device)
        os.chown(line_device, 0, dialout.gr_gid)
        os.chmod(line_device, 0o660)
        device = free_device_name()
        os.symlink(line_device, device)

        # The scripts and the menu entry where the user can read them.
        scripts = os.path.join(scratch, "tests")
        os.makedirs(scripts)
        here = os.path.dirname(os.path.abspath(__file__))
        for name in ("programs_e2e.py", "new_user_e2e.py"):
            shutil.copy(os.path.join(here, name), scripts)
        entry = shutil.copy(arguments.entry, scripts)
        os.chmod(scripts, 0o755)

        runtime = os.path.join(scratch, "runtime")
        os.makedirs(runtime, mode=0o700)
        os.chown(runtime, account.pw_uid, account.pw_gid)
        # Where the user's side asks for the permission to be given, and hears when it was.
        exchange = os.path.join(scratch, "exchange")
        os.makedirs(exchange, mode=0o700)
        os.chown(exchange, account.pw_uid, account.pw_gid)
        environment = {
            "HOME": home, "USER": user, "LOGNAME": user, "SHELL": "/bin/sh",
            "PATH": prefix + ":/usr/bin:/bin", "XDG_RUNTIME_DIR": runtime,
            "LANG": os.environ.get("LANG", "C.UTF-8"),
        }

        def run_inside(case, *more):
            session = subprocess.Popen(
                ["runuser", "-u", user, "--", "env", "-i"] +
                [f"{key}={value}" for key, value in environment.items()] +
                ["dbus-run-session", "--", sys.executable,
                 os.path.join(scripts, "new_user_e2e.py"), "--inside", case, "--entry", entry,
                 "--device", device, "--frames", frames, "--exchange", exchange, *more])
            until = time.monotonic() + 130
            while session.poll() is None:
                if time.monotonic() > until:
                    session.kill()
                    raise subprocess.TimeoutExpired(case, 130)
                ask = os.path.join(exchange, "grant")
                if os.path.exists(ask):
                    os.unlink(ask)
                    # The administrator opens the device to everyone (as a udev rule would).
                    os.chmod(line_device, 0o666)
                    with open(os.path.join(exchange, "granted"), "w") as granted:
                        granted.write(repr(time.time()))
                time.sleep(0.02)
            if session.returncode != 0:
                with open(os.path.join(line, "rigsim.out"), errors="replace") as output:
                    print("--- rigsim.out (last lines)\n" + "".join(output.readlines()[-10:]),
                          file=sys.stderr)
            return session.returncode

        # A station folder from an earlier Setup: KESTRA.INI, the data file, com1 to the cable.
        station = os.path.join(home, "Station")
        os.makedirs(station)
        with open(os.path.join(station, "KESTRA.INI"), "w", newline="") as ini:
            ini.write("KESTRA CONFIGURATION FILE (KESTRA.INI)\r\n \r\n[DeftFile] KESTRA.TXT\r\n"
                      "[CallSign] N0CALL\r\n[CommPort] COM1\r\n[CommBaud] 19200,N,8,1\r\n \r\n"
                      "END\r\n")
        open(os.path.join(station, "KESTRA.TXT"), "w").close()
        os.symlink(device, os.path.join(station, "com1"))
        for path in (station, os.path.join(station, "KESTRA.INI"),
                     os.path.join(station, "KESTRA.TXT")):
            os.chown(path, account.pw_uid, account.pw_gid)
        os.lchown(os.path.join(station, "com1"), account.pw_uid, account.pw_gid)
        status = run_inside("permission")
        if status != 0:
            return status

        # A new user: in the group dialout, no station folder yet.
        subprocess.run(["usermod", "--append", "--groups", "dialout", user], check=True,
                       timeout=60)
        os.chmod(line_device, 0o660)
        shutil.rmtree(station)
        with open(frames) as log:
            before = len([entry for entry in log if entry.strip()])
        return run_inside("new-user", "--skip-frames", str(before))
    except subprocess.TimeoutExpired:
        print("FAIL: a session of the new user did not end in time", file=sys.stderr)
        return 1
    finally:
        if rigsim is not None and rigsim.poll() is None:
            rigsim.terminate()
            try:
                rigsim.wait(timeout=10)
            except subprocess.TimeoutExpired:
                rigsim.kill()
        if device is not None and os.path.lexists(device):
            os.unlink(device)
        if made_user:
            stop_processes_of(user)
            subprocess.run(["userdel", "--remove", user], timeout=60,
                           stderr=subprocess.DEVNULL)
        shutil.rmtree(scratch, ignore_errors=True)


# --- as the user: the clicks ------------------------------------------------------------------

def inside(arguments):
    import programs_e2e as e2e
    from programs_e2e import Failure, wait_for

    with open(arguments.entry) as entry:
        command = [line.split("=", 1)[1].strip().split() for line in entry
                   if line.startswith("Exec=")][0]
    home = os.environ["HOME"]
    station = os.path.join(home, "Station")
    processes = e2e.Processes()
    interactions = []

    def count(what):
        interactions.append(what)
        print(f"interaction {len(interactions)}: {what}")

    def frames():
        try:
            with open(arguments.frames) as log:
                return [line.strip() for line in log if line.strip()][arguments.skip_frames:]
        except FileNotFoundError:
            return []

    class Program:
        """The program started as its desktop entry starts it, from the home folder."""

        def __init__(self, display):
            self.environment = dict(os.environ, DISPLAY=display, QT_QPA_PLATFORM="xcb",
                                    QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1", QT_ACCESSIBILITY="1")
            self.process = processes.start(
                command, cwd=home, env=self.environment,
                stdout=open(os.path.join(home, ".program.out"), "a"), stderr=subprocess.STDOUT)
            self.application = None

        def running(self):
            if self.process.poll() is not None:
                raise Failure(f"the program ended early with status {self.process.returncode}")
            return True

        def window(self, title, deadline=60):
            def probe():
                self.running()
                self.application = self.application or e2e.find_application(self.process.pid)
                return e2e.find_window(self.application, title)
            return wait_for(f"the window \"{title}\"", deadline, probe)

        def control(self, window, roles, name, deadline=10):
            return wait_for(f"\"{name}\" on \"{e2e.name_of(window)}\"", deadline,
                            lambda: e2e.find_control(window, roles, name))

        def says(self, window, text, depth=0):
            """Whether a control below `window` carries `text` (a box's message label)."""
            if depth > 30:
                return False
            for child in e2e.children(window):
                if text in e2e.name_of(child) or self.says(child, text, depth + 1):
                    return True
            return False

    def texts(node, depth=0):
        found = [e2e.name_of(node)] if e2e.name_of(node) else []
        if depth < 30:
            for child in e2e.children(node):
                found += texts(child, depth + 1)
        return found

    def press(program, title, button, also=None):
        window = program.window(title, deadline=30)
        try:
            if also is not None:
                wait_for(f"\"{title}\" to say \"{also}\"", 10, lambda: program.says(window, also))
            control = program.control(window, e2e.BUTTONS, button)
        except Failure as failure:
            raise Failure(f"{failure}; \"{title}\" shows: {' | '.join(texts(window))}")
        e2e.press(control)
        count(f"\"{button}\" on \"{title}\"")

    try:
        e2e.Atspi.set_timeout(5000, 30000)
        display = e2e.start_display(processes)
        wait_for("the accessibility registry", 60, e2e.accessibility_ready, interval=0.5)

        if arguments.inside == "permission":
            # The station folder leads COM1 to the device, which this user may not open yet.
            program = Program(display)
            box = program.window("Comm Port Error - Permission Denied")
            user = os.environ["USER"]
            # The device file itself (a cable's /dev/ttyUSB0, here the line behind the name).
            for text in (os.path.realpath(arguments.device), "belongs to the group dialout",
                         f"sudo adduser {user} dialout"):
                if not program.says(box, text):
                    raise Failure(f"the permission box does not say \"{text}\": "
                                  f"{' | '.join(texts(box))}")
            e2e.press(program.control(box, e2e.BUTTONS, "OK"))
            radio = program.window("Radio Operation Menu")
            frequency = program.control(radio, e2e.FIELDS, "Frequency")
            time.sleep(3)
            if frames():
                raise Failure(f"{frames()} went out on a device the program could not open")
            program.application.clear_cache()
            if e2e.find_window(program.application, "Comm Port Error - Permission Denied"):
                raise Failure("the permission box came again")
            # The device is opened to the user while the program runs.
            open(os.path.join(arguments.exchange, "grant"), "w").close()
            granted_at = float(wait_for("the permission to be given", 10, lambda: open(
                os.path.join(arguments.exchange, "granted")).read() if os.path.exists(
                os.path.join(arguments.exchange, "granted")) else None))
            wait_for("the panel to show rigsim's frequency 14.195.0", 10,
                     lambda: program.running() and e2e.text_of(frequency).strip() == "14.195.0",
                     interval=0.02)
            seconds = time.time() - granted_at
            print(f"synchronised {seconds:.2f} s after the permission was given")
            if seconds > 2.0:
                raise Failure(f"the panel synchronised {seconds:.2f} s after the permission "
                              "was given, not within 2 s")
            e2e.press(program.control(radio, e2e.BUTTONS, "Exit"))
            program.process.wait(timeout=20)
            return 0

        # The first start: no station folder, no KESTRA.INI.
        program = Program(display)
        press(program, "Open Config File Error", "OK", also="KESTRA.INI")
        press(program, "System Setup", "Find Transceiver")
        press(program, "Find Transceiver", "Yes", also=arguments.device)
        # The menu entry made the station folder with an empty default data file, so Save
        # opens it without a box of its own.
        press(program, "Restart (creating missing file)", "OK")
        try:
            status = program.process.wait(timeout=20)
        except subprocess.TimeoutExpired:
            raise Failure("the program did not end after \"Restart program!\"")
        if status != 0:
            raise Failure(f"the program ended with status {status} after \"Restart program!\"")

        sent = frames()
        if not sent or any(frame != IDENTITY_QUERY for frame in sent):
            raise Failure(f"before the restart the line carried {sent}, "
                          f"expected the identity query only")
        link = os.path.join(station, "com1")
        if os.readlink(link) != arguments.device:
            raise Failure(f"~/Station/com1 leads to {os.readlink(link)}, not {arguments.device}")
        with open(os.path.join(station, "KESTRA.INI"), newline="") as ini:
            settings = ini.read()
        if "[CommPort] COM1\r\n[CommBaud] 19200,N,8,1\r\n" not in settings:
            raise Failure(f"KESTRA.INI holds:\n{settings}")
        loose = [name for name in os.listdir(home) if not name.startswith(".")]
        if loose != ["Station"]:
            raise Failure(f"the home folder holds {loose}, not the station folder alone")

        # The second start, from the menu entry again: the panel synchronises by itself.
        program = Program(display)
        count("the menu entry again")
        radio = program.window("Radio Operation Menu")
        frequency = program.control(radio, e2e.FIELDS, "Frequency")
        wait_for("the panel to show rigsim's frequency 14.195.0", 30,
                 lambda: program.running() and e2e.text_of(frequency).strip() == "14.195.0")
        time.sleep(1)
        if e2e.find_window(program.application, "Unexpected Radio Condition") is not None:
            raise Failure("the program reports the transceiver not ready")
        print(f"interactions from the first window to a synchronised panel: {len(interactions)}"
              f" (goal: at most 5), no terminal")
        if len(interactions) > 5:
            raise Failure(f"{len(interactions)} interactions from the first window to a "
                          "synchronised panel, more than 5")
        e2e.press(program.control(radio, e2e.BUTTONS, "Exit"))
        program.process.wait(timeout=20)
        return 0
    except Failure as failure:
        print(f"FAIL: new user: {failure}", file=sys.stderr)
        try:
            with open(os.path.join(home, ".program.out"), errors="replace") as output:
                print("--- program output (last lines)\n" + "".join(output.readlines()[-20:]),
                      file=sys.stderr)
        except FileNotFoundError:
            pass
        return 1
    finally:
        processes.stop_all()


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--program")
    parser.add_argument("--rigsim")
    parser.add_argument("--entry", required=True)
    parser.add_argument("--launcher")
    parser.add_argument("--device")
    parser.add_argument("--frames")
    parser.add_argument("--exchange")
    parser.add_argument("--skip-frames", type=int, default=0)
    parser.add_argument("--inside", choices=("permission", "new-user"), help=argparse.SUPPRESS)
    arguments = parser.parse_args()
    return inside(arguments) if arguments.inside else outside(arguments)


if __name__ == "__main__":
    sys.exit(main())
