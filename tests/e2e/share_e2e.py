#!/usr/bin/python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""tavrin sharing the transceiver with a program this project did not write.

    share_e2e.py --program PATH --rigsim PATH

tavrin runs against rigsim under its own Xvfb and session bus (as in programs_e2e.py); the
test checks "Share" > "Network Control (port 4532)" through the accessibility bus, then
Hamlib's own client, `rigctl -m 2 -r localhost:4532`, sets and reads frequency, mode and PTT.
The client talks through a small relay that notes each request line it sends, so the test
knows every request that reached tavrin; rigsim's frame log must then hold exactly the frames
those requests need, in order, and nothing else (a frequency or mode read may be answered from
what the transceiver already told, without its frame). The panel must show the frequency the client
set, and the window title must tell that the transceiver is shared.

Then the conformance check: one script of requests, run by the same client against tavrin's
port and against Hamlib's own rigctld (model 3047, the Icom with CI-V address 64) on a second
rigsim, must print the same answers, line for line. Where this transceiver's command set forces
a difference the script leaves the request out (see CONFORMANCE_DIFFERENCES).

Last, the request lines of the loggers and digital-mode programs this port serves
(CLIENT_SCRIPTS: CQRLOG 2.5.2 and newer, WSJT-X with split, fldigi, Log4OM), replayed raw on
one connection each, must be answered as rigctld answers them; the state and capabilities
dumps, which describe the transceiver, are compared on the lines the clients read.
"""

import os
import socket
import subprocess
import sys
import threading
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import programs_e2e as kit  # noqa: E402

PORT = 4532

# The frames each request of the protocol needs on this transceiver (the part after the
# preamble FE FE 64 E0); requests answered by tavrin itself need none.
def frames_for(request):
    words = request.lstrip("+;|,").split()
    command, args = words[0], words[1:]
    bcd = lambda hz: " ".join(f"{(hz // 100 ** i) % 100:02d}" for i in range(5))
    modes = {"LSB": "00", "USB": "01", "AM": "02", "CW": "03", "RTTY": "04", "FM": "05",
             "CWR": "07", "RTTYR": "08"}
    normal = {"CW": 500, "CWR": 500, "AM": 6000, "FM": 12000}
    vfos = {"Main": ["07 D0"], "VFOA": ["07 D0"], "Sub": ["07 D1"], "VFOB": ["07 D1"],
            "VFO": ["07"], "MEM": ["08"], "currVFO": []}
    if command in ("f", "\\get_freq"):
        return ["03"]
    if command in ("F", "\\set_freq"):
        return ["05 " + bcd(int(float(args[0]))), "03"]
    if command in ("m", "\\get_mode"):
        return ["04"]
    if command in ("M", "\\set_mode"):
        passband, mode = int(args[1]), args[0]
        filter_byte = "02" if passband in (0, normal.get(mode, 2400)) else (
            "01" if passband > normal.get(mode, 2400) else "03")
        return [f"06 {modes[mode]} {filter_byte}", "04"]
    if command in ("t", "\\get_ptt"):
        return ["1C 00"]
    if command in ("T", "\\set_ptt"):
        return ["1C 00 " + ("00" if args[0] == "0" else "01")]
    if command in ("s", "\\get_split_vfo"):
        return ["0F"]
    if command in ("S", "\\set_split_vfo"):
        return ["0F 0" + args[0]]
    if command in ("V", "\\set_vfo"):
        return vfos[args[0]]
    return []


class Relay:
    """Listens on a free loopback port and relays each connection to tavrin's port, noting
    every request line the client sends."""

    def __init__(self):
        self.server = socket.create_server(("127.0.0.1", 0))
        self.port = self.server.getsockname()[1]
        self.requests = []
        threading.Thread(target=self.serve, daemon=True).start()

    def serve(self):
        while True:
            try:
                client, _ = self.server.accept()
            except OSError:
                return
            upstream = socket.create_connection(("127.0.0.1", PORT))
            threading.Thread(target=self.pipe, args=(client, upstream, True), daemon=True).start()
            threading.Thread(target=self.pipe, args=(upstream, client, False), daemon=True).start()

    def pipe(self, source, sink, note):
        pending = b""
        while True:
            try:
                data = source.recv(4096)
            except OSError:
                data = b""
            if not data:
                break
            if note:
                pending += data
                while b"\n" in pending:
                    line, pending = pending.split(b"\n", 1)
                    if line.strip():
                        self.requests.append(line.decode("latin-1").strip())
            try:
                sink.sendall(data)
            except OSError:
                break
        for end in (sink, source):
            try:
                end.shutdown(socket.SHUT_RDWR)
            except OSError:
                pass


# One script for both servers: every answer of these must agree line for line. It begins by
# bringing both transceivers to the same state.
CONFORMANCE_SCRIPT = [
    "F 14195000", "M USB 2400", "T 0", "f", "m", "F 7074000", "f", "F 14250500", "f", "M LSB 2400", "m", "M CW 500", "m",
    "M AM 6000", "m", "M USB 2400", "m", "T 1", "t", "T 0", "t", "s", "S 1 Sub", "s",
    "S 0 Main", "s", "V Sub", "f", "m", "V Main", "f", "\\chk_vfo", "\\get_powerstat",
    "F 7000000", "f",
]

# The same in the protocol's own words, plain and extended, sent raw on one connection each.
RAW_SCRIPT = [
    "f", "+f", ";f", "m", "+m", "|m", "t", "+t", "s", "+s", "v", "+v", "V currVFO",
    "\\chk_vfo", "\\get_powerstat", "+\\chk_vfo", "+\\get_powerstat", "\\get_info",
    "+\\get_info", "\\get_lock_mode", "+\\get_lock_mode", "F 7074000", "+F 7074000",
    "\\get_freq", "M LSB 2400", "+M USB 2400", "T 1", "+T 0", ";T 0", "V foo", "T 5",
    "M PKTUSB 0", "F abc", "fmv", "+f +m +v", "f;m", "|f m", ",f,m", "F 7074000 f", "J 0",
    "+J 0", ";J 0", "+j", "q",
]

# Before each client's script both transceivers are brought to the same state (answers not
# compared): the main receiver operated, split off, both receivers' frequency and mode set.
PRELUDE = ["V Main", "S 0 Main", "T 0", "F 14195000", "M USB 2400", "I 7050000", "X LSB 2400"]

# netrigctl's own opening of the rig (Hamlib model 2, used by WSJT-X and fldigi): the state
# dump, then each receiver's frequency and the mode.
NETRIGCTL_OPEN = ["\\chk_vfo", "\\dump_state", "V Main", "f", "V currVFO", "V Sub", "f",
                  "V currVFO", "s", "V Main", "m", "V currVFO", "\\get_powerstat"]

# The request lines each client sends, in order, as it opens the rig, polls it and sets it.
CLIENT_SCRIPTS = {
    # Polls frequency, mode and VFO in one line of three commands; sets frequency and mode
    # with the normal passband.
    "CQRLOG 2.5.2": ["fmv", "fmv", "F 14074000", "fmv", "M CW 0", "fmv", "M USB 0", "fmv",
                     "fmv"],
    # Checks the VFO mode and reads the capabilities first (it starts polling only when the
    # "Can ..." lines it looks for are there), then polls in the extended form.
    "CQRLOG 2.6": ["+\\chk_vfo", "+\\dump_caps", "+f +m +v", "+f +m +v", "+F 7074000",
                   "+f +m +v", "+M LSB 0", "+f +m +v", "+T 1", "+T 0", "+f +m +v"],
    # "Split Operation: Rig": split on with the sub receiver transmitting, the receive
    # frequency on the main one and the transmit frequency and mode on the sub one; polled
    # each second (frequency, mode, split and the split frequency, PTT), keyed and released.
    "WSJT-X 2.6 (split)": NETRIGCTL_OPEN + [
        "V Main", "S 1 Sub", "V currVFO", "F 14074000.000000", "M USB 2400",
        "I 14075500.000000", "X USB 2400", "f", "m", "s", "i", "x", "t", "T 1", "t", "i",
        "T 0", "f", "m", "s", "i", "t", "I 14076200.000000", "i", "V Main", "S 0 Main",
        "V currVFO", "s", "q"],
    # Follows the dial (frequency and mode, many times a second), sets both from its own
    # frequency field and mode list, keys the transmitter.
    "fldigi 4.1": NETRIGCTL_OPEN + [
        "f", "m", "f", "m", "F 7070000.000000", "f", "m", "M LSB 2400", "f", "m", "T 1", "t",
        "T 0", "t", "f", "m", "q"],
    # Reads the whole VFO at once, plain and extended, for the operated and the named VFOs.
    "Log4OM 2": ["\\chk_vfo", "\\get_vfo_info currVFO", "\\get_vfo_info VFOA",
                 "+\\get_vfo_info VFOB", "\\get_vfo_info Main", "F 21074000",
                 "\\get_vfo_info currVFO", "S 1 VFOB", "+\\get_vfo_info VFOA", "S 0 VFOA",
                 "T 1", "T 0"],
}


def caps_lines_read(answer):
    """The lines clients read of a capabilities dump: the head and report, the "Can ..."
    lines CQRLOG looks for."""
    wanted = ("Can set Power Stat:", "Can get VFO:", "Can send Morse:", "Can send Voice:")
    lines = answer.splitlines()
    return [lines[0], lines[-1]] + [line for line in lines if line.startswith(wanted)]


def state_lines_read(answer):
    """The state dump's protocol version and model, which netrigctl reads first."""
    return answer.splitlines()[:2]


