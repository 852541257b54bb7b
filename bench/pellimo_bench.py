#!/usr/bin/env python3
# SPDX-License-Identifier: MIT
"""Pellimo against its floors: one command per row, both figures and their ratio.

  window     start until the main window is mapped, against a bare QApplication showing one
             empty 555 x 311 QWidget titled "Pellimo" (bench/floor/bare_window.cpp)
  nogui      `pellimo nogui` start to exit, against a bare QApplication that only starts and
             exits (bench/floor/bare_qt_app.cpp)
  memory     private memory (Private_Dirty, and of it Anonymous, in /proc/PID/smaps_rollup) of
             the serving `pellimo nogui` process once the stamp is on the clipboard, against a
             bare QApplication serving an image of the stamp's size (bench/floor/bare_clipboard.cpp)
  drawstamp  drawStamp of the default profile, against plain QPainter calls drawing the same
             stamp (bench/floor/plain_stamp.cpp; both in bench_drawstamp)
  all        the four rows in turn

The two programs of a row run alternately, the order flipping every round, so that a load that
changes during the run weighs on both alike. Everything runs on a private Xvfb (-noreset), with
pellimo copied into a fresh program folder; the first start of each program is not counted.

usage: bench/pellimo_bench.py [window|nogui|memory|drawstamp|all] [--build build/default]
                              [--rounds 21]
"""

import argparse
import json
import os
import shutil
import statistics
import subprocess
import sys
import tempfile
import time


def start_xvfb():
    r, w = os.pipe()
    proc = subprocess.Popen(
        ["Xvfb", "-displayfd", str(w), "-screen", "0", "1280x1024x24", "-nolisten", "tcp",
         "-noreset"],
        pass_fds=(w,), stderr=subprocess.DEVNULL)
    os.close(w)
    number = b""
    while not number.endswith(b"\n"):
        chunk = os.read(r, 16)
        if not chunk:
            sys.exit("Xvfb did not start")
        number += chunk
    os.close(r)
    return proc, ":" + number.decode().strip()


def processes_running(executable):
    pids = []
    for entry in os.listdir("/proc"):
        if entry.isdigit():
            try:
                if os.readlink(f"/proc/{entry}/exe") == executable:
                    pids.append(int(entry))
            except OSError:
                pass
    return pids


def status_kib(pid, field):
    try:
        with open(f"/proc/{pid}/status") as status:
            for line in status:
                if line.startswith(field + ":"):
                    return int(line.split()[1])
    except OSError:
        pass
    return 0


def private_kib(pid):
    """Private_Dirty and Anonymous of the process (KiB): what it alone holds in memory. File pages
    it only reads (libraries, fonts) are shared with every other program mapping them and stay in
    the page cache whatever the process does with them, so they are left out."""
    fields = {}
    try:
        with open(f"/proc/{pid}/smaps_rollup") as rollup:
            for line in rollup:
                name, _, rest = line.partition(":")
                if name in ("Private_Dirty", "Anonymous"):
                    fields[name] = int(rest.split()[0])
    except OSError:
        pass
    return fields.get("Private_Dirty", 0), fields.get("Anonymous", 0)


def load_average():
    with open("/proc/loadavg") as f:
        return " ".join(f.read().split()[:3])


