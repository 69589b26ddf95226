"""Sourced facts about NAND flash parts, merged per model.

tools/dataset/facts/nand_ids.csv holds one line per (part, source): what one public source says
about one part (ID bytes, page and spare size, cell type, ECC need, ...), with the citation and
the list of columns that source gave. ordering_codes.csv names real ordering codes (package,
temperature and packing suffixes) of base parts. This module merges them into one set of fields
per model and remembers which source gave which field.
"""

import csv
import re
from collections import OrderedDict
from dataclasses import dataclass, field
from pathlib import Path
from typing import Optional

import part_numbers

FACTS = Path(__file__).resolve().parent / "facts"

MAKER_CODES = {"Samsung": "EC", "Hynix": "AD", "Toshiba": "98", "SanDisk": "45", "Micron": "2C",
               "Intel": "89", "ST": "20", "Numonyx": "20", "Spansion": "01", "Macronix": "C2",
               "Winbond": "EF", "SpecTek": "B5"}
# How lists spell some makers.
MAKER_SPELLINGS = {"MXIC": "Macronix", "Spectek": "SpecTek"}

MODEL_PATTERN = re.compile(r"^[A-Z0-9()\-/_]{4,50}$")
MAKER_OF_CODE = {"EC": "Samsung", "AD": "Hynix", "98": "Toshiba", "45": "SanDisk", "2C": "Micron",
                 "89": "Intel", "20": "ST", "01": "Spansion", "C2": "Macronix", "EF": "Winbond",
                 "B5": "SpecTek"}
# The marking printed on a package where it is not a part number of a scheme we read (SanDisk's
# and Toshiba's package codes, Micron's FBGA codes): letters and digits, maybe a hyphen.
MARKING = re.compile(r"^[A-Z0-9][A-Z0-9-]{4,49}$")
# Names that begin as a scheme's part numbers do but do not read by it are shorthands or
# misprints ("MT29F256G-C", "K9LBG08UOD"); names that begin with a maker's name are a table's
# placeholders ("SANDISK_32GB").
SCHEME_START = re.compile(
    r"^(K9|HY?27|T[CHX]58|MT29|(JS|PF|BK|I|X)?29F|NAND\d|S34M|SD[A-Z]N|SD-|DTN[A-Z]{4}|\d+GB)")
MAKER_WORD = re.compile(r"^(SAMSUNG|HYNIX|TOSHIBA|SANDISK|MICRON|INTEL|SPECTEK|KIOXIA)")


def is_marking(name):
    """Whether a name a source writes, which no scheme of ours reads, is still a chip's name."""
    return bool(MARKING.match(name) and re.search(r"\d", name) and re.search(r"[A-Z]", name)
                and "XX" not in name and not SCHEME_START.match(name)
                and not MAKER_WORD.match(name))
# Lists write notes after a name: "(TOG)", "(L74)", "_2DIE", "*1", "/C/D" for sister parts.
ANNOTATION_START = "(_*/,- "
HEX_BYTE = re.compile(r"^[0-9A-F]{2}$")

# Where a source comes from: forks and copies of one table count once when we count
# independent confirmations of an ID.
LINEAGES = (
    # SSD controller makers' tool tables collected in one repository: one family per maker
    # (Silicon Motion's SSD and ForceFlash tables with its USB tool tables).
    (":smssd/", "smi"), (":smff/", "smi"), (":jm/", "jmicron"), (":sf/", "sandforce"),
    (":ma/", "maxio"), (":mk/", "maxio"),
    ("ChipsBank", "chipsbank"), ("Alcor", "alcor"), ("Silicon Motion", "smi"),
    ("Innostor", "innostor"), ("Phison", "phison"),
    ("torvalds/linux", "linux"), ("u-boot/u-boot", "linux"), ("barebox/", "linux"),
    ("hardkernel/", "amlogic"), ("glinuz/", "hisilicon"), ("DJONvl/", "mediatek"),
    ("opensource-hisense/", "mediatek"), ("sunxi", "allwinner"), ("orangepi", "allwinner"),
    ("/awnand/", "allwinner"),
    ("bbogush/", "nando"), ("imx", "freescale"), ("wm8850", "wondermedia"),
    ("FOSSEE/", "wondermedia"), ("telechips", "telechips"), ("tcc893x", "telechips"),
    ("Haruroid/", "realtek"), ("xtreamerdev", "realtek"), ("infotm", "infotm"),
    ("lge-kernel", "nvidia"), ("JuliProg/", "juliprog"),
)