def vfo_info_without_mode(answer):
    """A VFO summary of the receiver not operated, but its mode: rigctld tells the mode it
    has cached (often the operated receiver's), tavrin reads it."""
    lines = answer.splitlines()
    if lines and lines[0].startswith("get_vfo_info:"):
        return [line for line in lines if not line.startswith("Mode:")]
    return lines[:1] + lines[2:]


# How an answer is compared where this transceiver is described instead of rigctld's model,
# or where rigctld's answer is not what the transceiver holds.
COMPARED_PART = {"dump_caps": caps_lines_read, "dump_state": state_lines_read,
                 "get_vfo_info VFOB": vfo_info_without_mode,
                 "get_vfo_info Sub": vfo_info_without_mode}

# Requests left out of the script because the answers differ, and why.
CONFORMANCE_DIFFERENCES = {
    "M USB 3000; m": "tavrin selects filter 1 and reports its 3000 Hz; rigctld reads the "
                     "filter width with 1A 03, which this transceiver refuses, and so always "
                     "reports the normal passband (2400 Hz)",
    "\\dump_state": "tavrin describes this transceiver (its ranges to 199.999999 MHz, three "
                     "filters a mode, no levels or functions); rigctld describes its model "
                     "(compared: the protocol version and the model number)",
    "\\dump_caps": "tavrin's capabilities are this port's (Y for what it answers, N for what "
                    "it refuses: split and PTT reads Y, levels, functions, memories N); "
                    "rigctld's are its model's (compared: the head, the report and the four "
                    "lines CQRLOG reads, which agree)",
    "split through a client of the port": "tavrin reads and sets the other receiver behind an "
                                           "exchange of the receivers and exchanges them back "
                                           "(07 B0, two exchanges), as rigctld does; rigctld "
                                           "also reads the frequency and the data mode (03, "
                                           "1A 06) first, which this transceiver lacks",
    "x": "both report the split mode's passband as 0, as rigctld does for this family; m "
         "reports the real one",
    "\\get_vfo_info Sub (VFOB)": "rigctld reads the sub receiver's frequency but tells the "
                                  "mode it has cached, often the main receiver's (USB where "
                                  "the sub receiver is on LSB); tavrin reads both (compared: "
                                  "every line but the mode)",
    "F (no value)": "tavrin answers RPRT -1 at once; rigctld waits for the value on the next line",
    "+\\chk_vfo then a plain request": "rigctld answers the plain request after it in the "
                                        "extended form; tavrin in the form asked for",
    "more than 32 commands on a line": "tavrin answers RPRT -1 and sends nothing; rigctld "
                                        "serves them all",
    "M FOO 0": "tavrin answers RPRT -1 (no such mode); rigctld -1 or 0, as its cache stands",
    "rigctld's cache": "the reference rigctld runs with its cache off: with its default cache "
                       "it answers m after \"M CW 0\" with the passband of the mode before "
                       "(CW 2400), and tavrin answers what the transceiver holds (CW 500)",
    "unknown commands": "tavrin answers RPRT -4 (-11 for protocol commands it does not offer); "
                        "rigctld answers nothing or waits for arguments",
}


