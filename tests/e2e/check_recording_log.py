#!/usr/bin/env python3
"""Reads back, with Python's csv module in code page 1250, the log that the recording end-to-end
case leaves (a QM-701 on semicolons: 12.5 kLx and 3.45 W/m2, silent for a while, then channel 1 in
W/m2) and checks the header of each part, one row per second, the values the meter sent, "???"
while it was silent and a new header at the unit change.

usage: check_recording_log.py LOG"""
import csv
import datetime
import sys

COLUMN1, COLUMN2 = "Natężenie światła1", "Natężenie światła2"
PARTS = [  # header, values, least silent rows between rows with values
    (["Data i Godzina", COLUMN1 + "[kLx]", COLUMN2 + "[W/m2]"], ["12.5", "3.45"], 2),
    (["Data i Godzina", COLUMN1 + "[W/m2]", COLUMN2 + "[W/m2]"], ["12.5", "3.45"], 0),
]


def fail(message):
    print("check_recording_log: " + message)
    sys.exit(1)


try:
    with open(sys.argv[1], encoding="cp1250", newline="") as f:
        raw = f.read()
except OSError as e:
    fail(f"{e} (the end-to-end case writes it: ctest -R e2e.qm7xx)")
if "\ufeff" in raw or raw.replace("\r\n", "").count("\n") or not raw.endswith("\r\n"):
    fail("lines must end in CR LF, with no byte-order mark")
parts = []
for row in csv.reader(raw.splitlines(), delimiter=";"):
    if row[:1] == ["Data i Godzina"]:
        parts.append((row, []))
    elif not parts:
        fail(f"a record before the first header: {row}")
    else:
        parts[-1][1].append(row)
if [p[0] for p in parts] != [p[0] for p in PARTS]:
    fail(f"headers {[p[0] for p in parts]}")

times = []
for (header, rows), (_, values, least_silent) in zip(parts, PARTS):
    silent = [r[1:] == ["???", "???"] for r in rows]
    for row, unknown in zip(rows, silent):
        if len(row) != 3 or not (unknown or row[1:] == values):
            fail(f"row {row} under {header}: expected {values} or ???")
        times.append(datetime.datetime.strptime(row[0], "%Y.%m.%d %H:%M:%S"))
    # Silent rows between rows with values (a part may start before the meter does).
    valued = [i for i, unknown in enumerate(silent) if not unknown]
    inner = silent[valued[0]:valued[-1]].count(True) if valued else 0
    if len(valued) < 3 or inner < least_silent or (least_silent == 0 and inner):
        fail(f"{len(valued)} rows with values, {inner} silent between them, under {header}")
steps = [(b - a).total_seconds() for a, b in zip(times, times[1:])]
# A 1 s timer and the clock's second may drift past each other once or twice.
if any(s not in (0, 1, 2) for s in steps) or sum(s != 1 for s in steps) > 2:
    fail(f"not one row per second: steps {steps}")
print(f"check_recording_log: {len(times)} records under {len(parts)} headers, as expected")
