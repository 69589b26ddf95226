#!/usr/bin/env python3
"""Start-up figures: time from process start to the end of a run that quits at the main window's
first paint, and peak resident memory, for Norvessa and for three peers built by the same build,
measured alternately in one run: a bare Qt Widgets window; the fair floor, a window that shows
one line of Chinese in the program's face (every Chinese window loads and shapes that face); and
the design's font floor, that line at each of the six font sizes of the main window's layout
(each size a font engine of its own). Prints each program's shortest run (the one least
disturbed by other work on the machine) beside its median, the ratios to the peers, and the
goals against the label window.

usage: startup_figures.py BUILD_DIR [ROUNDS]

When the build holds bench/startup/norvessa_bench_grown (Norvessa carrying the image of a data
set several times the shipped one; -DNORVESSA_BUILD_BENCHMARKS=ON), it is measured too.
"""
import os
import statistics
import sys
import tempfile
import time

TIME_GOAL = 1.3  # start-up, times the label window
MEMORY_GOAL_MIB = 6  # peak resident memory above the label window's


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
    startup = os.path.join(build, "bench", "startup")
    programs = {
        "norvessa": os.path.join(build, "main_window", "norvessa"),
        "norvessa, grown": os.path.join(startup, "norvessa_bench_grown"),
        "bare Qt window": os.path.join(startup, "norvessa_bench_bare_window"),
        "label window": os.path.join(startup, "norvessa_bench_label_window"),
        "font sizes": os.path.join(startup, "norvessa_bench_font_sizes_window"),
    }
    programs = {name: path for name, path in programs.items() if os.path.exists(path)}
    with tempfile.TemporaryDirectory() as data_home:
        runtime = os.path.join(data_home, "runtime")
        os.mkdir(runtime, 0o700)
        environment = dict(os.environ, NORVESSA_QUIT_AFTER_FIRST_SHOW="1",
                           XDG_DATA_HOME=data_home, XDG_RUNTIME_DIR=runtime)
        environment.setdefault("QT_QPA_PLATFORM", "offscreen")
        samples = {name: [] for name in programs}
        for name, program in programs.items():  # warm the page cache once
            run_once(program, environment)
        for _ in range(rounds):
            for name, program in programs.items():
                samples[name].append(run_once(program, environment))

    # The shortest run is the one least disturbed by whatever else the machine does; the
    # median is given beside it.
    figures = {}
    for name, runs in samples.items():
        seconds = min(run[0] for run in runs)
        median = statistics.median(run[0] for run in runs)
        peak = statistics.median(run[1] for run in runs) / 1024
        figures[name] = (seconds, peak)
        print(f"{name:16} start-up to first paint {seconds * 1000:6.1f} ms (shortest of {rounds}, "
              f"median {median * 1000:.1f}), peak resident {peak:5.1f} MiB (median)")
    bare, label = figures["bare Qt window"], figures["label window"]
    print(f"{'label / bare':16} start-up {label[0] / bare[0]:.2f}x, "
          f"peak memory {label[1] - bare[1]:+.1f} MiB")
    if "font sizes" in figures:
        sizes = figures["font sizes"]
        print(f"{'font sizes':16} / label: start-up {sizes[0] / label[0]:.2f}x, "
              f"peak memory {sizes[1] - label[1]:+.1f} MiB")
    for name in ("norvessa", "norvessa, grown"):
        if name not in figures:
            continue
        ours = figures[name]
        print(f"{name:16} / bare: start-up {ours[0] / bare[0]:.2f}x, "
              f"peak memory {ours[1] - bare[1]:+.1f} MiB;"
              f" / label: start-up {ours[0] / label[0]:.2f}x, "
              f"peak memory {ours[1] - label[1]:+.1f} MiB")
        if "font sizes" in figures:
            sizes = figures["font sizes"]
            print(f"{'':16} / font sizes: start-up {ours[0] / sizes[0]:.2f}x, "
                  f"peak memory {ours[1] - sizes[1]:+.1f} MiB")
    print("Goals against the label window")
    for name in ("norvessa", "norvessa, grown"):
        if name not in figures:
            continue
        ours = figures[name]
        ratio, extra = ours[0] / label[0], ours[1] - label[1]
        print(f"  {name}: start-up <= {TIME_GOAL}x: {ratio:.2f}x "
              f"{'met' if ratio <= TIME_GOAL else 'NOT met'}; peak memory <= +{MEMORY_GOAL_MIB} "
              f"MiB: {extra:+.1f} MiB {'met' if extra <= MEMORY_GOAL_MIB else 'NOT met'}")


if __name__ == "__main__":
    main()
