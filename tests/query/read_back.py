"""Reads norvessa-query output back with Python's own csv or json module and prints every
record on one line, so a test can compare it with what the program meant to write.

Usage: read_back.py csv|json FILE

A line lists the record's fields separated by blanks, each as s:<UTF-8 in hex> (text),
i:<digits> (a JSON integer) or n: (JSON null). JSON prints a line of keys (k:<hex>) before
every object's values.
"""

import csv
import json
import sys


def text(value):
    return "s:" + value.encode("utf-8").hex()


def typed(value):
    if value is None:
        return "n:"
    if isinstance(value, bool):
        raise SystemExit("unexpected JSON boolean")
    if isinstance(value, int):
        return "i:" + str(value)
    if isinstance(value, str):
        return text(value)
    raise SystemExit("unexpected JSON value " + repr(value))


def main():
    kind, path = sys.argv[1], sys.argv[2]
    with open(path, newline="", encoding="utf-8") as file:
        if kind == "csv":
            for record in csv.reader(file, strict=True):
                print(" ".join(text(field) for field in record))
        else:
            for record in json.load(file):
                print(" ".join("k:" + key.encode("utf-8").hex() for key in record))
                print(" ".join(typed(value) for value in record.values()))


main()
