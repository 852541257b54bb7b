#!/usr/bin/env python3
# SPDX-License-Identifier: MIT
"""Times `pellimo nogui` against a bare Qt program that only constructs QApplication and exits.

Both run on a private Xvfb display, alternating (the order flips every round), several rounds;
the script prints the median wall time of each, their ratio and the peak memory (resident set)
of both. Wall time of `pellimo nogui` is what a caller waits for: until the command returns,
while the stamp is still being served in the background. Its peak memory is that of the process
that did the work (the serving child), read from /proc before the clipboard is taken from it.

usage: bench/startup/startup_bench.py [--build build/default] [--rounds 21]
"""

import argparse
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


def peak_kib(pid):
    with open(f"/proc/{pid}/status") as status:
        for line in status:
            if line.startswith("VmHWM:"):
                return int(line.split()[1])
    return 0


def take_clipboard(env):
    subprocess.run(["xclip", "-selection", "clipboard", "-i"], input=b"bench", env=env,
                   check=True, stderr=subprocess.DEVNULL)


def run_bare(bare, env):
    start = time.perf_counter()
    done = subprocess.run(["/usr/bin/time", "-f", "%M", bare], env=env,
                          stdout=subprocess.DEVNULL, stderr=subprocess.PIPE, check=True)
    wall = time.perf_counter() - start
    return wall, int(done.stderr.decode().strip().splitlines()[-1])


def run_pellimo(pellimo, env):
    start = time.perf_counter()
    subprocess.run([pellimo, "nogui"], env=env, stdout=subprocess.DEVNULL,
                   stderr=subprocess.DEVNULL, check=True)
    wall = time.perf_counter() - start
    serving = processes_running(pellimo)
    peak = peak_kib(serving[0]) if serving else 0
    take_clipboard(env)
    deadline = time.time() + 5
    while processes_running(pellimo) and time.time() < deadline:
        time.sleep(0.02)
    return wall, peak


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--build", default="build/default")
    parser.add_argument("--rounds", type=int, default=21)
    args = parser.parse_args()

    for tool in ("Xvfb", "xclip"):
        if not shutil.which(tool):
            sys.exit(f"{tool} is missing: scripts/install-deps.sh --test")
    if not os.path.exists("/usr/bin/time"):
        sys.exit("/usr/bin/time is missing: apt-get install time")
    bare = os.path.abspath(os.path.join(args.build, "bench/startup/bare_qt_app"))
    source = os.path.abspath(os.path.join(args.build, "src/pellimo"))
    for path in (bare, source):
        if not os.access(path, os.X_OK):
            sys.exit(f"not built: {path}")

    xvfb, display = start_xvfb()
    folder = tempfile.mkdtemp(prefix="pellimo-bench-")
    pellimo = os.path.join(folder, "pellimo")
    shutil.copy2(source, pellimo)
    env = dict(os.environ, DISPLAY=display, XDG_RUNTIME_DIR=folder)
    for name in ("WAYLAND_DISPLAY", "QT_QPA_PLATFORM"):
        env.pop(name, None)

    try:
        # The first start creates the data files and warms the caches: not counted.
        run_pellimo(pellimo, env)
        run_bare(bare, env)
        bare_runs, pellimo_runs = [], []
        for i in range(args.rounds):
            if i % 2 == 0:
                bare_runs.append(run_bare(bare, env))
                pellimo_runs.append(run_pellimo(pellimo, env))
            else:
                pellimo_runs.append(run_pellimo(pellimo, env))
                bare_runs.append(run_bare(bare, env))
    finally:
        for pid in processes_running(pellimo):
            os.kill(pid, 9)
        xvfb.terminate()
        xvfb.wait()
        shutil.rmtree(folder, ignore_errors=True)

    bare_wall = statistics.median(w for w, _ in bare_runs)
    pellimo_wall = statistics.median(w for w, _ in pellimo_runs)
    bare_peak = statistics.median(m for _, m in bare_runs)
    pellimo_peak = statistics.median(m for _, m in pellimo_runs)
    print(f"rounds: {args.rounds}, alternating")
    print(f"bare QApplication : median {bare_wall * 1000:7.1f} ms   "
          f"(min {min(w for w, _ in bare_runs) * 1000:.1f}, "
          f"max {max(w for w, _ in bare_runs) * 1000:.1f})   peak RSS {bare_peak / 1024:.1f} MiB")
    print(f"pellimo nogui     : median {pellimo_wall * 1000:7.1f} ms   "
          f"(min {min(w for w, _ in pellimo_runs) * 1000:.1f}, "
          f"max {max(w for w, _ in pellimo_runs) * 1000:.1f})   "
          f"peak RSS {pellimo_peak / 1024:.1f} MiB")
    print(f"ratio             : {pellimo_wall / bare_wall:.2f} x (target: at most 1.25 x)")


if __name__ == "__main__":
    main()
