#!/usr/bin/env python3
"""Writes the soak's schedule file and, from its own model of the scheduling rules, what must
happen to it: every firing (item and minute) and the file left at the end.

The model is written here from the rules, not taken from the program: a per-minute scan over a
sorted list from a cursor that returns to the start with each new day.

Usage: plan.py OUT_DIR LOGGER HOURS [SEED]
Writes OUT_DIR/horolux.dat and OUT_DIR/expected.json.
"""
import bisect
import json
import random
import sys

D1 = 36528  # Monday 3 January 2000: the run starts there at 06:00:00 (UTC)
D1_EPOCH = 946857600  # 2000-01-03 00:00:00 UTC
START_MINUTE = 6 * 60  # the program starts during 06:00; its first scan is at 06:01
ITEMS = 1000
# Each fired item holds the clock for a simulated second and costs some real work, which the
# speed-up multiplies by 60: the catch-up at the first scan is kept small so it ends within
# its minute.# Nothing is scheduled here, so the end of a 49-hour run and its first scan stay clean.
QUIET = set(range(6 * 60, 6 * 60 + 2)) | set(range(6 * 60 + 56, 7 * 60 + 6))


def weekday(day):
    """1 = Sunday .. 7 = Saturday; day 1 (31 December 1899) was a Sunday."""
    return (day - 1) % 7 + 1


def fmt(hour, minute, day, typ, detail):
    return "%02d%02d%5d%02d%s" % (hour, minute, day, typ, detail)


class Schedule:
    """The sorted, duplicate-free list. The details differ only in fixed-width letters and
    digits, so lower-cased code-unit order is the order any collation gives them."""

    def __init__(self):
        self.lines = []
        self.keys = []

    def add(self, line):
        key = line.lower()
        i = bisect.bisect_left(self.keys, key)
        if i < len(self.keys) and self.keys[i] == key:
            return
        self.keys.insert(i, key)
        self.lines.insert(i, line)

    def remove(self, i):
        del self.keys[i]
        del self.lines[i]


