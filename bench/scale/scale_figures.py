#!/usr/bin/env python3
"""The engine at the shipped data set's size and at 1,000,000 rows against its peers, in one run.

    bench/scale/scale_figures.py BUILD_DIR

In-process: engine_bench's lookups (our engine, SQLite without and with an index, libmdb, a
raw memchr over the file, and the lookup by ID bytes through an index). Whole-process: each
program started once per lookup, as a user runs it: norvessa-query, sqlite3 without and with an
index, mdb-sql, and memchr_scan; norvessa-query writes CSV, the nearest of its formats to
sqlite3's plain rows (--id also in the default table format). Every figure is a median, given with its ratio to the peer
measured in the same run, and each program's peak resident memory.

The bench files are written by engine_bench on its first run into BUILD_DIR/bench/engine.
"""

import csv
import json
import statistics
import subprocess
import sys
import tempfile
import time
from pathlib import Path

LARGE = 1_000_000
PASSWORD = "20240102"
MODEL = "MT29F64G08"
ID_BYTES, ID_BYTES_END = "EC D3 14 A5", "EC D3 14 A6"
MODEL_QUERY = f"select * from velthorn42 where \"FLASH型号\" = '{MODEL}'"
ID_QUERY = (f"select * from velthorn42 where \"ID号\" >= '{ID_BYTES}' "
            f"and \"ID号\" < '{ID_BYTES_END}'")


def shipped_rows() -> int:
    """The shipped data set's row count: the bench files at that size hold exactly its rows."""
    data_set = Path(__file__).resolve().parents[2] / "resources/flash_data.csv"
    with data_set.open(encoding="utf-8", newline="") as rows:
        return sum(1 for _ in csv.reader(rows)) - 1


SHIPPED = shipped_rows()


def in_process(build: Path) -> dict:
    """engine_bench's median real time per benchmark name, in milliseconds."""
    names = "jetLookup|sqliteLookup|sqliteIndexedLookup|libmdbLookup|memchrScan|jetIdLookup|" \
            "sqliteIdLookup"
    output = subprocess.run(
        [str(build / "bench/engine/engine_bench"),
         f"--benchmark_filter=^({names})/({SHIPPED}|{LARGE})$",
         "--benchmark_min_time=0.3", "--benchmark_repetitions=3",
         "--benchmark_report_aggregates_only=true", "--benchmark_format=json"],
        check=True, capture_output=True, text=True).stdout
    figures = {}
    for run in json.loads(output)["benchmarks"]:
        if run.get("aggregate_name") == "median":
            scale = {"us": 1e-3, "ms": 1.0, "ns": 1e-6}[run["time_unit"]]
            figures[run["run_name"]] = run["real_time"] * scale
    return figures


