#!/usr/bin/env python3
"""Reads back the log that the recording end-to-end case leaves in FOLDER (log.csv) with Python's
csv module, code page 1250, and checks it against FOLDER/expected.json: the header of each part,
one row per second, the meter's values, "???" while it was silent, a new header at the unit change.

usage: check_recording_log.py FOLDER"""
import csv
import datetime
import json
import os
import sys


def fail(message):
    print("check_recording_log: " + message)
    sys.exit(1)


def main():
    folder = sys.argv[1]
    try:
        expected = json.load(open(os.path.join(folder, "expected.json"), encoding="utf-8"))
        with open(os.path.join(folder, "log.csv"), encoding="cp1250", newline="") as f:
            raw = f.read()
    except OSError as e:
        fail(f"{e} (the end-to-end case writes it: ctest -R e2e.qm7xx)")
    if "\ufeff" in raw or "\r\n" not in raw or raw.replace("\r\n", "").count("\n"):
        fail("lines must end in CR LF, with no byte-order mark")
    rows = list(csv.reader(raw.splitlines(), delimiter=expected["delimiter"]))
    parts = []
    for row in rows:
        if row and row[0] == "Data i Godzina":
            parts.append({"header": row, "rows": []})
        elif not parts:
            fail(f"a record before the first header: {row}")
        else:
            parts[-1]["rows"].append(row)
    if [p["header"] for p in parts] != [p["header"] for p in expected["parts"]]:
        fail(f"headers {[p['header'] for p in parts]}")

    times = []
    for part, want in zip(parts, expected["parts"]):
        silent = [r[1:] == ["???", "???"] for r in part["rows"]]
        for row, unknown in zip(part["rows"], silent):
            if len(row) != 3 or not (unknown or row[1:] == want["values"]):
                fail(f"row {row} under {part['header']}: expected values {want['values']}")
            times.append(datetime.datetime.strptime(row[0], "%Y.%m.%d %H:%M:%S"))
        # Silence inside the part, between rows with values (the part may start before the meter).
        first = silent.index(False) if False in silent else len(silent)
        last = len(silent) - silent[::-1].index(False) if False in silent else 0
        inner = silent[first:last].count(True)
        if inner < want["silent_rows"] or (want["silent_rows"] == 0 and inner):
            fail(f"{inner} silent rows between values under {part['header']}")
        if len(part["rows"]) < 3:
            fail(f"only {len(part['rows'])} rows under {part['header']}")
    steps = [(b - a).total_seconds() for a, b in zip(times, times[1:])]
    # A 1 s timer and the clock's second may drift past each other once or twice.
    if any(s not in (0, 1, 2) for s in steps) or sum(s != 1 for s in steps) > 2:
        fail(f"not one row per second: steps {steps}")
    print(f"check_recording_log: {len(times)} records, {len(parts)} headers: as expected")


main()
