"""Reads what a NAND flash part number says by its maker's published naming scheme.

Each decoder returns a PartNumber whose fields are None where the scheme does not say (or where
the part number does not follow the scheme): nothing here is guessed. `base` is the part
without its ordering suffix (package, temperature, packing), so that ordering codes of one die
share the facts of their base part.
"""

import re
from dataclasses import dataclass
from typing import Optional


@dataclass(frozen=True)
class PartNumber:
    maker: str
    base: str
    scheme: str                   # key into SCHEME_SOURCES
    density_mbit: Optional[int] = None  # whole package
    cell: Optional[str] = None          # SLC / MLC / TLC
    dies: Optional[int] = None
    chip_enables: Optional[int] = None
    width: Optional[int] = None
    voltage: Optional[str] = None
    generation: Optional[int] = None    # 1 = first
    ddr: Optional[bool] = None          # Toggle or ONFI DDR interface
    process_nm: Optional[str] = None
    page: Optional[int] = None          # bytes
    ddr_only: Optional[str] = None      # "toggle" / "ddr" when there is no asynchronous mode
    layout: Optional[int] = None        # chip enables the package digits set, not a field
    # field -> the letters or digits of the part number it was read from, so that a field is
    # used only where the scheme's published description confirms that code
    codes: tuple = ()

    def code(self, name):
        return dict(self.codes).get(name)


# The first to sixth generations, as Samsung's and Hynix's decoders list them.
GENERATIONS = {"M": 1, "A": 2, "B": 3, "C": 4, "D": 5, "E": 6}

# Density codes shared by Samsung and Hynix part numbers, in Mbit.
DENSITY_CODES = {
    "28": 128, "56": 256, "12": 512, "1G": 1024, "2G": 2048, "4G": 4096, "8G": 8192,
    "AG": 16384, "BG": 32768, "CG": 65536, "DG": 131072, "EG": 262144, "LG": 24576,
    "ZG": 49152, "HG": 524288, "FG": 262144, "GG": 393216, "NG": 98304,
}

SAMSUNG_CLASSES = {
    "F": ("SLC", 1), "K": ("SLC", None), "N": ("SLC", 2), "W": ("SLC", 4), "Q": ("SLC", 8),
    "G": ("MLC", 1), "L": ("MLC", 2), "M": ("MLC", 2), "H": ("MLC", 4), "S": ("MLC", 6),
    "P": ("MLC", 8), "R": ("MLC", 12), "U": ("MLC", 16),
    "A": ("TLC", 1), "B": ("TLC", 2), "C": ("TLC", 4), "O": ("TLC", 8), "D": ("TLC", 16),
    "T": ("SLC", 1), "E": ("SLC", 2), "3": ("QLC", 1), "9": ("QLC", 8),
}
SAMSUNG_VOLTAGES = {"U": "2.7-3.6V", "V": "3.0-3.6V", "Q": "1.7-1.95V", "R": "1.65-1.95V"}
# Mode 0 is "normal" without a count of chip enables; C and J are in neither decoder edition.
SAMSUNG_CHIP_ENABLES = {"1": 2, "3": 3, "4": 4, "5": 4, "6": 6, "7": 8, "8": 8}
SAMSUNG_DDR_TECHNOLOGIES = {"D", "Y", "B"}

HYNIX_CLASSES = {
    "F": ("SLC", 1), "G": ("SLC", 2), "H": ("SLC", 4), "J": ("SLC", 8),
    "T": ("MLC", 1), "U": ("MLC", 2), "V": ("MLC", 4), "Y": ("MLC", 8), "R": ("MLC", 6),
    "Z": ("MLC", 12), "C": ("MLC", 16),
    "M": ("TLC", 1), "N": ("TLC", 2), "P": ("TLC", 4), "Q": ("TLC", 8),
}
HYNIX_VOLTAGES = {"U": "2.7-3.6V", "S": "1.8V"}
HYNIX_CHIP_ENABLES = {"1": 1, "2": 1, "4": 2, "5": 2, "F": 4, "T": 5, "U": 6, "V": 8}
# The older HY27 marking documents only the single-chip-enable modes.
HYNIX_LEGACY_CHIP_ENABLES = {"1": 1, "2": 1}

TOSHIBA_DENSITY_MBIT = {"M8": 256, "M9": 512, "G0": 1024, "G1": 2048, "G2": 4096, "G3": 8192,
                        "G4": 16384, "GA": 24576, "G5": 32768, "GB": 49152, "G6": 65536,
                        "GC": 98304, "G7": 131072, "GD": 196608, "G8": 262144, "GE": 393216,
                        "G9": 524288, "GF": 786432, "T0": 1048576, "T1": 2097152}
