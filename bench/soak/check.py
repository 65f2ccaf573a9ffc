#!/usr/bin/env python3
"""Compares what the soak saw with what the plan expects and prints the figures.

Usage: check.py WORK_DIR SCHEDULE_FILE
Reads WORK_DIR/expected.json, fired.log (programs run), clock.log (the sounds asked for),
watch.json.
Exit status 0 when everything matched.
"""
import collections
import json
import os
import sys
import time

LIMIT = 0.05  # end figures may differ from the first simulated hour's by this much


def when(t):
    return time.strftime("%a %d %H:%M:%S", time.gmtime(t))


def read(path, mode="r"):
    if not os.path.exists(path):
        return b"" if "b" in mode else ""
    with open(path, mode) as f:
        return f.read()


def main():
    work, schedule = sys.argv[1], sys.argv[2]
    expected = json.loads(read(os.path.join(work, "expected.json")))
    watch = json.loads(read(os.path.join(work, "watch.json")) or "{}")
    faults = []

    # Programs: each item must run in the minute the plan says. Each item holds the clock for
    # a second, so in a busy minute the last ones may start in the next; those count as on
    # time when their scan began in the right minute (up to 5 s a fired item), and are shown.
    per_minute = collections.Counter(e["minute"] for e in expected["firings"])
    due = collections.defaultdict(list)
    for e in expected["firings"]:
        if e["kind"] == "run":
            due[e["item"]].append(e["minute"])
    ran = []
    for line in read(os.path.join(work, "fired.log")).split("\n"):
        if line.strip():
            item, t = line.split()
            ran.append((item, int(t)))
    unmatched, spilled = [], []
    for slack in (False, True):
        left = []
        for item, t in ran:
            for m in due[item]:
                if m <= t < m + 60 + (5 * per_minute[m] if slack else 0):
                    due[item].remove(m)
                    if slack:
                        spilled.append((item, t))
                    break
            else:
                left.append((item, t))
        ran = left
    unmatched = ran
    missing = sorted((m, item) for item, ms in due.items() for m in ms)
    planned = sum(1 for e in expected["firings"] if e["kind"] == "run")
    print("programs run:   expected %d, seen %d, missing %d, unplanned or mistimed %d, "
          "started just after a busy minute %d"
          % (planned, planned - len(missing) + len(unmatched), len(missing), len(unmatched),
             len(spilled)))
    for m, item in missing[:10]:
        faults.append("program %s due at %s did not run then" % (item, when(m)))
    for item, t in unmatched[:10]:
        faults.append("program %s ran at %s unplanned" % (item, when(t)))

    # Reminders: how many pop-ups, and each one first seen in its due minute or soon after
    # (the watcher looks four times a real second, 15 simulated seconds apart).
    due = sorted(e["minute"] for e in expected["firings"] if e["kind"] == "reminder")
    seen = watch.get("popups", [])
    print("reminders:      expected %d pop-ups, seen %d, most open at once %d, left open %s"
          % (len(due), len(seen), watch.get("most_open_at_once", 0), watch.get("left_open")))
    if len(due) != len(seen):
        faults.append("%d reminder pop-ups expected, %d seen" % (len(due), len(seen)))
    else:
        off = [(d, s) for d, s in zip(due, seen) if not 0 <= s - d < 120]
        for d, s in off[:10]:
            faults.append("a pop-up due at %s was first seen at %s" % (when(d), when(s)))
    if watch.get("left_open"):
        faults.append("%s pop-ups still open at the end" % watch["left_open"])

    sounds = [line for line in read(os.path.join(work, "clock.log")).split("\n")
              if line.startswith("horolux.sound: ")]
    alarms = sum(1 for s in sounds if s.endswith("/alarm.wav"))
    chimes = sum(1 for s in sounds if s.endswith("/chime.wav"))
    hours = (expected["end"] - expected["start"]) // 3600
    print("sounds:         %d alarm (expected %d), %d chime (expected %d: start-up and each "
          "hour)" % (alarms, len(due), chimes, hours + 1))
    if alarms != len(due):
        faults.append("%d alarm sounds for %d reminders" % (alarms, len(due)))
    if chimes != hours + 1:
        faults.append("%d chimes in %d hours" % (chimes, hours))

    # The file: exactly the lines the plan leaves, in order, each ended by CR LF.
    data = read(schedule, "rb").decode("utf-8", errors="replace")
    lines = data.split("\r\n")
    ended = lines[-1] == ""
    lines = lines[:-1] if ended else lines
    want_lines, got_lines = collections.Counter(expected["final"]), collections.Counter(lines)
    print("schedule file:  expected %d lines, found %d, missing %d, unexpected %d"
          % (len(expected["final"]), len(lines), sum((want_lines - got_lines).values()),
             sum((got_lines - want_lines).values())))
    for line in sorted(want_lines - got_lines)[:10]:
        faults.append("missing from the file: %s" % line)
    for line in sorted(got_lines - want_lines)[:10]:
        faults.append("unexpected in the file: %s" % line)
    if lines and not ended:
        faults.append("the file's last line has no CR LF")
    if any(a[:11] > b[:11] for a, b in zip(lines, lines[1:])):
        faults.append("the file is not in time-of-day, date, type order")

    # Resources: the end against the first simulated hour.
    samples, final = watch.get("samples", []), watch.get("final")
    first = samples[0] if samples else None
    if not first or not final:
        faults.append("no resource figures (the clock ended early?)")
    else:
        print("resources:      %-10s %10s %6s %8s %9s" % ("", "VmRSS kB", "fds", "threads",
                                                        "children"))
        for label, s in (("hour 1", first), ("end", final)):
            print("                %-10s %10d %6d %8d %9d"
                  % (label, s["rss_kb"], s["fds"], s["threads"], s["children"]))
        for key in ("rss_kb", "fds"):
            change = (final[key] - first[key]) / first[key]
            print("                %s change %+.2f %%" % (key, change * 100))
            if abs(change) > LIMIT:
                faults.append("%s went from %d to %d" % (key, first[key], final[key]))
        trend = " ".join("%d:%d/%d" % (s["hour"], s["rss_kb"], s["fds"]) for s in samples)
        print("hourly (hour:kB/fds): %s" % trend)
    if watch.get("ended_on_sigterm") is False:
        faults.append("the clock did not end on SIGTERM")

    for fault in faults:
        print("FAULT: " + fault)
    print("soak: %s" % ("passed" if not faults else "FAILED (%d faults)" % len(faults)))
    return 0 if not faults else 1


if __name__ == "__main__":
    sys.exit(main())
