"""The generator's reading of ID bytes (flash_facts.read_id) and flash/id_decoder (C++) read
every ID the facts give alike: cell type, page size, bus width, density per chip enable and dies
per chip enable. Run with the path of the flash_readings program:
    FLASH_READINGS=build/tests/flash/flash_readings python3 tests/dataset/id_layouts_test.py
"""

import os
import subprocess
import sys
import unittest
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parents[2] / "tools" / "dataset"))

import flash_facts  # noqa: E402
import support_lists  # noqa: E402

BITS = {"SLC": "1", "MLC": "2", "TLC": "3", "QLC": "4"}


def python_reading(id_bytes, maker):
    said = flash_facts.read_id(id_bytes, maker)
    mbit = said.get("ce_gbit")
    values = (BITS.get(said.get("cell")), said.get("page"), said.get("width"),
              None if mbit is None else round(mbit * 1024), said.get("dies_per_ce"))
    return "|".join("" if v is None else str(v) for v in values)


def written_ids():
    """(ID bytes, maker) for every ID a table, datasheet or list gives under a maker's code."""
    ids = set()
    for fact in flash_facts.read_facts():
        if fact.id_bytes and fact.id_bytes[0] == flash_facts.MAKER_CODES[fact.maker]:
            ids.add((tuple(flash_facts.significant_id(fact.id_bytes)), fact.maker))
    for listing in support_lists.read_listings():
        maker = flash_facts.MAKER_OF_CODE.get(listing.id_bytes[0]) if listing.id_bytes else None
        if maker:
            ids.add((tuple(flash_facts.significant_id(list(listing.id_bytes))), maker))
    return sorted(i for i in ids if 2 <= len(i[0]) <= 8)


class IdLayoutsTest(unittest.TestCase):
    def test_both_readers_read_every_written_id_alike(self):
        program = os.environ.get("FLASH_READINGS")
        if not program:
            self.skipTest("FLASH_READINGS is not set")
        ids = written_ids()
        output = subprocess.run([program, "ids"], input="".join(" ".join(i) + "\n" for i, _ in ids),
                                text=True, capture_output=True, check=True).stdout.splitlines()
        self.assertEqual(len(output), len(ids))
        differences = [f"{' '.join(i)} ({maker}): C++ {line.split('|', 1)[1]}  Python "
                       f"{python_reading(list(i), maker)}"
                       for (i, maker), line in zip(ids, output)
                       if line.split("|", 1)[1] != python_reading(list(i), maker)]
        self.assertEqual(differences, [], f"{len(differences)} IDs read differently:\n" +
                         "\n".join(differences[:60]))


if __name__ == "__main__":
    unittest.main()
