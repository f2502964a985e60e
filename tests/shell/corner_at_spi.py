#!/usr/bin/env python3
"""What a screen reader reaches of the menu bar's corner.

Starts a private X server and D-Bus session (which starts the accessibility bus and registry on
demand), then the probe given as the argument: the main window, with the corner in the state
each line sent to it names. After each state, a label told of its new name, and the menu bar,
read afresh through pyatspi, holds what the corner shows. Stops everything it started, within
its deadline. Exit status: 0 passed, 1 failed, 77 skipped (a tool is missing).
"""

import ctypes, os, select, shutil, signal, subprocess, sys, tempfile, time

DEADLINE = time.monotonic() + 100
# (line to the probe, the link label's text, the recording label's text)
STEPS = [("good", "Связь", ""), ("lost", "Нет связи", ""), ("good", "Связь", ""),
         ("recording", "Связь", "● Запись 00:12"), ("stopped", "Связь", ""),
         ("offline", "Без прибора", ""), ("off", "", "")]


class Failure(Exception):
    pass


def left():
    if time.monotonic() > DEADLINE:
        raise Failure("out of time")
    return DEADLINE - time.monotonic()


def read_line(process, what):
    """A line of a child's output: each of them writes whole lines."""
    if not select.select([process.stdout], [], [], min(20, left()))[0]:
        raise Failure("no answer from " + what)
    return process.stdout.readline().decode().strip()


def stop_descendants():
    """Ends what still runs below this process, orphans too: it is their subreaper."""
    for sig in (signal.SIGTERM, signal.SIGTERM, signal.SIGKILL):
        children = []
        for pid in filter(str.isdigit, os.listdir("/proc")):
            try:
                with open(f"/proc/{pid}/stat") as stat:
                    state, ppid = stat.read().rsplit(")", 1)[1].split()[:2]
            except OSError:
                continue
            if int(ppid) == os.getpid() and state != "Z":
                children.append(int(pid))
                try:
                    os.kill(int(pid), sig)
                except ProcessLookupError:
                    pass
        time.sleep(0.5 if children else 0)
        try:
            while os.waitpid(-1, os.WNOHANG)[0] > 0:
                pass
        except ChildProcessError:
            pass
        if not children:
            return


def walk(node, depth=0):
    if depth > 40:
        raise Failure("the tree does not end")
    yield node, depth
    for index in range(node.childCount):
        child = node.getChildAtIndex(index)
        if child is not None:
            yield from walk(child, depth + 1)


def main(run_probe=None):
    """Runs `run_probe` (this check's own by default) on the private server and buses."""
    missing = [tool for tool in ("Xvfb", "dbus-daemon") if shutil.which(tool) is None]
    if missing:
        print("skipped: no " + ", ".join(missing))
        return 77
    ctypes.CDLL(None).prctl(36, 1, 0, 0, 0)  # PR_SET_CHILD_SUBREAPER
    runtime = tempfile.mkdtemp(prefix="corner-at-spi-")
    env = {k: v for k, v in os.environ.items()
           if not k.startswith(("DBUS_", "AT_SPI", "WAYLAND", "DISPLAY"))}
    env["XDG_RUNTIME_DIR"] = runtime
    try:
        xvfb = subprocess.Popen(["Xvfb", "-displayfd", "1", "-screen", "0", "1280x1024x24",
                                 "-nolisten", "tcp"], stdout=subprocess.PIPE,
                                stderr=subprocess.DEVNULL, env=env)
        env["DISPLAY"] = ":" + read_line(xvfb, "Xvfb")
        bus = subprocess.Popen(["dbus-daemon", "--session", "--nofork", "--print-address"],
                               stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, env=env)
        env["DBUS_SESSION_BUS_ADDRESS"] = read_line(bus, "dbus-daemon")
        os.environ.update(env)  # pyatspi finds its bus when it is first imported
        try:
            import pyatspi
            from gi.repository import GLib
        except ImportError as error:
            print("skipped: " + str(error))
            return 77
        return (run_probe or run)(sys.argv[1], env, pyatspi, GLib)
    except Failure as failure:
        print("FAIL: " + str(failure))
        return 1
    finally:
        try:
            stop_descendants()
        finally:
            shutil.rmtree(runtime, ignore_errors=True)


def run(probe_path, env, pyatspi, GLib):
    changed = []  # the source of each name change heard
    pyatspi.Registry.registerEventListener(lambda event: changed.append(event.source),
                                           "object:property-change:accessible-name")

    def announced(since, text):
        for source in filter(None, changed[since:]):
            source.clear_cache()
            if source.getRole() == pyatspi.ROLE_LABEL and source.name == text:
                return True
        return False

    env = dict(env, QT_QPA_PLATFORM="xcb", QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1")
    probe = subprocess.Popen([probe_path], stdin=subprocess.PIPE, stdout=subprocess.PIPE,
                             env=env)
    if read_line(probe, "the probe") != "ready":
        raise Failure("the probe did not start")
    bar = menu_bar(pyatspi, GLib, probe.pid)
    menus = [item.name for item, depth in walk(bar)
             if depth == 1 and item.getRole() == pyatspi.ROLE_MENU_ITEM]
    if not {"Файл", "?"} <= set(menus):  # the menus read as before, ahead of the corner
        raise Failure(f"the menu bar reads {menus}")

    for command, link, recording in STEPS:
        since = len(changed)
        probe.stdin.write((command + "\n").encode())
        probe.stdin.flush()
        if read_line(probe, "the probe") != "shown " + command:
            raise Failure("the probe did not show " + command)
        text = link if command in ("good", "lost", "offline", "off") else recording
        end = time.monotonic() + min(10, left())
        while not announced(since, text) and time.monotonic() < end:
            GLib.MainContext.default().iteration(False)
            time.sleep(0.01)
        if not announced(since, text):
            raise Failure(f"{command}: no label told of its name {text!r}")
        bar.clear_cache()
        shown = [node.name for node, depth in walk(bar)
                 if depth > 0 and node.getRole() == pyatspi.ROLE_LABEL and node.name]
        if sorted(shown) != sorted(t for t in (link, recording) if t):
            raise Failure(f"{command}: the corner reads {shown}, not {link!r}, {recording!r}")
        print(f"{command}: {shown}")
    probe.stdin.close()
    probe.wait(timeout=min(10, left()))
    return 0


def probe_app(pyatspi, GLib, pid):
    """The probe's application, found from the desktop once the probe registered its window."""
    while True:
        desktop = pyatspi.Registry.getDesktop(0)
        desktop.clear_cache()
        apps = [app for app in desktop if app is not None and app.get_process_id() == pid]
        if apps and apps[0].childCount > 0:
            return apps[0]
        left()
        GLib.MainContext.default().iteration(False)
        time.sleep(0.1)


def menu_bar(pyatspi, GLib, pid):
    """The probe window's one menu bar."""
    bars = [node for node, _ in walk(probe_app(pyatspi, GLib, pid))
            if node.getRole() == pyatspi.ROLE_MENU_BAR]
    if len(bars) != 1:
        raise Failure(f"{len(bars)} menu bars in the window")
    return bars[0]


if __name__ == "__main__":
    sys.exit(main())