TOSHIBA_CELLS = {"S": "SLC", "H": "SLC", "D": "MLC", "E": "MLC", "T": "TLC", "U": "TLC"}
TOSHIBA_VOLTAGES = {"V": "3.3V", "Y": "1.8V", "A": "3.3V(I/O 1.8V)"}
# How many chip enables the package digit stands for as ordering tables pair them (TA00 one,
# TA20 two): no decoder document states it, so it tells layouts apart and fills no field.
TOSHIBA_LAYOUTS = {"0": 1, "2": 2, "4": 2, "7": 4, "8": 4, "A": 6, "B": 8}
TOSHIBA_PROCESS = {"A": "130nm", "D": "56nm", "E": "43nm", "F": "32nm", "G": "24nm", "H": "24nm"}
# The digit after the cell letter: page size for x8 parts; x16 parts add 5.
TOSHIBA_PAGES = {"0": 4096, "1": 4096, "3": 2048, "4": 2048}

MICRON_CELLS = {"A": "SLC", "C": "MLC", "E": "TLC"}
# class letter: (dies, chip enables)
MICRON_CLASSES = {"A": (1, 1), "B": (1, 1), "D": (2, 1), "E": (2, 2), "F": (2, 2), "J": (4, 2),
                  "K": (4, 2), "M": (4, 4)}
MICRON_VOLTAGES = {"A": "3.3V", "B": "1.8V"}

INTEL_DIES = {"A": 1, "C": 2, "J": 4, "F": 4}
INTEL_CELLS = {"N": "SLC", "M": "MLC", "T": "TLC"}
INTEL_PROCESS = {"A": "90nm", "B": "72nm", "C": "50nm", "D": "34nm", "E": "25nm", "F": "20nm"}

SANDISK_PROCESS = {"L": "56nm", "M": "43nm", "N": "32nm", "P": "24nm", "Q": "19nm", "R": "1Ynm",
                   "S": "15nm"}
SANDISK_CELLS = {"F": "MLC", "G": "MLC", "H": "MLC", "M": "MLC", "Q": "MLC", "C": "TLC",
                 "I": "TLC", "N": "TLC"}
SANDISK_DIES = {"A": 1, "B": 2, "C": 4, "D": 8}

ST_VOLTAGES = {"W": "2.7-3.6V", "R": "1.7-1.95V"}
ST_FAMILY_CELLS = {"C": "MLC"}
ST_FAMILY_PAGES = {"A": 512}

SPANSION_DENSITY_MBIT = {"01G": 1024, "02G": 2048, "04G": 4096, "08G": 8192}

# x16 parts write "16" where x8 parts write the technology digit and "8".
SAMSUNG_RE = re.compile(
    r"^(K9([A-Z])(\d\d|\d[A-Z]|[A-Z][A-Z])([0DYB]8|16)([A-Z])([0-9CJ])([MA-G]))(-[A-Z0-9]+)?$")
# The first markings wrote HY27 before the same fields.
HYNIX_RE = re.compile(
    r"^(HY?27([USQ])([0-9A-Z]{2})([86])([A-Z])([0-9A-Z])([MA-G]))([A-Z0-9-]*)$")
HYNIX_LEGACY_RE = re.compile(
    r"^(HY27([USL])([A-Z])(08|16)(\d\d|\d[A-Z]|[A-Z][A-Z])([0-9A-Z])([MA-G]))([A-Z0-9-]*)$")
# Later parts write a letter where earlier ones have the page digit; package and chip-enable
# digits come as a whole four-character suffix or not at all.
TOSHIBA_RE = re.compile(
    r"^((T[CH]58)([A-Z])([A-Z])(M[89]|G[0-9A-F]|T[01])([A-Z])([0-9A-Z])([0-9A-L]))"
    r"(?:([A-Z]{2})([0-9A-Z])([0-9A-Z]))?$")
SANDISK_RE = re.compile(
    r"^(SD([TYQZ])N([L-S])([A-Z])([A-D])[A-Z]{2})[-_]?(\d{3})G[A-Z0-9]*$")

MICRON_RE = re.compile(
    r"^(MT29F(\d+[GT])(08|16)([ACE])([A-Z])([A-Z])([A-H])([ABCF]))([A-Z0-9]*)$")
# Before 2009: configuration, voltage and generation letters, then the package.
MICRON_LEGACY_RE = re.compile(
    r"^(MT29F(\d+G)(08|16)([ABDFMQRTUW])([AB])([A-C]))(WP|WC|[CDHJ]\d)?$")
# configuration letter: (cell, dies, chip enables)
MICRON_LEGACY_CONFIGURATIONS = {
    "A": ("SLC", 1, 1), "B": ("SLC", 2, 1), "D": ("SLC", 2, 2), "F": ("SLC", 4, 2),
    "M": ("MLC", 1, 1), "Q": ("MLC", 2, 2), "R": ("MLC", 2, 2), "T": ("MLC", 4, 2),
    "U": ("MLC", 4, 2), "W": ("MLC", 8, 4)}