def lineage_of(source):
    if source.startswith("datasheet:"):
        return source
    lowered = source.lower()
    for needle, lineage in LINEAGES:
        if needle.lower() in lowered:
            return lineage
    return source.split("@")[0]


@dataclass
class Fact:
    part: str
    maker: str
    id_bytes: list
    page: Optional[int]
    cell: Optional[str]
    ecc: Optional[str]
    width: Optional[int]
    interface: Optional[str]
    process: Optional[str]
    ce: Optional[int]
    source: str
    fields: set
    capacity: Optional[str] = None


@dataclass
class Value:
    """A field's value and the citations it came from."""
    text: str
    sources: list = field(default_factory=list)


def _int_or_none(text):
    text = (text or "").strip()
    return int(text) if text.isdigit() else None


def normalise_part(name):
    """The part number a written name gives: upper case, without blanks, without a driver
    table's NAND_ prefix, and without a note written after it. The name is cut at a note only
    where what stays reads as a part number of its maker's scheme."""
    name = name.strip().upper().replace(" ", "")
    for prefix in ("NAND_", "TNAND_"):
        if name.startswith(prefix) and len(name) > len(prefix) + 6:
            name = name[len(prefix):]
    if part_numbers.decode(name):
        return name
    for end in range(len(name) - 1, 3, -1):
        if name[end] in ANNOTATION_START and part_numbers.decode(name[:end]):
            return name[:end]
    return name


def _id_bytes(text):
    parts = text.strip().upper().split()
    if len(parts) < 2 or not all(HEX_BYTE.match(p) for p in parts):
        return None
    return parts


def _maker(text):
    text = text.strip()
    if text in MAKER_CODES:
        return text
    return None


def read_facts(path=FACTS / "nand_ids.csv"):
    facts = []
    with open(path, newline="", encoding="utf-8") as handle:
        for row in csv.DictReader(handle):
            id_bytes = _id_bytes(row["id"])
            maker = _maker(row["maker"])
            if not maker:
                continue
            given = set(row["fields"].split())
            facts.append(Fact(
                part=normalise_part(row["part"]), maker=maker,
                id_bytes=id_bytes if "id" in given else None,
                page=_int_or_none(row["page"]) if "page" in given else None,
                cell=row["cell"].strip().upper() or None if "cell" in given else None,
                ecc=row["ecc"].strip() or None if "ecc" in given else None,
                width=_int_or_none(row["width"]) if "width" in given else None,
                interface=row["interface"].strip() or None if "interface" in given else None,
                process=row["process"].strip() or None if "process" in given else None,
                ce=_int_or_none(row["ce"]) if "ce" in given else None,
                source=row["source"].strip(), fields=given))
    return facts


def read_ordering_codes(path=FACTS / "ordering_codes.csv"):
    codes = []
    with open(path, newline="", encoding="utf-8") as handle:
        for row in csv.DictReader(handle):
            codes.append((normalise_part(row["base_part"]), normalise_part(row["ordering_code"]),
                          row["source"].strip()))
    return codes


def significant_id(id_bytes):
    """ID bytes without the trailing 00 / FF that tables use as padding, and without what a
    read past the last ID byte returns: the ID again from its first byte."""
    # FF inside an ID is a table's "any value": the ID is known only up to it.
    end = id_bytes.index("FF", 1) if "FF" in id_bytes[1:] else len(id_bytes)
    while end > 2 and id_bytes[end - 1] == "00":
        end -= 1
    for period in range(2, end):
        if all(id_bytes[i] == id_bytes[i - period] for i in range(period, end)):
            return id_bytes[:period]
    return id_bytes[:end]


