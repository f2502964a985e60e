#!/usr/bin/env python3
"""What a screen reader reaches of the menu bar's corner.

Starts a private X server (Xvfb), a private D-Bus session (whose accessibility bus and registry
D-Bus starts on demand) and the probe program given as the argument, which shows the main window
and puts the corner into the state each line it reads names. Reads the window through AT-SPI
with pyatspi: after each state, the label under the menu bar holds the text the corner shows,
and its change came as a name-change event. Stops everything it started, bounded in time.
Exit status: 0 passed, 1 failed, 77 a tool is missing (skipped).
"""

import ctypes
import os
import select
import shutil
import signal
import subprocess
import sys
import tempfile
import time

DEADLINE = time.monotonic() + 100
PR_SET_CHILD_SUBREAPER = 36

# (command to the probe, what the link label shows, what the recording label shows)
STEPS = [
    ("good", "Связь", ""),
    ("lost", "Нет связи", ""),
    ("good", "Связь", ""),
    ("recording", "Связь", "● Запись 00:12"),
    ("stopped", "Связь", ""),
    ("offline", "Без прибора", ""),
    ("off", "", ""),
]


class Failure(Exception):
    pass


def left():
    remaining = DEADLINE - time.monotonic()
    if remaining <= 0:
        raise Failure("out of time")
    return remaining


def read_line(stream, what, limit=20):
    """One line of a child's output, within the limit and the test's deadline."""
    end = time.monotonic() + min(limit, left())
    line = b""
    while not line.endswith(b"\n"):
        ready, _, _ = select.select([stream], [], [], max(0, end - time.monotonic()))
        if not ready:
            raise Failure("no answer from " + what)
        chunk = os.read(stream.fileno(), 1)
        if not chunk:
            raise Failure(what + " ended")
        line += chunk
    return line.decode().strip()


def stop_descendants():
    """Ends whatever is still running below this process (we are its subreaper)."""
    me = os.getpid()
    for sig, wait in ((signal.SIGTERM, 3.0), (signal.SIGKILL, 2.0)):
        end = time.monotonic() + wait
        while True:
            children = []
            for entry in os.listdir("/proc"):
                if not entry.isdigit():
                    continue
                try:
                    with open(f"/proc/{entry}/stat") as stat:
                        fields = stat.read().rsplit(")", 1)[1].split()
                except OSError:
                    continue
                if int(fields[1]) == me and fields[0] != "Z":
                    children.append(int(entry))
            while True:
                try:
                    pid, _ = os.waitpid(-1, os.WNOHANG)
                except ChildProcessError:
                    break
                if pid == 0:
                    break
            if not children:
                return
            if time.monotonic() > end:
                break
            for pid in children:
                try:
                    os.kill(pid, sig)
                except ProcessLookupError:
                    pass
            time.sleep(0.05)


def start_servers(env):
    xvfb = subprocess.Popen(
        ["Xvfb", "-displayfd", "1", "-screen", "0", "1280x1024x24", "-nolisten", "tcp"],
        stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, env=env)
    env["DISPLAY"] = ":" + read_line(xvfb.stdout, "Xvfb")
    session = subprocess.Popen(
        ["dbus-daemon", "--session", "--nofork", "--print-address"],
        stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, env=env)
    env["DBUS_SESSION_BUS_ADDRESS"] = read_line(session.stdout, "dbus-daemon")


def walk(node, depth=0, seen=None):
    """Every node below node, with its depth; bounded against a cycle or a runaway tree."""
    seen = seen if seen is not None else [0]
    seen[0] += 1
    if seen[0] > 5000 or depth > 40:
        raise Failure("the tree does not end")
    yield node, depth
    for index in range(node.childCount):
        child = node.getChildAtIndex(index)
        if child is not None:
            yield from walk(child, depth + 1, seen)


