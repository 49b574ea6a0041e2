#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
# wayland_timings.py TAPWREN DATA_FOLDER
# One run, timed from sway's own window events (its IPC socket, $SWAYSOCK):
# the program's logon window taking the focus, then from the Enter that logs
# on to the main window taking it, and from Alt+C to the course drill taking
# it. Prints the two times in milliseconds. wayland_timings.sh runs it.
import json
import os
import select
import socket
import struct
import subprocess
import sys
import time

MAGIC = b"i3-ipc"


def connect():
    s = socket.socket(socket.AF_UNIX, socket.SOCK_STREAM)
    s.connect(os.environ["SWAYSOCK"])
    payload = json.dumps(["window"]).encode()
    s.sendall(MAGIC + struct.pack("=II", len(payload), 2) + payload)
    read_message(s)  # the subscription's answer
    return s


def read_message(s):
    header = b""
    while len(header) < 14:
        header += s.recv(14 - len(header))
    length, kind = struct.unpack("=II", header[6:])
    body = b""
    while len(body) < length:
        body += s.recv(length - len(body))
    return kind, json.loads(body)


def next_focus(s, pid, other_than, limit=20):
    """Waits for a window of pid other than `other_than` to take the focus."""
    deadline = time.monotonic() + limit
    while time.monotonic() < deadline:
        ready, _, _ = select.select([s], [], [], deadline - time.monotonic())
        if not ready:
            break
        _, event = read_message(s)
        con = event.get("container", {})
        if event.get("change") == "focus" and con.get("pid") == pid and con.get("id") != other_than:
            return time.monotonic(), con.get("id")
    sys.exit("no window of the program took the focus")


program, data = sys.argv[1], sys.argv[2]
events = connect()
app = subprocess.Popen([program, "en"], cwd=data, stdout=subprocess.DEVNULL,
                       stderr=subprocess.DEVNULL)
try:
    _, logon = next_focus(events, app.pid, None)
    time.sleep(0.5)
    start = time.monotonic()
    subprocess.run(["wtype", "-k", "Return"], check=True)
    shown, main = next_focus(events, app.pid, logon)
    print(round((shown - start) * 1000))
    time.sleep(0.5)
    start = time.monotonic()
    subprocess.run(["wtype", "-M", "alt", "-k", "c", "-m", "alt"], check=True)
    shown, _ = next_focus(events, app.pid, main)
    print(round((shown - start) * 1000))
finally:
    app.terminate()
    app.wait()