def merge_ids(facts):
    """The ID bytes the sources agree on, as a list of per-byte alternatives, and the facts that
    gave them. At each byte the value most independent sources give wins and sources that say
    otherwise drop out; an even split ends the ID there, except on its last byte, which then
    lists both values ("54 43/C3"). None if fewer than four bytes are agreed."""
    alive = [(f, significant_id(f.id_bytes)) for f in facts
             if f.id_bytes and f.id_bytes[0] == MAKER_CODES[f.maker]]
    merged = []
    for position in range(7):
        having = [(f, b) for f, b in alive if len(b) > position]
        if not having:
            break
        votes = OrderedDict()
        for fact, id_bytes in having:
            votes.setdefault(id_bytes[position], set()).add(lineage_of(fact.source))
        # A table family that gives this byte two ways (tool tables that store settings
        # there) says nothing about it.
        split = {lineage for a in votes.values() for b in votes.values() if a is not b
                 for lineage in a & b}
        votes = OrderedDict((v, l - split) for v, l in votes.items() if l - split)
        ranked = sorted(votes.items(), key=lambda kv: (-len(kv[1]), kv[0]))
        if not ranked:
            break
        if len(ranked) > 1 and len(ranked[1][1]) == len(ranked[0][1]):
            if position >= 4 and len(ranked) == 2 and all(len(b) == position + 1
                                                          for _, b in having):
                merged.append(sorted(votes))
            break
        winner = ranked[0][0]
        merged.append([winner])
        alive = [(f, b) for f, b in alive if len(b) <= position or b[position] == winner]
    if len(merged) < 4:
        return None, []
    return merged, [f for f, b in alive if all(b[i] in merged[i] for i in range(min(len(b), len(merged))))]


def id_text(merged):
    return " ".join("/".join(alternatives) for alternatives in merged)


# Device codes (second ID byte) and the Gbit per chip enable they stand for, x8 and x16 at 3.3 V
# and 1.8 V, from the NAND ID tables of Linux and the makers' datasheets.
_DENSITY_ORDER = (1, 2, 4, 8, 16, 32, 64, 128, 256, 512)
CE_DENSITY_GBIT = {code: gbit for row in (
    ("F1", "DA", "DC", "D3", "D5", "D7", "DE", "3A", "3C", "3E"),
    ("A1", "AA", "AC", "A3", "A5", "A7", "AE", "1A", "1C", "1E"),
    ("B1", "BA", "BC", "B3", "B5", "B7", "BE", "2A", "2C", "2E"),
    ("C1", "CA", "CC", "C3", "C5", "C7", "CE", "4A", "4C", "4E"),
) for code, gbit in zip(row, _DENSITY_ORDER)}
CE_DENSITY_GBIT["D1"] = 1  # an older 1 Gbit x8 3.3 V code
# Micron's own device codes (34 nm and later, also Intel's and SpecTek's), whose fourth byte
# follows ONFI's layout, and their Gbit per chip enable, as flash/device_codes.cpp reads them.
MICRON_CE_DENSITY_GBIT = {"48": 16, "68": 32, "88": 64, "A8": 128, "44": 32, "64": 64}
MICRON_DEVICE_CODES = set(MICRON_CE_DENSITY_GBIT)
# Small-page devices whose one device code gives the whole geometry (x8, 3.3 V): Mbit.
SMALL_PAGE_MBIT = {"73": 128, "75": 256, "76": 512, "79": 1024, "71": 2048}
SMALL_PAGE_DEVICES = {"33", "35", "36", "39", "43", "45", "46", "49", "53", "55", "56", "59",
                      "71", "72", "73", "74", "75", "76", "78", "79"}


# 3D NAND IDs whose geometry public decoders give (flash/nand_3d_ids.cpp, from iTXTech/fdnext's
# decoder test assertions): the first five bytes, bits per cell, dies per chip enable (None where
# the source gives none) and Mbit per chip enable. Other 3D IDs reuse planar device codes for other
# densities and lay the later bytes out per generation, so they are not read.
NAND_3D_IDS = {
    ("89", "D3", "AC", "32", "C6"): (4, 1, 1048576),
    ("89", "E3", "AD", "32", "C6"): (4, 2, 2097152),
    ("89", "F3", "AE", "32", "C6"): (4, 4, 4194304),
    ("89", "2B", "AF", "32", "C6"): (4, 8, 8388608),
    ("89", "CB", "98", "32", "C6"): (3, 1, 524288),
    ("89", "DB", "99", "32", "C6"): (3, 2, 1048576),
    ("89", "EB", "9A", "32", "C6"): (3, 4, 2097152),
    ("89", "FB", "9B", "32", "C6"): (3, 8, 4194304),
    ("9B", "D5", "58", "8D", "20"): (4, None, 1397760),
    ("AD", "78", "0C", "5B", "30"): (4, None, 2097152),
    ("89", "09", "06", "84", "00"): (3, None, 5591040),
}
CELL_OF_BITS = ("SLC", "MLC", "TLC", "QLC")
MICRON_DIE_MAKERS = ("Micron", "Intel", "SpecTek")


