#!/usr/bin/env python3
"""End to end on Linux: the meter simulator on one end of a virtual serial pair (socat), qm7xx-log on
the other, once per layout, for about ten seconds; then SIGTERM. Checks that each logger ends with
exit status 0 and whole lines, prints what it writes, logs one record a second with the meter's
values; that the qm7xx layout is byte for byte what the desktop program's record rules make
(log_expect); that excel and iso read back with Python's csv module; and that a missing port ends
the logger at once with exit status 2.

usage: logger_e2e.py LOGGER SIMULATOR LOG_EXPECT WORK_DIR"""
import csv
import datetime
import os
import shutil
import signal
import subprocess
import sys
import time
import zoneinfo

LOGGER, SIMULATOR, LOG_EXPECT, WORK = sys.argv[1:5]
SIM_OPTIONS = ["--model", "701", "--fixed", "--level", "12.5", "--range2", "wm2-fine",
               "--level2", "3.45"]
SECONDS = 10
ZONE = "Europe/Warsaw"  # an offset from UTC to show, whatever this machine's zone
C1, C2 = "Natężenie światła1", "Natężenie światła2"
LAYOUTS = {  # encoding, line end, delimiter, header, values, no values, timestamp format
    "excel": ("cp1250", "\r\n", ";", ["Data i Godzina", C1 + "[kLx]", C2 + "[W/m2]"],
              ["12,5", "3,45"], ["???", "???"], "%Y-%m-%d %H:%M:%S"),
    "iso": ("utf-8", "\n", ",", ["time", "light1_klx", "light2_wm2"], ["12.5", "3.45"], ["", ""],
            None),
}
failures = []


def check(ok, message):
    if not ok:
        failures.append(message)
    return ok


def run_pair(name):
    """A socat pair NAME/a <-> NAME/b, the simulator on a and the logger on b."""
    folder = os.path.join(WORK, name)
    os.makedirs(folder, exist_ok=True)
    socat = subprocess.Popen(["socat", "pty,raw,echo=0,link=" + folder + "/a",
                              "pty,raw,echo=0,link=" + folder + "/b"], stderr=subprocess.DEVNULL)
    for _ in range(100):
        if os.path.exists(folder + "/a") and os.path.exists(folder + "/b"):
            break
        time.sleep(0.05)
    sim = subprocess.Popen([SIMULATOR, "--port", folder + "/a"] + SIM_OPTIONS,
                           stdout=subprocess.DEVNULL)
    log = os.path.join(WORK, name + ".csv")
    env = dict(os.environ, TZ=ZONE)
    layout = [] if name == "qm7xx" else ["--format", name]  # qm7xx: the default layout
    logger = subprocess.Popen([LOGGER, "--port", folder + "/b", "--out", log] + layout,
                              stdout=subprocess.PIPE, env=env)
    return socat, sim, logger, log


def read_log(name, path, encoding, line_end):
    with open(path, "rb") as f:
        raw = f.read()
    text = raw.decode(encoding)
    other_end = "\n" if line_end == "\r\n" else "\r"
    check(text.endswith(line_end) and text.replace(line_end, "").count(other_end) == 0,
          f"{name}: lines must all end in {line_end!r}, the last one too")
    return text


def check_times(name, times):
    steps = [(b - a).total_seconds() for a, b in zip(times, times[1:])]
    check(len(times) >= SECONDS - 2 and all(0 <= s <= 2 for s in steps),
          f"{name}: one record a second expected, got {len(times)} at steps {steps}")


def check_csv(name, text):
    _, _, delimiter, header, values, unknown, stamp = LAYOUTS[name]
    rows = list(csv.reader(text.splitlines(), delimiter=delimiter))
    check(rows and rows[0][0] == header[0], f"{name}: no header first: {rows[:1]}")
    times, heard = [], False
    for row in rows:
        if row[0] == header[0]:
            continue
        heard = heard or row[1:] == values
        if not check(row[1:] == (values if heard else unknown) and len(row) == 3,
                     f"{name}: row {row}: expected {values} (or {unknown} before the first)"):
            break
        if stamp:
            times.append(datetime.datetime.strptime(row[0], stamp))
        else:
            t = datetime.datetime.fromisoformat(row[0])
            check(t.utcoffset() == zoneinfo.ZoneInfo(ZONE).utcoffset(t.replace(tzinfo=None)),
                  f"{name}: {row[0]} does not carry the offset of {ZONE}")
            times.append(t)
    check([r for r in rows if r[0] == header[0]][-1:] == [header],
          f"{name}: the last header should be {header}")
    check(all(float(v.replace(",", ".")) for v in values), f"{name}: values {values} unreadable")
    check_times(name, times)


shutil.rmtree(WORK, ignore_errors=True)
os.makedirs(WORK)

# A port that is not there: exit status 2 at once, and no log file.
start = time.monotonic()
missing = subprocess.run([LOGGER, "--port", WORK + "/none", "--out", WORK + "/none.csv"],
                         capture_output=True, text=True, timeout=10)
check(missing.returncode == 2 and time.monotonic() - start < 3 and "none" in missing.stderr,
      f"missing port: exit {missing.returncode}, {missing.stderr!r}")
check(not os.path.exists(WORK + "/none.csv"), "missing port: a log file was made")

runs = {name: run_pair(name) for name in ["qm7xx", "excel", "iso"]}
time.sleep(SECONDS)
printed = {}
for name, (socat, sim, logger, log) in runs.items():  # all stopped before any check can throw
    logger.send_signal(signal.SIGTERM)
    try:
        printed[name] = logger.communicate(timeout=5)[0]
        check(logger.returncode == 0, f"{name}: exit status {logger.returncode} after SIGTERM")
    except subprocess.TimeoutExpired:
        logger.kill()
        printed[name] = logger.communicate()[0]
        check(False, f"{name}: still running 5 s after SIGTERM")
    for p in (sim, socat):
        p.terminate()
        p.wait(timeout=5)
for name, (_, _, _, log) in runs.items():
    encoding, line_end = LAYOUTS.get(name, ("cp1250", "\r\n"))[:2]
    text = read_log(name, log, encoding, line_end)
    check(printed[name].decode("utf-8").splitlines() == text.splitlines(),
          f"{name}: standard output is not the file's lines")
    if name == "qm7xx":
        expect = subprocess.run([LOG_EXPECT, log, "--port", "x"] + SIM_OPTIONS)
        check(expect.returncode == 0, "qm7xx: not what the desktop program's rules make")
        stamps = [l.split("\t")[0] for l in text.splitlines() if l[:1].isdigit()]
        check_times(name, [datetime.datetime.strptime(s, "%Y.%m.%d %H:%M:%S") for s in stamps])
    else:
        check_csv(name, text)

for f in failures:
    print("logger_e2e: " + f)
sys.exit(1 if failures else 0)
