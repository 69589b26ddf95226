#!/usr/bin/env python3
"""Start-up of the Windows program under Wine: time from process start to the end of a run that
quits at the main window's first paint, for Norvessa.exe and for its peer, a bare Win32 window
with one list view (norvessa_bench_win32_bare_window.exe) from the same cross build, measured
alternately in one run with one wineserver kept running. Prints each program's shortest and
median run and their ratio.

usage: wine_startup.py BUILD_DIR [ROUNDS]

Needs an X display (DISPLAY; for example under xvfb-run -s "-screen 0 1280x1024x24") and runs the
programs through scripts/wine.sh in the build's own Wine prefix, BUILD_DIR/wine-prefix.
"""
import os
import statistics
import subprocess
import sys
import time

SOURCE = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
WINE = os.path.join(SOURCE, "scripts", "wine.sh")


def find(build, name):
    for folder, _, files in os.walk(build):
        if name in files:
            return os.path.join(folder, name)
    sys.exit(f"{name} is not in {build}: build it first (the peer needs -DNORVESSA_BUILD_BENCHMARKS=ON)")


def run_once(prefix, program, environment):
    start = time.perf_counter()
    status = subprocess.call([WINE, prefix, program], env=environment,
                             stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    elapsed = time.perf_counter() - start
    if status != 0:
        sys.exit(f"{program} ended with status {status}")
    return elapsed


def main():
    if len(sys.argv) < 2:
        sys.exit(__doc__)
    if "DISPLAY" not in os.environ:
        sys.exit("no X display: run under xvfb-run")
    build = os.path.abspath(sys.argv[1])
    rounds = int(sys.argv[2]) if len(sys.argv) > 2 else 30
    prefix = os.path.join(build, "wine-prefix")
    programs = {
        "Norvessa.exe": find(build, "Norvessa.exe"),
        "bare window": find(build, "norvessa_bench_win32_bare_window.exe"),
    }
    environment = dict(os.environ, NORVESSA_QUIT_AFTER_FIRST_SHOW="1")
    subprocess.check_call([WINE, prefix, "--start"], env=environment)
    try:
        samples = {name: [] for name in programs}
        for name, program in programs.items():  # the page cache and Wine's own start, once
            run_once(prefix, program, environment)
        for _ in range(rounds):
            for name, program in programs.items():
                samples[name].append(run_once(prefix, program, environment))
    finally:
        subprocess.call([WINE, prefix, "--stop"], env=environment)

    # The shortest run is the one least disturbed by whatever else the machine does.
    for name, runs in samples.items():
        print(f"{name:14} start-up to first paint {min(runs) * 1000:6.1f} ms "
              f"(shortest of {rounds}, median {statistics.median(runs) * 1000:.1f})")
    norvessa, bare = samples["Norvessa.exe"], samples["bare window"]
    print(f"{'ratio':14} {min(norvessa) / min(bare):.2f}x shortest, "
          f"{statistics.median(norvessa) / statistics.median(bare):.2f}x median")


if __name__ == "__main__":
    main()