def _uncovered_generation(id_bytes, maker):
    """Whether the ID is of a generation the planar layouts do not cover (YMTC, Micron/Intel 3D,
    the SSD-era "32 00" layout): then nothing past the maker is certain."""
    if id_bytes[0] == "9B":
        return True
    micron_dies = maker in MICRON_DIE_MAKERS
    if micron_dies and len(id_bytes) >= 4 and id_bytes[3] == "32":
        return True
    if micron_dies and len(id_bytes) >= 3 and (int(id_bytes[2], 16) >> 2) & 3 >= 2 and \
            id_bytes[1] not in MICRON_DEVICE_CODES:
        return True
    return len(id_bytes) >= 5 and id_bytes[3] == "32" and id_bytes[4] == "00"


def _page_of_fourth_byte(id_bytes, maker, bits):
    """The page size byte 4 gives and whether it was read by the generic layout, or None where
    the layout is not certain: four or five bytes of a Samsung, Hynix, Toshiba or SanDisk
    multi-level part (an old ID or the start of a six-byte one), Toshiba's and SanDisk's six-byte
    multi-level layout, a Samsung sixth byte outside the published processes 40 to 46 (bit 7
    aside), a Hynix technology code (sixth byte bits 2:0) from 4 on."""
    fourth = int(id_bytes[3], 16)
    six = len(id_bytes) >= 6
    sixth = int(id_bytes[5], 16) if six else 0
    if bits > 1 and six and maker == "Samsung" and sixth != 0:
        return (2048 << (fourth & 3), False) if 0x40 <= sixth & 0x7F <= 0x46 else None
    if bits > 1 and six and maker == "Hynix":
        return (2048 << (fourth & 3), False) if sixth & 7 <= 3 else None
    if bits > 1 and maker in ("Samsung", "Hynix", "Toshiba", "SanDisk"):
        return None
    return 1024 << (fourth & 3), True


def read_id(id_bytes, maker):
    """What the ID bytes say by the published layouts, where the layout is certain, read as
    flash/id_decoder reads them (tests/dataset/id_layouts_test.py keeps the two alike): Gbit per
    chip enable and bus width (device code), cell type and dies per chip enable (third byte),
    page size and bus width (fourth byte); nothing past a device code no table gives, and for
    3D NAND only what the 3D table gives. Used to keep contradicted fields out, never to fill
    one."""
    said = {}
    if len(id_bytes) < 2:
        return said
    known = NAND_3D_IDS.get(tuple(id_bytes[:5])) if len(id_bytes) >= 5 else None
    if known:
        bits, dies, mbit = known
        said = {"cell": CELL_OF_BITS[bits - 1], "ce_gbit": mbit / 1024}
        if dies:
            said["dies_per_ce"] = dies
        return said
    if _uncovered_generation(id_bytes, maker):
        return said
    if id_bytes[1] in SMALL_PAGE_MBIT:
        return {"cell": "SLC", "page": 512, "width": 8,
                "ce_gbit": SMALL_PAGE_MBIT[id_bytes[1]] / 1024}
    micron_code = maker in MICRON_DIE_MAKERS and id_bytes[1] in MICRON_DEVICE_CODES
    # A device code no table gives says nothing of the layout the later bytes follow.
    if not (id_bytes[1] in CE_DENSITY_GBIT or micron_code):
        return said
    if micron_code:
        said["ce_gbit"] = MICRON_CE_DENSITY_GBIT[id_bytes[1]]
    else:
        said["ce_gbit"] = CE_DENSITY_GBIT[id_bytes[1]]
        said["width"] = 16 if id_bytes[1][0] in "BC24" else 8
    if len(id_bytes) < 3:
        return said
    third = int(id_bytes[2], 16)
    bits = 1 + ((third >> 2) & 3)
    said["cell"] = CELL_OF_BITS[bits - 1]
    # Every maker's third byte counts the dies behind one chip enable in its two low bits.
    said["dies_per_ce"] = 1 << (third & 3)
    if len(id_bytes) < 4:
        return said
    fourth = int(id_bytes[3], 16)
    if micron_code:
        # Micron's own codes: 4 or 8 KiB from the 34 and 25 nm parts; later parts lay byte 4
        # out otherwise.
        if 1024 << (fourth & 3) in (4096, 8192):
            said["page"] = 1024 << (fourth & 3)
        return said
    page = _page_of_fourth_byte(id_bytes, maker, bits)
    if page is None:
        return said
    said["page"], generic = page
    if generic:
        # The fourth byte's width must agree with the device code's; if not, neither is sure.
        width = 16 if fourth & 0x40 else 8
        if said.setdefault("width", width) != width:
            del said["width"]
    return said