INTEL_RE = re.compile(
    r"^(?:JS|PF|BK)?(29F(\d\d)([GB])(08|16)([A-Z])([A-Z])([NMT])([A-F])(\d))([A-Z0-9]*)$")
# The series name (NAND512W3A) is written alone too, without die and package codes.
ST_RE = re.compile(
    r"^(NAND(128|256|512|\d\dG)([WR])([34])([A-Z])(?:(\d)([A-Z]))?)([A-Z0-9]*)$")
# The series name (S34ML01G1) is written alone too, without the width digits.
SPANSION_RE = re.compile(r"^(S34M([LS])(0\dG)(\d)(\d\d)?)([A-Z0-9]*)$")


def decode_samsung(model):
    m = SAMSUNG_RE.match(model)
    if not m:
        return None
    base, klass, density, organisation, voltage, mode, gen, _ = m.groups()
    if klass not in SAMSUNG_CLASSES:
        return None
    cell, dies = SAMSUNG_CLASSES[klass]
    tech, width = organisation
    ddr = tech in SAMSUNG_DDR_TECHNOLOGIES
    return PartNumber("Samsung", base, "samsung", DENSITY_CODES.get(density), cell, dies,
                      SAMSUNG_CHIP_ENABLES.get(mode), 8 if width == "8" else 16,
                      SAMSUNG_VOLTAGES.get(voltage), GENERATIONS.get(gen), ddr,
                      ddr_only="ddr" if ddr else None,
                      codes=(("density", density), ("cell", klass), ("dies", klass),
                             ("chip_enables", mode), ("width", width), ("voltage", voltage),
                             ("generation", gen), ("interface", tech)))


def decode_hynix(model):
    # HY27 names are read by the older marking first: "HY27UF08BGFB" is not "HY27U F0 8 ...".
    m = HYNIX_LEGACY_RE.match(model)
    if m:
        base, voltage, klass, width, density, mode, gen, _ = m.groups()
        cell, dies = ("SLC", 1) if klass == "S" else HYNIX_CLASSES.get(klass, (None, None))
        return PartNumber("Hynix", base, "hynix-legacy", DENSITY_CODES.get(density), cell, dies,
                          HYNIX_LEGACY_CHIP_ENABLES.get(mode), int(width),
                          HYNIX_VOLTAGES.get(voltage), GENERATIONS.get(gen),
                          codes=(("density", density), ("cell", klass), ("dies", klass),
                                 ("chip_enables", mode), ("width", width),
                                 ("voltage", voltage), ("generation", gen)))
    m = HYNIX_RE.match(model)
    if m and model.startswith("HY") and (m.group(3) not in DENSITY_CODES or
                                         m.group(5) not in HYNIX_CLASSES):
        m = None  # an HY27 name that reads by neither marking
    if m:
        base, voltage, density, width, klass, mode, gen, _ = m.groups()
        cell, dies = HYNIX_CLASSES.get(klass, (None, None))
        return PartNumber("Hynix", base, "hynix", DENSITY_CODES.get(density), cell, dies,
                          HYNIX_CHIP_ENABLES.get(mode), 8 if width == "8" else 16,
                          HYNIX_VOLTAGES.get(voltage), GENERATIONS.get(gen),
                          codes=(("density", density), ("cell", klass), ("dies", klass),
                                 ("chip_enables", mode), ("width", width),
                                 ("voltage", voltage), ("generation", gen)))
    return None


def decode_toshiba(model):
    m = TOSHIBA_RE.match(model)
    if not m:
        return None
    base, prefix, level, voltage, density, cell, page_code, process, _pkg, channels, _ = m.groups()
    if page_code.isdigit():
        width = 8 if page_code in "01234" else 16
        page_digit = page_code if width == 8 else str(int(page_code) - 5)
    else:
        width, page_digit = None, None
    # No decoder we hold says how many chip enables the package digits give; they still tell
    # one package layout from another (TA00, TA20), so they are kept as the layout.
    return PartNumber("Toshiba", base, "toshiba", TOSHIBA_DENSITY_MBIT.get(density),
                      TOSHIBA_CELLS.get(cell), 1 if prefix == "TC58" else None,
                      None, width, TOSHIBA_VOLTAGES.get(voltage), None,
                      {"T": True, "N": False, "D": False}.get(level),
                      TOSHIBA_PROCESS.get(process), TOSHIBA_PAGES.get(page_digit),
                      "toggle" if level == "T" else None,
                      layout=TOSHIBA_LAYOUTS.get(channels) if channels else None,
                      codes=(("density", density), ("cell", cell), ("dies", prefix),
                             ("chip_enables", channels),
                             ("width", {8: "0-4", 16: "5-9"}.get(width)),
                             ("voltage", voltage), ("interface", level), ("process", process),
                             ("page", page_code)))