class Setup:
    """The private display, the program folder and the paths of everything a row runs."""

    def __init__(self, build, pellimo=None, drawstamp=None, plain=None):
        self.build = os.path.abspath(build)
        self.source = os.path.abspath(pellimo or os.path.join(build, "src/pellimo"))
        self.bare_app = os.path.join(self.build, "bench/floor/bare_qt_app")
        self.bare_clipboard = os.path.join(self.build, "bench/floor/bare_clipboard")
        self.bare_window = os.path.join(self.build, "bench/floor/bare_window")
        self.mapwatch = os.path.join(self.build, "bench/floor/mapwatch")
        self.drawstamp = os.path.abspath(drawstamp or os.path.join(build, "bench/bench_drawstamp"))
        self.plain = os.path.abspath(plain or self.drawstamp)
        self.xvfb = None

    def need(self, *paths):
        for path in paths:
            if not os.access(path, os.X_OK):
                sys.exit(f"not built: {path}")

    def __enter__(self):
        for tool in ("Xvfb", "xclip"):
            if not shutil.which(tool):
                sys.exit(f"{tool} is missing: scripts/install-deps.sh --test")
        if not os.path.exists("/usr/bin/time"):
            sys.exit("/usr/bin/time is missing: apt-get install time")
        self.xvfb, display = start_xvfb()
        self.folder = tempfile.mkdtemp(prefix="pellimo-bench-")
        os.chmod(self.folder, 0o700)
        self.pellimo = os.path.join(self.folder, "pellimo")
        shutil.copy2(self.source, self.pellimo)
        self.env = dict(os.environ, DISPLAY=display, XDG_RUNTIME_DIR=self.folder)
        for name in ("WAYLAND_DISPLAY", "QT_QPA_PLATFORM"):
            self.env.pop(name, None)
        return self

    def __exit__(self, *exc):
        for pid in processes_running(self.pellimo):
            os.kill(pid, 9)
        self.xvfb.terminate()
        self.xvfb.wait()
        shutil.rmtree(self.folder, ignore_errors=True)

    def take_clipboard(self):
        subprocess.run(["xclip", "-selection", "clipboard", "-i"], input=b"bench", env=self.env,
                       check=True, stderr=subprocess.DEVNULL)
        deadline = time.time() + 5
        while processes_running(self.pellimo) and time.time() < deadline:
            time.sleep(0.02)

    def run_bare_app(self):
        start = time.perf_counter()
        done = subprocess.run(["/usr/bin/time", "-f", "%M", self.bare_app], env=self.env,
                              stdout=subprocess.DEVNULL, stderr=subprocess.PIPE, check=True)
        wall = time.perf_counter() - start
        return wall * 1000, int(done.stderr.decode().strip().splitlines()[-1])

    def run_nogui(self, settle=0.0):
        """Wall time in ms; private memory (Private_Dirty, Anonymous) and peak resident memory
        (KiB) of the serving process."""
        start = time.perf_counter()
        subprocess.run([self.pellimo, "nogui"], env=self.env, stdout=subprocess.DEVNULL,
                       stderr=subprocess.DEVNULL, check=True)
        wall = time.perf_counter() - start
        if settle:
            time.sleep(settle)
        serving = processes_running(self.pellimo)
        private = private_kib(serving[0]) if serving else (0, 0)
        hwm = status_kib(serving[0], "VmHWM") if serving else 0
        self.take_clipboard()
        return wall * 1000, private, hwm

    def run_bare_clipboard(self, settle):
        """Private memory (Private_Dirty, Anonymous; KiB) of the floor serving its image."""
        floor = subprocess.Popen([self.bare_clipboard], env=self.env, stdout=subprocess.DEVNULL,
                                 stderr=subprocess.DEVNULL)
        time.sleep(settle)
        private = private_kib(floor.pid)
        subprocess.run(["xclip", "-selection", "clipboard", "-i"], input=b"bench", env=self.env,
                       check=True, stderr=subprocess.DEVNULL)
        try:
            floor.wait(timeout=5)
        except subprocess.TimeoutExpired:
            floor.kill()
            floor.wait()
        return private

    def time_to_map(self, program):
        done = subprocess.run([self.mapwatch, "Pellimo", program], env=self.env,
                              stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, check=True)
        return float(done.stdout.decode().strip())

    def drawstamp_us(self, binary, name):
        done = subprocess.run(
            [binary, f"--benchmark_filter=^{name}$", "--benchmark_format=json",
             "--benchmark_min_time=0.2"],
            env=dict(self.env, QT_QPA_PLATFORM="offscreen"), stdout=subprocess.PIPE,
            stderr=subprocess.DEVNULL, check=True)
        runs = json.loads(done.stdout)["benchmarks"]
        return runs[0]["real_time"] if runs else sys.exit(f"{name} not found in {binary}")