def main():
    probe = sys.argv[1]
    tools = ["Xvfb", "dbus-daemon"]
    missing = [tool for tool in tools if shutil.which(tool) is None]
    if missing:
        print("skipped: missing " + ", ".join(missing))
        return 77
    ctypes.CDLL(None, use_errno=True).prctl(PR_SET_CHILD_SUBREAPER, 1, 0, 0, 0)

    runtime = tempfile.mkdtemp(prefix="corner-at-spi-")
    env = {k: v for k, v in os.environ.items()
           if not k.startswith(("DBUS_", "AT_SPI", "WAYLAND", "DISPLAY", "XDG_RUNTIME"))}
    env["XDG_RUNTIME_DIR"] = runtime
    env["NO_AT_BRIDGE"] = "0"
    try:
        start_servers(env)
        # pyatspi finds its bus through these when it is first imported.
        for name in ("DISPLAY", "DBUS_SESSION_BUS_ADDRESS", "XDG_RUNTIME_DIR"):
            os.environ[name] = env[name]
        try:
            import pyatspi
            from gi.repository import GLib
        except ImportError as error:
            print("skipped: " + str(error))
            return 77
        return run(probe, env, pyatspi, GLib)
    except Failure as failure:
        print("FAIL: " + str(failure))
        return 1
    finally:
        stop_descendants()
        shutil.rmtree(runtime, ignore_errors=True)


def run(probe_path, env, pyatspi, GLib):
    changed = []  # the source of every name change heard

    def heard(event):
        if event.source is not None:
            changed.append(event.source)

    def announced(since, text):
        """Whether a label told of its new name since the given count of changes."""
        for source in changed[since:]:
            source.clear_cache()
            if source.getRole() == pyatspi.ROLE_LABEL and source.name == text:
                return True
        return False

    pyatspi.Registry.registerEventListener(heard, "object:property-change:accessible-name")

    env = dict(env, QT_QPA_PLATFORM="xcb", QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1")
    probe = subprocess.Popen([probe_path], stdin=subprocess.PIPE, stdout=subprocess.PIPE,
                             env=env)
    if read_line(probe.stdout, "the probe") != "ready":
        raise Failure("the probe did not start")

    app = find_application(pyatspi, GLib, probe.pid)
    bar = find_menu_bar(pyatspi, app)
    menus = [bar.getChildAtIndex(i).name for i in range(bar.childCount)
             if bar.getChildAtIndex(i).getRole() == pyatspi.ROLE_MENU_ITEM]
    # The menus are read as before, ahead of the corner.
    if not {"Файл", "?"} <= set(menus):
        raise Failure(f"the menu bar reads {menus}")

    for command, link, recording in STEPS:
        before = len(changed)
        probe.stdin.write((command + "\n").encode())
        probe.stdin.flush()
        if read_line(probe.stdout, "the probe") != "shown " + command:
            raise Failure("the probe did not show " + command)
        expected = link if command in ("good", "lost", "offline", "off") else recording
        # The change is announced: a name-change event from a label, with the new text.
        end = time.monotonic() + min(10, left())
        while not announced(before, expected) and time.monotonic() < end:
            GLib.MainContext.default().iteration(False)
            time.sleep(0.01)
        if not announced(before, expected):
            raise Failure(f"{command}: no label told of its name {expected!r}")
        # And the menu bar, read afresh, holds what the corner shows now.
        bar.clear_cache()
        shown = corner_texts(pyatspi, bar)
        if sorted(shown) != sorted(t for t in (link, recording) if t):
            raise Failure(f"{command}: the corner reads {shown}, not {link!r}, {recording!r}")
        print(f"{command}: {shown}")

    probe.stdin.close()
    probe.wait(timeout=min(10, left()))
    return 0


def find_application(pyatspi, GLib, pid):
    """The probe's application on the desktop, once its bridge has registered it."""
    while True:
        desktop = pyatspi.Registry.getDesktop(0)
        desktop.clear_cache()
        for index in range(desktop.childCount):
            app = desktop.getChildAtIndex(index)
            if app is not None and app.get_process_id() == pid and app.childCount > 0:
                return app
        left()
        GLib.MainContext.default().iteration(False)
        time.sleep(0.1)


def find_menu_bar(pyatspi, app):
    bars = [node for node, _ in walk(app) if node.getRole() == pyatspi.ROLE_MENU_BAR]
    if len(bars) != 1:
        raise Failure(f"{len(bars)} menu bars in the window")
    return bars[0]


def corner_texts(pyatspi, bar):
    """The non-empty names of the labels below the menu bar."""
    return [node.name for node, depth in walk(bar)
            if depth > 0 and node.getRole() == pyatspi.ROLE_LABEL and node.name]


if __name__ == "__main__":
    sys.exit(main())