def run_once(command: list, stdin: str | None) -> tuple:
    """Wall time in milliseconds and peak resident memory in MiB of one run. The memory comes
    from /usr/bin/time, whose child starts small: a child of this script would count the
    script's own memory from before it started the program."""
    with tempfile.NamedTemporaryFile("r") as report:
        start = time.perf_counter()
        finished = subprocess.run(["/usr/bin/time", "-f", "%M", "-o", report.name] + command,
                                  input=stdin.encode() if stdin else None,
                                  stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        elapsed = (time.perf_counter() - start) * 1000
        if finished.returncode not in (0, 1):
            return None
        return elapsed, int(report.read().split()[-1]) / 1024


def whole_process(command: list, runs: int, stdin: str | None = None) -> tuple | None:
    results = [run_once(command, stdin) for _ in range(runs)]
    if any(result is None for result in results):
        return None
    return (statistics.median(r[0] for r in results), max(r[1] for r in results))


def rarest_byte(path: Path) -> int:
    data = path.read_bytes()
    return min(range(256), key=data.count)


def row(label: str, figure, peer) -> str:
    if figure is None:
        return f"  {label:<44} {'n/a':>10}"
    time_ms, memory = figure if isinstance(figure, tuple) else (figure, None)
    peer_ms = peer[0] if isinstance(peer, tuple) else peer
    ratio = f"{time_ms / peer_ms:6.2f}x" if peer_ms else ""
    rss = f"{memory:7.1f} MiB" if memory is not None else ""
    return f"  {label:<44} {time_ms:9.2f} ms {ratio:>8} {rss}"


def main() -> int:
    if len(sys.argv) != 2:
        print(__doc__)
        return 2
    build = Path(sys.argv[1]).resolve()
    query = str(build / "norvessa_query/norvessa-query")
    memchr = str(build / "bench/scale/memchr_scan")
    files = build / "bench/engine"

    figures = in_process(build)
    byte = str(rarest_byte(files / f"lookup-{SHIPPED}.mdb"))
    print("In-process lookup (open, search, read the matching rows, close); ratio to sqlite "
          "without an index, --id to sqlite with an index")
    for rows in (SHIPPED, LARGE):
        print(f" {rows:,} rows")
        peer = figures.get(f"sqliteLookup/{rows}")
        for name in ("jetLookup", "sqliteLookup", "sqliteIndexedLookup", "libmdbLookup",
                     "memchrScan"):
            print(row(name, figures.get(f"{name}/{rows}"), peer))
        id_peer = figures.get(f"sqliteIdLookup/{rows}")
        for name in ("jetIdLookup", "sqliteIdLookup"):
            print(row(name, figures.get(f"{name}/{rows}"), id_peer))

    print("\nWhole process (median wall time, peak resident memory); same peers")
    goals = {}
    for rows, runs in ((SHIPPED, 21), (LARGE, 5)):
        jet = str(files / f"lookup-{rows}.mdb")
        plain = str(files / f"lookup-{rows}.sqlite")
        indexed = str(files / f"lookup-{rows}-indexed.sqlite")
        # Seeks take a few milliseconds at any size: more runs steady their medians.
        seek_runs = max(runs, 21)
        measured = {
            "norvessa-query MODEL": whole_process(
                [query, "--database", jet, "--password", PASSWORD, "--format", "csv", MODEL], runs),
            "sqlite3 MODEL, no index": whole_process(["sqlite3", plain, MODEL_QUERY], runs),
            "sqlite3 MODEL, index": whole_process(["sqlite3", indexed, MODEL_QUERY], runs),
            "mdb-sql MODEL": whole_process(
                ["mdb-sql", "-P", "-H", "-F", jet], min(runs, 3),
                f"select * from velthorn42 where [FLASH型号] = '{MODEL}'\n"),
            "memchr_scan": whole_process([memchr, jet, byte], runs),
            "norvessa-query --id": whole_process(
                [query, "--database", jet, "--password", PASSWORD, "--format", "csv", "--id",
                 ID_BYTES], seek_runs),
            "norvessa-query --id, table": whole_process(
                [query, "--database", jet, "--password", PASSWORD, "--id", ID_BYTES], seek_runs),
            "sqlite3 ID bytes, index": whole_process(["sqlite3", indexed, ID_QUERY], seek_runs),
        }
        if rows == SHIPPED:
            measured["norvessa-query MODEL (carried image)"] = whole_process(
                [query, "--format", "csv", MODEL], runs)
        print(f" {rows:,} rows")
        peer = measured["sqlite3 MODEL, no index"]
        for label, figure in measured.items():
            use = measured["sqlite3 ID bytes, index"] if "--id" in label or "ID" in label else peer
            print(row(label, figure, use))
        goals[rows] = measured

    large, shipped = goals[LARGE], goals[SHIPPED]

    def ratio(mine, peer):
        return mine[0] / peer[0] if mine and peer else float("nan")

    print("\nGoals")
    checks = [
        ("1M rows: exact lookup, whole process <= 1.0x sqlite3 without an index",
         ratio(large["norvessa-query MODEL"], large["sqlite3 MODEL, no index"]), 1.0),
        ("1M rows: --id, whole process <= 1.5x sqlite3 with an index",
         ratio(large["norvessa-query --id"], large["sqlite3 ID bytes, index"]), 1.5),
        ("1M rows: --id, the table format <= 1.2x CSV",
         ratio(large["norvessa-query --id, table"], large["norvessa-query --id"]), 1.2),
        ("shipped file: exact lookup, whole process <= 1.0x sqlite3 with an index",
         ratio(shipped["norvessa-query MODEL (carried image)"], shipped["sqlite3 MODEL, index"]),
         1.0),
    ]
    for text, value, limit in checks:
        print(f"  {text}: {value:.2f}x  {'met' if value <= limit else 'NOT met'}")
    peak = max(large[k][1] for k in ("norvessa-query MODEL", "norvessa-query --id",
                                     "norvessa-query --id, table") if large[k])
    print(f"  1M rows: peak resident memory <= 32 MiB: {peak:.1f} MiB  "
          f"{'met' if peak <= 32 else 'NOT met'}")
    return 0


if __name__ == "__main__":
    sys.exit(main())