def decode_sandisk(model):
    m = SANDISK_RE.match(model)
    if not m:
        return None
    base, _package, process, cell, dies, gigabytes = m.groups()
    return PartNumber("SanDisk", model, "sandisk", int(gigabytes) * 8192,
                      SANDISK_CELLS.get(cell), SANDISK_DIES.get(dies),
                      process_nm=SANDISK_PROCESS.get(process),
                      codes=(("density", gigabytes), ("cell", cell), ("dies", dies),
                             ("process", process)))


def decode_micron(model):
    m = MICRON_RE.match(model)
    if m:
        base, density, width, level, klass, voltage, gen, interface, _ = m.groups()
        dies, ces = MICRON_CLASSES.get(klass, (None, None))
        gbit = int(density[:-1]) * (1024 if density.endswith("T") else 1)
        return PartNumber("Micron", base, "micron", gbit * 1024,
                          MICRON_CELLS.get(level), dies, ces, int(width),
                          MICRON_VOLTAGES.get(voltage), ord(gen) - ord("A") + 1,
                          interface in "BC", ddr_only="ddr" if interface == "C" else None,
                          codes=(("density", density), ("cell", level), ("dies", klass),
                                 ("chip_enables", klass), ("width", width),
                                 ("voltage", voltage), ("generation", gen),
                                 ("interface", interface)))
    m = MICRON_LEGACY_RE.match(model)
    # A, B, D and F begin newer names too (MT29F8G08ABABA cut to MT29F8G08ABA): only the
    # package code that follows makes such a name an older one.
    if m and (m.group(4) not in "ABDF" or m.group(7)):
        base, density, width, configuration, voltage, gen, _ = m.groups()
        cell, dies, ces = MICRON_LEGACY_CONFIGURATIONS.get(configuration, (None, None, None))
        return PartNumber("Micron", base, "micron-legacy", int(density[:-1]) * 1024, cell, dies,
                          ces, int(width), "2.7-3.6V" if voltage == "A" else "1.7-1.95V",
                          "ABC".index(gen) + 1,
                          codes=(("density", density), ("cell", configuration),
                                 ("dies", configuration), ("chip_enables", configuration),
                                 ("width", width), ("voltage", voltage), ("generation", gen)))
    return None


def decode_intel(model):
    m = INTEL_RE.match(model)
    if not m:
        return None
    base, amount, unit, width, dies, configuration, cell, process, _gen, _ = m.groups()
    mbit = int(amount) * (1024 if unit == "G" else 8192)
    return PartNumber("Intel", base, "intel", mbit, INTEL_CELLS.get(cell), INTEL_DIES.get(dies),
                      None, int(width), process_nm=INTEL_PROCESS.get(process),
                      codes=(("density", amount + unit), ("cell", cell), ("dies", dies),
                             ("chip_enables", configuration), ("width", width),
                             ("process", process)))


def decode_st(model):
    m = ST_RE.match(model)
    if not m:
        return None
    base, density, voltage, width, family, _dies, _generation, _ = m.groups()
    # Three digits are megabits; two digits and G gigabits.
    mbit = int(density[:2]) * 1024 if density.endswith("G") else int(density)
    return PartNumber("ST", base, "st", mbit,
                      cell=ST_FAMILY_CELLS.get(family), width=8 if width == "3" else 16,
                      voltage=ST_VOLTAGES.get(voltage), page=ST_FAMILY_PAGES.get(family),
                      codes=(("density", density), ("cell", family), ("width", width),
                             ("voltage", voltage), ("page", family)))


def decode_spansion(model):
    m = SPANSION_RE.match(model)
    if not m:
        return None
    base, voltage, density, _gen, width, _ = m.groups()
    return PartNumber("Spansion", base, "spansion", SPANSION_DENSITY_MBIT.get(density), "SLC",
                      width={"00": 8, "04": 16}.get(width),
                      voltage="3.3V" if voltage == "L" else "1.8V",
                      codes=(("density", density), ("cell", "S34"), ("width", width),
                             ("voltage", voltage)))


DECODERS = (decode_samsung, decode_hynix, decode_toshiba, decode_sandisk, decode_micron,
            decode_intel, decode_st, decode_spansion)


def decode(model) -> Optional[PartNumber]:
    if "XX" in model:
        return None  # a pattern a list writes for a family ("K9XXG08XXC"), not a part
    for decoder in DECODERS:
        part = decoder(model)
        if part:
            return part
    return None