def free_port():
    with socket.socket() as probe:
        probe.bind(("127.0.0.1", 0))
        return probe.getsockname()[1]


def start_reference(rigsim, processes, directory):
    """A second rigsim with Hamlib's rigctld on it, at a free port; returns the port."""
    os.makedirs(directory, exist_ok=True)
    processes.start([rigsim, "--headless"], cwd=directory,
                    env=dict(os.environ, QT_QPA_PLATFORM="offscreen"),
                    stdout=open(os.path.join(directory, "rigsim.out"), "w"),
                    stderr=subprocess.STDOUT)
    link = os.path.join(directory, "com1")
    kit.wait_for("the second rigsim's com1 link", 20, lambda: os.path.islink(link))
    port = free_port()
    # Its cache off: with it on, "m" after "M CW 0" tells the passband of the mode before.
    processes.start(["rigctld", "-m", "3047", "-r", link, "-s", "19200", "-T", "127.0.0.1",
                     "-t", str(port), "-C", "cache_timeout=0"], cwd=directory,
                    stdout=open(os.path.join(directory, "rigctld.out"), "w"),
                    stderr=subprocess.STDOUT)
    def answering():
        try:
            socket.create_connection(("127.0.0.1", port), timeout=1).close()
            return True
        except OSError:
            return False
    kit.wait_for("rigctld to listen", 20, answering)
    return port


