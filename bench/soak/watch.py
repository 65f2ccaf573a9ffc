#!/usr/bin/env python3
"""Watches the running clock through the soak: closes every reminder pop-up as it comes (as
its close box would) and notes when each was first seen, and samples the
program's resident memory, descriptors, threads and children once every simulated hour.
Ends the program with SIGTERM once the simulated end is reached.

Usage: watch.py WORK_DIR PID EXPECTED_JSON
Writes WORK_DIR/watch.json. The program's display is $DISPLAY.
"""
import ctypes
import ctypes.util
import json
import os
import signal
import subprocess
import sys
import time

RATE = 60  # simulated seconds per real second
POLL = 0.25  # real seconds between looks


def proc_figures(pid):
    status = {}
    with open("/proc/%d/status" % pid) as f:
        for line in f:
            key, _, value = line.partition(":")
            status[key] = value.strip()
    children = 0
    for entry in os.listdir("/proc"):
        if entry.isdigit():
            try:
                with open("/proc/%s/stat" % entry) as f:
                    fields = f.read().rsplit(")", 1)[1].split()
                if int(fields[1]) == pid:
                    children += 1
            except OSError:
                pass
    return {
        "rss_kb": int(status["VmRSS"].split()[0]),
        "fds": len(os.listdir("/proc/%d/fd" % pid)),
        "threads": int(status["Threads"]),
        "children": children,
    }


def simulated_clock(pid):
    """The program's own simulated time, read once through the same shared faketime state,
    then carried on from the real clock at the same rate."""
    env = dict(os.environ)
    with open("/proc/%d/environ" % pid, "rb") as f:
        for item in f.read().split(b"\0"):
            key, _, value = item.decode(errors="replace").partition("=")
            if key.startswith("FAKETIME") or key == "LD_PRELOAD":
                env[key] = value
    real0 = time.time()
    sim0 = float(subprocess.run(["date", "+%s.%N"], env=env, capture_output=True,
                                text=True, check=True).stdout)
    real1 = time.time()
    real_mid = (real0 + real1) / 2
    return lambda: sim0 + (time.time() - real_mid) * RATE


class Closer:
    """Asks a window to close, as a window manager's close box does (WM_DELETE_WINDOW), so
    exactly the pop-ups seen are closed, never one that appeared a moment later."""

    class ClientMessage(ctypes.Structure):
        _fields_ = [("type", ctypes.c_int), ("serial", ctypes.c_ulong),
                    ("send_event", ctypes.c_int), ("display", ctypes.c_void_p),
                    ("window", ctypes.c_ulong), ("message_type", ctypes.c_ulong),
                    ("format", ctypes.c_int), ("data", ctypes.c_long * 5),
                    ("pad", ctypes.c_long * 12)]

    def __init__(self):
        self.x = ctypes.CDLL(ctypes.util.find_library("X11"))
        self.x.XOpenDisplay.restype = ctypes.c_void_p
        self.x.XOpenDisplay.argtypes = [ctypes.c_char_p]
        self.x.XInternAtom.restype = ctypes.c_ulong
        self.x.XInternAtom.argtypes = [ctypes.c_void_p, ctypes.c_char_p, ctypes.c_int]
        self.x.XSendEvent.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_int,
                                      ctypes.c_long, ctypes.c_void_p]
        self.x.XFlush.argtypes = [ctypes.c_void_p]
        # A pop-up may be gone by the time the request arrives: Xlib's default handler would
        # end the watcher for that.
        self.on_error = ctypes.CFUNCTYPE(ctypes.c_int, ctypes.c_void_p, ctypes.c_void_p)(
            lambda display, error: 0)
        self.x.XSetErrorHandler(self.on_error)
        self.display = self.x.XOpenDisplay(None)
        if not self.display:
            raise SystemExit("cannot open the display")
        self.protocols = self.x.XInternAtom(self.display, b"WM_PROTOCOLS", 0)
        self.delete = self.x.XInternAtom(self.display, b"WM_DELETE_WINDOW", 0)

    def close(self, window):
        event = self.ClientMessage(type=33, window=window, message_type=self.protocols,
                                   format=32)  # 33: ClientMessage
        event.data[0] = self.delete
        event.data[1] = 0  # CurrentTime
        self.x.XSendEvent(self.display, window, 0, 0, ctypes.byref(event))
        self.x.XFlush(self.display)


def xdotool(*args):
    return subprocess.run(["xdotool", *args], capture_output=True, text=True).stdout


def reminders():
    return xdotool("search", "--onlyvisible", "--name", "^Reminder$").split()


def close_reminders(seen, sim_now, closer):
    ids = reminders()
    for wid in ids:
        if wid not in seen:
            seen[wid] = sim_now()
        closer.close(int(wid))
    return len(ids)


def main():
    work, pid = sys.argv[1], int(sys.argv[2])
    with open(sys.argv[3]) as f:
        expected = json.load(f)
    sim_now = simulated_clock(pid)
    closer = Closer()
    seen = {}
    samples = []
    next_sample = expected["start"] + 3600
    stop_at = expected["end"] + 30
    most_open = 0
    while sim_now() < stop_at:
        if not os.path.exists("/proc/%d" % pid):
            print("the clock ended before the run did", file=sys.stderr)
            break
        open_now = close_reminders(seen, sim_now, closer)
        most_open = max(most_open, open_now)
        now = sim_now()
        # Sampled with no pop-up open, so every sample counts the same windows.
        if now >= next_sample and open_now == 0:
            figures = proc_figures(pid)
            figures["hour"] = round((next_sample - expected["start"]) / 3600)
            figures["sim"] = now
            samples.append(figures)
            next_sample += 3600
        time.sleep(POLL)
    # The last ones of the run, then nothing may be left open.
    for _ in range(40):
        if close_reminders(seen, sim_now, closer) == 0:
            break
        time.sleep(POLL)
    left_open = len(reminders())
    final = proc_figures(pid) if os.path.exists("/proc/%d" % pid) else None
    ended = None
    if final:
        os.kill(pid, signal.SIGTERM)
        for _ in range(200):
            if not os.path.exists("/proc/%d" % pid):
                break
            time.sleep(0.05)
        ended = not os.path.exists("/proc/%d" % pid)
    with open(os.path.join(work, "watch.json"), "w") as f:
        json.dump({"popups": sorted(seen.values()), "samples": samples, "final": final,
                   "left_open": left_open, "most_open_at_once": most_open,
                   "ended_on_sigterm": ended}, f, indent=0)


if __name__ == "__main__":
    main()
