#!/usr/bin/env python3
"""Start-up figures: time from process start to the main window first shown, and peak resident
memory, for Norvessa and for a bare Qt Widgets window program built by the same build, measured
alternately in one run. Prints medians and the ratios between the two.

usage: startup_figures.py BUILD_DIR [ROUNDS]
"""
import os
import statistics
import sys
import tempfile
import time


def run_once(program, environment):
    start = time.perf_counter()
    pid = os.spawnve(os.P_NOWAIT, program, [program], environment)
    _, status, usage = os.wait4(pid, 0)
    elapsed = time.perf_counter() - start
    if os.waitstatus_to_exitcode(status) != 0:
        sys.exit(f"{program} ended with status {os.waitstatus_to_exitcode(status)}")
    return elapsed, usage.ru_maxrss  # kilobytes on Linux


def main():
    if len(sys.argv) < 2:
        sys.exit(__doc__)
    build = sys.argv[1]
    rounds = int(sys.argv[2]) if len(sys.argv) > 2 else 20
    programs = {
        "norvessa": os.path.join(build, "main_window", "norvessa"),
        "bare Qt window": os.path.join(build, "bench", "startup", "norvessa_bench_bare_window"),
    }
    with tempfile.TemporaryDirectory() as data_home:
        environment = dict(os.environ, NORVESSA_QUIT_AFTER_FIRST_SHOW="1",
                           XDG_DATA_HOME=data_home)
        environment.setdefault("QT_QPA_PLATFORM", "offscreen")
        samples = {name: [] for name in programs}
        for name, program in programs.items():  # warm the page cache once
            run_once(program, environment)
        for _ in range(rounds):
            for name, program in programs.items():
                samples[name].append(run_once(program, environment))

    figures = {}
    for name, runs in samples.items():
        seconds = statistics.median(run[0] for run in runs)
        peak = max(run[1] for run in runs)
        figures[name] = (seconds, peak)
        print(f"{name:16} start-up to first show {seconds * 1000:8.1f} ms (median of {rounds}),"
              f" peak resident {peak / 1024:7.1f} MiB")
    ours, bare = figures["norvessa"], figures["bare Qt window"]
    print(f"ratio norvessa / bare: start-up {ours[0] / bare[0]:.2f}x, "
          f"peak memory {ours[1] / bare[1]:.2f}x")


if __name__ == "__main__":
    main()