def simulate(lines, hours):
    """Runs the scan once a minute from 06:01 on D1 through the last whole minute of the run.
    Returns the firings [(detail, epoch minute start)] and the list at the end."""
    sched = Schedule()
    for line in lines:
        sched.add(line)
    firings = []
    cursor = 0
    day = D1
    end = D1_EPOCH + START_MINUTE * 60 + hours * 3600
    t = D1_EPOCH + (START_MINUTE + 1) * 60
    while t <= end:
        today = D1 + (t - D1_EPOCH) // 86400
        if today != day:
            day = today
            cursor = 0
        now = ((t - D1_EPOCH) % 86400) // 3600 * 100 + ((t - D1_EPOCH) % 3600) // 60
        while len(sched.lines) > cursor:
            line = sched.lines[cursor]
            tn, d, typ, detail = int(line[0:4]), int(line[4:9]), int(line[9:11]), line[11:]
            if tn > now:
                break
            if d > today:
                cursor += 1
                continue
            sched.remove(cursor)
            if typ <= 2 or weekday(today) == typ - 2:
                firings.append((detail, t))
            if typ == 1:
                sched.add(fmt(tn // 100, tn % 100, today + 1, 1, detail))
            elif 2 <= typ <= 9:
                sched.add(fmt(tn // 100, tn % 100, d + 7, typ, detail))
        t += 60
    return firings, sched.lines


def generate(logger, rng):
    """1000 items of every kind: (time of day in minutes, day number, type) per group, half of
    each group reminders and half programs to run."""
    per_time = {}

    def pick(lo=0, hi=24 * 60, cap=2):
        while True:
            m = rng.randrange(lo, hi)
            if m not in QUIET and per_time.get(m, 0) < cap:
                per_time[m] = per_time.get(m, 0) + 1
                return m

    early = (0, START_MINUTE)  # before the start: due at once when dated today or earlier

    def due_later(day):
        """A time that is not yet due at the first scan, unless the group means it to be."""
        return (pick(START_MINUTE + 2), day) if day <= D1 else (pick(), day)
    groups = [
        # one-shots: today, missed today, missed on earlier days, on later dates
        (100, lambda: (pick(START_MINUTE + 2), D1, 0)),
        (2, lambda: (pick(*early), D1, 0)),
        (1, lambda: (pick(*early), D1 - 2, 0)),
        (10, lambda: (pick(START_MINUTE + 2), D1 - 2, 0)),  # waits for its time today
        (120, lambda: (pick(), D1 + 1, 0)),
        (40, lambda: (pick(0, START_MINUTE + 55), D1 + 2, 0)),
        (20, lambda: (pick(7 * 60 + 10), D1 + 2, 0)),  # after the run ends: stays
        (20, lambda: (pick(), D1 + 6, 0)),
        # daily: from today, missed since earlier days, from tomorrow
        (190, lambda: (pick(START_MINUTE + 2), D1, 1)),
        (2, lambda: (pick(*early), D1, 1)),
        (20, lambda: (*due_later(D1 - 3), 1)),
        (60, lambda: (pick(), D1 + 1, 1)),
        # weekly: this week, missed last week, missed three weeks ago, next week
        (60, lambda: (*due_later(rng.choice([D1, D1 + 1, D1 + 2])), 2)),
        (20, lambda: (*due_later(D1 - 7), 2)),
        (1, lambda: (pick(*early), D1 - 7, 2)),
        (10, lambda: (*due_later(D1 - 21), 2)),
        (10, lambda: (pick(), D1 + 7, 2)),
        # codes nobody writes: dropped when due, never performed
        (6, lambda: (*due_later(rng.choice([D1, D1 + 1])), rng.choice([10, 42, 99]))),
    ]
    # each weekday: dated on its own weekday or on another, this week or the last
    for typ in range(3, 10):
        groups.append((38, lambda typ=typ: (*due_later(rng.choice(range(D1 - 7, D1 + 3))), typ)))
        if typ in (4, 6):  # Mondays, Wednesdays
            groups.append((1, lambda typ=typ: (pick(*early), D1 - 7, typ)))
    total = sum(n for n, _ in groups)
    assert total <= ITEMS, total
    groups[0] = (groups[0][0] + ITEMS - total, groups[0][1])

    lines = []
    n = 0
    for count, make in groups:
        for _ in range(count):
            n += 1
            minute, day, typ = make()
            item = "S%04d" % n
            if n % 2:
                detail = "Reminder:Soak %s" % item
            else:
                detail = "Run:%s,%s,,1" % (logger, item)
            lines.append(fmt(minute // 60, minute % 60, day, typ, detail))
    rng.shuffle(lines)  # the loader sorts
    return lines


def item_of(detail):
    return detail.split("Soak ")[1] if detail.startswith("Reminder:") else detail.split(",")[1]


def main():
    out, logger, hours = sys.argv[1], sys.argv[2], int(sys.argv[3])
    rng = random.Random(int(sys.argv[4]) if len(sys.argv) > 4 else 13)
    assert "," not in logger
    lines = generate(logger, rng)
    firings, final = simulate(lines, hours)
    per_minute = {}
    for _, t in firings:
        per_minute[t] = per_minute.get(t, 0) + 1
    with open(out + "/horolux.dat", "w", newline="") as f:
        f.write("".join(line + "\r\n" for line in lines))
    expected = {
        "start": D1_EPOCH + START_MINUTE * 60,
        "end": D1_EPOCH + START_MINUTE * 60 + hours * 3600,
        "items": len(lines),
        "firings": [
            {"item": item_of(d), "kind": "run" if d.startswith("Run:") else "reminder",
             "minute": t}
            for d, t in firings
        ],
        "final": final,
        "busiest_minute": max(per_minute.values()) if per_minute else 0,
    }
    with open(out + "/expected.json", "w") as f:
        json.dump(expected, f, indent=0)
    runs = sum(1 for e in expected["firings"] if e["kind"] == "run")
    print("planned: %d items, %d firings (%d programs, %d reminders), %d lines left, "
          "at most %d in one minute"
          % (len(lines), len(firings), runs, len(firings) - runs, len(final),
             expected["busiest_minute"]))


if __name__ == "__main__":
    main()