def alternate(rounds, first, second):
    """Runs first() and second() rounds times each, the order flipping every round."""
    a, b = [], []
    for i in range(rounds):
        if i % 2 == 0:
            a.append(first())
            b.append(second())
        else:
            b.append(second())
            a.append(first())
    return a, b


def spread(values, unit):
    return (f"median {statistics.median(values):8.2f} {unit}  "
            f"(min {min(values):.2f}, max {max(values):.2f})")


def report(title, floor_name, floor, name, ours, unit, goal):
    ratio = statistics.median(ours) / statistics.median(floor)
    print(f"== {title}")
    print(f"  {floor_name:<34}: {spread(floor, unit)}")
    print(f"  {name:<34}: {spread(ours, unit)}")
    print(f"  ratio                             : {ratio:.2f} x (goal: at most {goal:.2f} x)")
    return ratio


def row_window(s, rounds):
    s.need(s.bare_window, s.mapwatch)
    s.time_to_map(s.pellimo)  # creates the data files; not counted
    s.time_to_map(s.bare_window)
    bare, ours = alternate(rounds, lambda: s.time_to_map(s.bare_window),
                           lambda: s.time_to_map(s.pellimo))
    report("start to window mapped", "bare QWidget 555x311 \"Pellimo\"", bare, "pellimo",
           ours, "ms", 1.20)


def row_nogui(s, rounds):
    s.need(s.bare_app)
    s.run_nogui()
    s.run_bare_app()
    bare, ours = alternate(rounds, s.run_bare_app, s.run_nogui)
    report("nogui start to exit", "bare QApplication", [w for w, _ in bare], "pellimo nogui",
           [w for w, _, _ in ours], "ms", 1.15)


def row_memory(s, rounds):
    s.need(s.bare_clipboard)
    s.run_nogui()
    bare, ours = alternate(rounds, lambda: s.run_bare_clipboard(0.3),
                           lambda: s.run_nogui(settle=0.3))
    report("private memory of the serving process", "bare QApplication serving an image",
           [d / 1024 for d, _ in bare], "pellimo nogui serving, Private_Dirty",
           [d / 1024 for _, (d, _), _ in ours], "MiB", 1.00)
    print(f"  (of it Anonymous, floor          : {spread([a / 1024 for _, a in bare], 'MiB')})")
    print(f"  (of it Anonymous, pellimo        : "
          f"{spread([a / 1024 for _, (_, a), _ in ours], 'MiB')})")
    print(f"  (serving process peak, VmHWM     : "
          f"{spread([h / 1024 for _, _, h in ours], 'MiB')})")


def row_drawstamp(s, rounds):
    s.need(s.drawstamp, s.plain)
    plain, ours = alternate(rounds, lambda: s.drawstamp_us(s.plain, "BM_plainStamp"),
                            lambda: s.drawstamp_us(s.drawstamp, "BM_drawStampDefault"))
    report("drawStamp, default profile", "plain QPainter drawing", plain, "drawStamp", ours,
           "us", 1.00)


ROWS = {"window": row_window, "nogui": row_nogui, "memory": row_memory,
        "drawstamp": row_drawstamp}


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    parser.add_argument("row", nargs="?", default="all", choices=[*ROWS, "all"])
    parser.add_argument("--build", default="build/default")
    parser.add_argument("--rounds", type=int, default=21)
    parser.add_argument("--pellimo", help="another pellimo binary (default: BUILD/src/pellimo)")
    parser.add_argument("--drawstamp", help="another bench_drawstamp for drawStamp")
    parser.add_argument("--plain", help="the binary holding BM_plainStamp (default: bench_drawstamp)")
    args = parser.parse_args()

    print(f"rounds: {args.rounds}, alternating; load average {load_average()}")
    with Setup(args.build, args.pellimo, args.drawstamp, args.plain) as s:
        for name, row in ROWS.items():
            if args.row in (name, "all"):
                row(s, args.rounds)
    print(f"load average afterwards {load_average()}")


if __name__ == "__main__":
    main()
