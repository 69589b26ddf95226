"""The generator's Python part-number decoder and flash/part_number (C++) read every name the
facts write alike: maker, density, cell type, width, chip enables, dies, generation, page,
process and interface. Run with the path of the flash_readings program:
    FLASH_READINGS=build/tests/flash/flash_readings python3 tests/dataset/part_schemes_test.py
"""

import os
import subprocess
import sys
import unittest
from pathlib import Path

ROOT = Path(__file__).resolve().parents[2]
sys.path.insert(0, str(ROOT / "tools" / "dataset"))

import flash_facts  # noqa: E402
import part_numbers  # noqa: E402
import support_lists  # noqa: E402

BITS = {"SLC": "1", "MLC": "2", "TLC": "3", "QLC": "4"}
MAKERS = {"ST": "ST/Numonyx"}


def python_reading(name):
    read = part_numbers.decode(name)
    if not read:
        return "|" * 9
    values = (MAKERS.get(read.maker, read.maker), read.density_mbit, BITS.get(read.cell),
              read.width, read.chip_enables, read.dies, read.generation, read.page,
              read.process_nm, None if read.ddr is None else int(read.ddr))
    return "|".join("" if v is None else str(v) for v in values)


def written_names():
    names = {f.part for f in flash_facts.read_facts()}
    names |= {listing.part for listing in support_lists.read_listings() if listing.part}
    names |= {code for _, code, _ in flash_facts.read_ordering_codes()}
    return sorted(n for n in names if n.isascii() and "\n" not in n)


class PartSchemesTest(unittest.TestCase):
    def test_both_decoders_read_every_written_name_alike(self):
        program = os.environ.get("FLASH_READINGS")
        if not program:
            self.skipTest("FLASH_READINGS is not set")
        names = written_names()
        output = subprocess.run([program, "part-numbers"], input="\n".join(names) + "\n",
                                text=True, capture_output=True, check=True).stdout.splitlines()
        self.assertEqual(len(output), len(names))
        differences = []
        for name, line in zip(names, output):
            cpp = line.split("|", 1)[1]
            if cpp != python_reading(name):
                differences.append(f"{name}: C++ {cpp}  Python {python_reading(name)}")
        self.assertEqual(differences, [], f"{len(differences)} names read differently:\n" +
                         "\n".join(differences[:60]))


if __name__ == "__main__":
    unittest.main()