def check_conformance(rigsim, processes, directory):
    reference_port = start_reference(rigsim, processes, os.path.join(directory, "reference"))
    words = [word for request in CONFORMANCE_SCRIPT for word in request.split()]
    ours = rigctl(PORT, *words).splitlines()
    theirs = rigctl(reference_port, *words).splitlines()
    if ours != theirs:
        lines = [f"{i + 1}: tavrin {a!r} rigctld {b!r}" for i, (a, b) in
                 enumerate(zip(ours + [""] * len(theirs), theirs + [""] * len(ours)))
                 if a != b]
        raise kit.Failure("the answers differ from rigctld's:\n" + "\n".join(lines[:20]))
    print(f"conformance: {len(CONFORMANCE_SCRIPT)} requests, {len(ours)} answer lines, "
          "the same as rigctld's")
    ours, theirs = raw_answers(PORT), raw_answers(reference_port)
    differing = [f"{request!r}: tavrin {a!r} rigctld {b!r}"
                 for request, a, b in zip(RAW_SCRIPT, ours, theirs) if a != b]
    if differing:
        raise kit.Failure("raw answers differ from rigctld's:\n" + "\n".join(differing))
    print(f"conformance: {len(RAW_SCRIPT)} raw requests, plain and extended, answered alike")
    check_clients(reference_port)


def check_clients(reference_port):
    for client, script in CLIENT_SCRIPTS.items():
        raw_answers(PORT, PRELUDE)
        raw_answers(reference_port, PRELUDE)
        ours, theirs = raw_answers(PORT, script), raw_answers(reference_port, script)
        differing = []
        for request, a, b in zip(script, ours, theirs):
            part = next((compared for name, compared in COMPARED_PART.items()
                         if request.lstrip("+;|,") == "\\" + name), None)
            if part is not None and a and b:
                a, b = part(a), part(b)
            if a != b:
                differing.append(f"{request!r}: tavrin {a!r} rigctld {b!r}")
        if differing:
            raise kit.Failure(f"{client}: answers differ from rigctld's:\n" + "\n".join(differing))
        print(f"conformance: {client}, {len(script)} request lines answered as rigctld answers "
              "them")


def raw_answers(port, script=RAW_SCRIPT):
    """Each request of the script sent on one connection; the text that came back for it (a
    request's answer ends when nothing more comes for 0.3 s)."""
    answers = []
    with socket.create_connection(("127.0.0.1", port), timeout=10) as connection:
        connection.settimeout(0.3)
        for request in script:
            connection.sendall((request + "\n").encode())
            answer = b""
            deadline = time.monotonic() + 5
            while time.monotonic() < deadline:
                try:
                    chunk = connection.recv(65536)
                except socket.timeout:
                    if answer:
                        break
                    continue
                if not chunk:
                    break
                answer += chunk
            answers.append(answer.decode("latin-1"))
    return answers


def port_open():
    try:
        socket.create_connection(("127.0.0.1", PORT), timeout=1).close()
        return True
    except OSError:
        return False


def rigctl(port, *commands):
    result = subprocess.run(["rigctl", "-m", "2", "-r", f"localhost:{port}",
                             "-C", "cache_timeout=0", *commands],
                            capture_output=True, text=True, timeout=60)
    if result.returncode != 0:
        raise kit.Failure(f"rigctl {' '.join(commands)} ended with {result.returncode}: "
                          f"{result.stderr[-500:]}")
    return result.stdout


def window_title_has(display, text):
    result = subprocess.run(["xdotool", "search", "--name", text],
                            env=dict(os.environ, DISPLAY=display), capture_output=True,
                            text=True, timeout=20)
    return result.returncode == 0 and result.stdout.strip() != ""


