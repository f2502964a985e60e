#!/usr/bin/env python3
"""What a screen reader reaches of the correction map's window.

On the private X server and buses that corner_at_spi.py starts, starts the probe given as the
argument: the map's window, in the state each line sent to it names. After each state, read
afresh through pyatspi: the live cell's name (and, where it filled, that the table told of it),
the map's state and the comparison, as the window shows them. Exit status as corner_at_spi.py's.
"""

import os, sys, time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "shell"))
import corner_at_spi as session  # noqa: E402
from corner_at_spi import Failure, left, read_line, walk  # noqa: E402

CELL = "3000–3500 об/мин, 9–10 мс: "
NOT_CONNECTED = ("Прибор не подключён: живая карта заполнится после подключения. "
                 "Или откройте запись.")
NO_BEFORE = "Карты «до» нет: её можно открыть из записи или сделать из этой."
MAP, AFTER = "Коррекция, %", "«после»: Коррекция, %"
# (line to the probe, the map's table, the live cell's name in it, or None where it did not
#  fill, the map's state, the comparison)
STEPS = [
    ("live", MAP, CELL + "+12,0 %, 57 замеров",
     "В таблице 57 замеров; пропусков связи 0, вне таблицы 0.", NO_BEFORE),
    ("cold", MAP, None,
     "После фильтров не осталось ни одного замера: больше всего отбросил фильтр "
     "«Прогретый двигатель» (5 замеров).", NO_BEFORE),
    ("before", AFTER, CELL + "+4,0 %, 12 замеров",
     "В таблице 12 замеров; пропусков связи 0, вне таблицы 0.",
     "Ближе к нулю: 1, дальше от нуля: 0 (клеток, где в обеих картах не меньше 10 замеров)."),
    ("offline", AFTER, None,
     NOT_CONNECTED + "\nВ таблице 12 замеров; пропусков связи 0, вне таблицы 0.",
     "Ближе к нулю: 1, дальше от нуля: 0 (клеток, где в обеих картах не меньше 10 замеров)."),
]
LIVE_CELL = 5 * 20 + 8  # its index among the table's 13 × 20 cells


def run(probe_path, env, pyatspi, GLib):
    named = []  # the name of each cell told of a new name
    pyatspi.Registry.registerEventListener(
        lambda event: named.append(event.source.name if event.source is not None else None),
        "object:property-change:accessible-name")

    env = dict(env, QT_QPA_PLATFORM="xcb", QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1")
    probe = session.subprocess.Popen([probe_path], stdin=session.subprocess.PIPE,
                                     stdout=session.subprocess.PIPE, env=env)
    if read_line(probe, "the probe") != "ready":
        raise Failure("the probe did not start")
    window = session.probe_app(pyatspi, GLib, probe.pid).getChildAtIndex(0)

    def read(table):
        window.clear_cache()
        tables, labels = [], {}
        for node, _ in walk(window):
            if node.getRole() == pyatspi.ROLE_TABLE:
                tables.append(node)
            elif node.getRole() == pyatspi.ROLE_LABEL and node.name:
                labels[node.name] = node.description
        live = [t for t in tables if t.name == table]
        if len(live) != 1 or live[0].childCount != 13 * 20:
            raise Failure(f"no map {table!r} of 13 × 20 cells: the tables read "
                          f"{[(t.name, t.childCount) for t in tables]}")
        cell = live[0].getChildAtIndex(LIVE_CELL)
        cell.clear_cache()
        return (cell.name, cell.getState().contains(pyatspi.STATE_FOCUSED),
                labels.get("Состояние карты"), labels.get("Сравнение"))

    for command, table, cell, state, compare in STEPS:
        since = len(named)
        probe.stdin.write((command + "\n").encode())
        probe.stdin.flush()
        if read_line(probe, "the probe") != "shown " + command:
            raise Failure("the probe did not show " + command)
        end = time.monotonic() + min(10, left())
        while True:
            GLib.MainContext.default().iteration(False)
            name, focused, shown_state, shown_compare = read(table)
            told = cell is None or cell in named[since:]
            if (told and (cell is None or (name == cell and focused)) and shown_state == state
                    and shown_compare == compare):
                break
            if time.monotonic() > end:
                raise Failure(f"{command}: the cell reads {name!r} (live: {focused}, told: "
                              f"{told}), the state {shown_state!r}, the comparison "
                              f"{shown_compare!r}")
            time.sleep(0.05)
        print(f"{command}: {name!r}; {shown_state!r}")
    probe.stdin.close()
    probe.wait(timeout=min(10, left()))
    return 0


if __name__ == "__main__":
    sys.exit(session.main(run))