def check_sharing(run, main):
    if port_open():
        raise kit.Failure(f"port {PORT} is open before sharing was switched on")
    item = run.control(main, ("check menu item", "menu item"), "Network Control (port 4532)")
    kit.press(item)
    kit.wait_for(f"port {PORT} to accept connections", 20, port_open)
    kit.wait_for("the title to tell that the radio is shared", 20,
                 lambda: window_title_has(run.display, "shared on port 4532"))
    print("tavrin: \"Network Control (port 4532)\" listens")

    relay = Relay()
    before = len(run.frames())
    script = [("F 7074000", ""), ("f", "7074000\n"), ("M LSB 2400", ""),
              ("m", "LSB\n2400\n"), ("T 1", ""), ("t", "1\n"), ("T 0", ""), ("t", "0\n")]
    output = rigctl(relay.port, *[word for request, _ in script for word in request.split()])
    expected_output = "".join(answer for _, answer in script)
    if output != expected_output:
        raise kit.Failure(f"rigctl printed {output!r}, expected {expected_output!r}; "
                          f"it sent {relay.requests}")
    print("rigctl -m 2: frequency, mode and PTT set and read")

    frequency = run.control(main, kit.FIELDS, "Frequency")
    kit.wait_for("the panel to show 07.074.0", 20,
                 lambda: kit.text_of(frequency).strip() == "07.074.0")
    # The marks follow what the client set, as the operator's own press would.
    for caption in ("Lsb", "F2", "Rx"):
        option = run.control(main, kit.OPTIONS, caption)
        kit.wait_for(f"\"{caption}\" to be marked", 20,
                     lambda: option.get_state_set().contains(kit.Atspi.StateType.CHECKED))
    print("tavrin: the Lsb, F2 and Rx marks follow the client")

    time.sleep(0.5)
    sent = run.frames()[before:]
    needed = ["FE FE 64 E0 " + frame + " FD" for request in relay.requests
              for frame in frames_for(request)]
    def same(sent_request, wanted):
        sent_words, wanted_words = sent_request.split(), wanted.split()
        return len(sent_words) == len(wanted_words) and all(
            a == b or (a.replace(".", "").isdigit() and float(a) == float(b))
            for a, b in zip(sent_words, wanted_words))
    for request in ("F 7074000", "M LSB 2400", "T 1", "T 0"):
        if not any(same(sent_request, request) for sent_request in relay.requests):
            raise kit.Failure(f"the client never sent {request!r}: {relay.requests}")
    # A frequency or mode read may be answered from what the transceiver told (the setting's
    # read-back, a broadcast) without its frame; every other frame must be there, in order.
    reads = {"FE FE 64 E0 03 FD", "FE FE 64 E0 04 FD"}
    others = lambda frames: [frame for frame in frames if frame not in reads]
    surplus_reads = [frame for frame in reads
                     if sent.count(frame) > needed.count(frame)]
    if others(sent) != others(needed) or surplus_reads:
        raise kit.Failure(f"rigsim received {sent}\nthe requests {relay.requests} need {needed}")
    print(f"rigsim's frame log: the {len(sent)} frames of {len(relay.requests)} requests, "
          f"{len(needed) - len(sent)} reads answered from what the transceiver told")



def check_unchecking(run, main):
    item = run.control(main, ("check menu item", "menu item"), "Network Control (port 4532)")
    kit.press(item)
    kit.wait_for(f"port {PORT} to close again", 20, lambda: not port_open())
    print("tavrin: unchecked, the port is closed")


def main():
    import argparse
    import shutil
    parser = argparse.ArgumentParser()
    parser.add_argument("--program", required=True)
    parser.add_argument("--rigsim", required=True)
    parser.add_argument("--inside", action="store_true", help=argparse.SUPPRESS)
    arguments = parser.parse_args()
    if shutil.which("rigctl") is None:
        print("rigctl (libhamlib-utils) is not installed")
        return 0
    if not arguments.inside:
        return kit.run_in_own_session(os.path.abspath(__file__))

    def scenario(directory, processes, display):
        run = kit.Run("tavrin", arguments.program, arguments.rigsim, directory, processes,
                      display)
        run.start_program()
        main_window = run.check_start_up()
        check_sharing(run, main_window)
        check_conformance(arguments.rigsim, processes, directory)
        check_unchecking(run, main_window)
        run.exit(main_window)
        print("tavrin: \"Exit\" passed")
    # The clients' scripts wait out every answer of both servers: a few minutes.
    return kit.run_inside_session("share", scenario, "share-e2e-", seconds=540,
                                  logs=("reference/rigctld.out",))


if __name__ == "__main__":
    sys.exit(main())
