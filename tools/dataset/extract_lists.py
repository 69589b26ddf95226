#!/usr/bin/env python3
"""Turns the controller makers' support lists transcribed in iTXTech/fdfdb into support-list facts.

Reads each list from a clone of iTXTech/fdfdb at the commit cited for it and prints the lines of
facts/support_lists.csv (list, maker, chip, part, id, details), one per chip that the list marks
for a flash. Run: extract_lists.py FDFDB_GIT_DIR LIST_KEY...  (keys as in LISTS below; the keys of
PHISON_SSD_TABLES, SMI_FORCEFLASH_TABLES, SSD_TOOL_TABLES, SANDFORCE_TABLES and flashdetector-extra print lines of facts/nand_ids.csv instead).

A list writes a part name with notes beside it (a Toggle mark, a die code, a second-entry
number); those go to the details, the part keeps the name as written. A name the list writes
as shorthand for several parts (a slash, a lower-case x) is marked naming=shorthand, and a
label that is no part name (HYNIX_128MB_16Bit, Sandisk_19nm) naming=placeholder.
"""

import csv
import json
import re
import subprocess
import sys

import part_numbers

# key: (controller maker column, chip prefix, commit, path, form)
LISTS = {
    "chipsbank-2016": ("芯邦", "CBM", "7a4c725ab47b7468402cfad88695c8664e6c573b", "cbm/160601.csv", "cbm"),
    "chipsbank-2017": ("芯邦", "CBM", "7a4c725ab47b7468402cfad88695c8664e6c573b", "cbm/171208.csv", "cbm"),
    "chipsbank-2019": ("芯邦", "CBM", "7a4c725ab47b7468402cfad88695c8664e6c573b", "cbm/190115.csv", "cbm"),
    "chipsbank-2020a": ("芯邦", "CBM", "e906414f63b39e7e186a712f0b86c2bfa4dded98", "cbm/200520.csv", "cbm"),
    "chipsbank-2020": ("芯邦", "CBM", "6349fd009df576eab680ca093039c47428eb5db4", "cbm/200821.csv", "cbm"),
    "alcor-2016a": ("安国", "", "7a4c725ab47b7468402cfad88695c8664e6c573b", "al/160325.csv", "alcor"),
    "alcor-2016": ("安国", "", "c78f40be1f142dcf282fdb24c8b7ed46390fe3d0", "al/161101.csv", "alcor"),
    "alcor-2018": ("安国", "", "26423722803f17d2130d01559555c82649faa9cb", "al/180416.csv", "alcor"),
    "alcor-2019a": ("安国", "", "26423722803f17d2130d01559555c82649faa9cb", "al/190124.csv", "alcor"),
    "alcor-2019": ("安国", "", "7a4c725ab47b7468402cfad88695c8664e6c573b", "al/190401.csv", "alcor"),
    **{f"smi-{chip}": ("慧荣", f"SM{chip}", commit, f"smufd/flash_{chip}.dbf", "smi")
       for chip, commit in (("3280AB", "7a4c725ab47b7468402cfad88695c8664e6c573b"),
                            ("3280BA", "8afc1fc6f8e832ba10df1048b5367b74f945a8fa"),
                            ("3280BB", "00616696c6aeea7ead787e5c76e9071c49c8737e"),
                            ("3281AB", "59a1a9187009114fa0dc4a1997e8e95d210345a4"),
                            ("3281BA", "8afc1fc6f8e832ba10df1048b5367b74f945a8fa"),
                            ("3281BB", "59a1a9187009114fa0dc4a1997e8e95d210345a4"),
                            ("3282BB", "f1fde9d7b4cdf7a3e1d3027855bce0c01f54c63c"))},
    "innostor-917_106M76": ("银灿", "IS917", "fc72ad472386d82e4fef5379f275f87e96ffb402",
                            "is/917_106M76.ini", "innostor"),
    "alcor-2013": ("安国", "", "26423722803f17d2130d01559555c82649faa9cb",
                   "archives/Alcor UFD Flash Support List_130710.pdf", "alcor-pdf"),
    "alcor-2018b": ("安国", "", "8d31c684d9d5c1300c9ff334361af33d6a1a1344", "al/181122.txt", "alcor-txt"),
    "innostor-extra": ("银灿", "IS", "4dd7a2b0598c0dbbbb6baf79f7e1e1093882d413", "extra.json", "extra"),
    "innostor-917_106M65": ("银灿", "IS917", "d0bcb08176325b669f7f15be7701f9aa213b2364",
                            "is/917_106M65.ini", "innostor"),
    "innostor-902_012_02_1203071": ("银灿", "IS902", "b5fbed90f4527b0aa1f1a29161a5f58dadeb74f4",
                                    "is/902_012_02_1203071.ini", "innostor-db"),
    **{f"innostor-{name}": ("银灿", chip, "968f24fcb3a1727d61bd8b142d81af8ccae416c1", f"is/{name}.ini",
                            "innostor-db")
       for name, chip in (("902", "IS902"), ("902E_V4.03.22", "IS902E"), ("903_V4.08.00.38", "IS903"),
                          ("916_V4.03.12", "IS916"), ("916EN_V4.03.25", "IS916EN"),
                          ("917_V4.08.00.84", "IS917"))},
}

# The 2013 Alcor list is only a PDF. Its header stacks the chip names of a column over each
# other; a column is found by the names of the header line that holds AU6981 and the lines
# around it, and a Y mark belongs to the column whose name it sits under.
ALCOR_2013_COLUMNS = [  # (header line offset, name that marks the column, chips of the column)
    (0, "AU6981", ["AU6981"]), (0, "AU6985", ["AU6985"]), (-1, "AU6987", ["AU6987", "AU6987AN"]),
    (0, "AU6987T", ["AU6987T"]), (0, "AU6989NL", ["AU6989L", "AU6989NL", "AU6989ANL"]),
    (-1, "AU6989", ["AU6989", "AU6989N"]), (0, "AU6989AN", ["AU6989AN"]),
    (0, "AU6989SN", ["AU6989SN"]),
]
ALCOR_2013_ROW = re.compile(
    r"^\s*([A-Za-z]+)\s+(SLC|MLC|TLC)\s+(\d+[MG])\s+(\S+)\s+(?:(\d+nm|[A-Z]\d\d[A-Z])\s+)?(\d)\s")

HEX_ID = re.compile(r"^(?:[0-9A-Fa-f]{2}){2,16}$")
TRAILING_NOTE = re.compile(r"^(.*?)\(([^()]*)\)?$")
DIE_CODE = re.compile(r"^(?=.*[A-Z])(?=.*\d)[A-Z0-9]{3,5}$")
VARIANT = re.compile(r"^(.*[A-Z0-9])_(\d)$")
# A count or package note written after an asterisk (TH58NVG4T2DTG20*2, TC58NVG6T2JTA00*4CE8DIE)
# and a tool's entry suffix after a full part number (SDTNSCAMA-008G-X1, SDUNCIAMA-032G-1,
# TC58NVG6DDJTA00-X, MT29F1T08EEHBF-1) are no part of the name.
WILDCARD = re.compile(r"XX|^TX58")   # K9XXG08UXM, TX58TEGXT2J...: a pattern for several parts
STAR_NOTE = re.compile(r"^([^*]*[A-Za-z0-9])(\*.*)$")
ENTRY_SUFFIX = re.compile(r"^(.*\d{3}[GT]|(?:T[CH]58|MT29F|H2[5-7])\w{9,})-(X\d?|\d)$")


def split_name(name):
    """(part as written without the notes beside it, detail items the notes give)."""
    name = name.strip()
    details = []
    star = STAR_NOTE.match(name)
    if star:
        name = star.group(1)
        details.append(f"note={star.group(2)}")
    while True:
        match = TRAILING_NOTE.match(name)
        if not match or not match.group(1) or "/" in match.group(2):
            break
        name = match.group(1).rstrip()
        for note in match.group(2).split("_"):
            note = note.strip().rstrip("?")
            if note.upper() in ("TOG", "T0G", "TOGGLE"):
                details.append("interface=toggle")
            elif note.upper() in ("X8", "X16"):
                details.append(f"width={note[1:]}")
            elif DIE_CODE.match(note):
                details.append(f"die={note}")
            elif note:
                details.append(f"note={note.replace(' ', '_')}")
    variant = VARIANT.match(name) or ENTRY_SUFFIX.match(name)
    if variant:
        name = variant.group(1)
        details.append(f"variant={variant.group(2)}")
    if re.search(r"[a-z]", name) and "_" in name:
        details.append("naming=placeholder")
    elif "/" in name or re.search(r"[a-z]", name) or WILDCARD.search(name):
        details.append("naming=shorthand")
    return name, details


def id_text(raw):
    raw = raw.replace(" ", "")
    if not HEX_ID.match(raw):
        return ""
    return " ".join(raw[i:i + 2].upper() for i in range(0, len(raw), 2))


def cell_page(text):
    cell, _, page = text.partition("-")
    items = [f"cell={cell}"] if cell in ("SLC", "MLC", "TLC", "QLC") else []
    if page:
        items.append(f"page={page}")
    return items


def capacity(text):
    text = text.strip().upper()
    if re.match(r"^\d+[MG]$", text):
        text += "B"
    return [f"capacity={text}"] if re.match(r"^\d+[MG]B$", text) else []


def cbm_rows(rows, prefix):
    chips = [prefix + c.strip() for c in rows[0] if c.strip()]
    for row in rows[1:]:
        if len(row) < 10 + len(chips) or len(row) > 11 + len(chips):
            continue   # a row whose marks do not line up with the chip columns
        _, vendor, cap, kind, part, ident, _, ecc, process, width = [c.strip() for c in row[:10]]
        details = [f"vendor={vendor}"] if vendor else []
        # These lists give every flash one chip enable and the capacity behind it.
        details += [f"ce_capacity={c.split('=')[1]}" for c in capacity(cap)] + cell_page(kind)
        if ecc:
            details.append(f"ecc={ecc}")
        if re.match(r"^\d+nm$", process):
            details.append(f"process={process}")
        width_number = re.match(r"^(\d+)", width)
        if width_number:
            details.append(f"width={width_number.group(1)}")
        yield chips, row[10:10 + len(chips)], part, id_text(ident), details


def alcor_rows(rows, prefix):
    chips = [prefix + c.strip() for c in rows[0] if c.strip()]
    for row in rows[1:]:
        if len(row) != 6 + len(chips):
            continue
        vendor, cell, cap, part, process, ce = [c.strip() for c in row[:6]]
        details = [f"vendor={vendor}"] if vendor else []
        details += cell_page(cell) + capacity(cap)
        if re.match(r"^\d+$", ce):
            details.append(f"ce={ce}")
        if re.match(r"^\d+nm$", process):
            details.append(f"process={process}")
        yield chips, row[6:], part, "", details


def alcor_pdf_rows(text):
    centres = []
    for line in text.splitlines():
        if "AU6981" in line and "AU6985" in line:
            lines = text.splitlines()
            here = lines.index(line)
            centres = []
            for offset, name, chips in ALCOR_2013_COLUMNS:
                found = re.search(rf"\b{name}\b", lines[here + offset])
                centres.append((found.start() + len(name) / 2, chips))
            continue
        row = ALCOR_2013_ROW.match(line)
        if not row or not centres:
            continue
        vendor, cell, cap, part, process, ce = row.groups()
        details = [f"vendor={vendor}", f"cell={cell}"] + capacity(cap) + [f"ce={ce}"]
        if process and process.endswith("nm"):
            details.append(f"process={process}")
        elif process:
            details.append(f"die={process}")
        if "1.8v" in line[row.end():].lower():
            details.append("voltage=1.8V")
        chips = []
        for mark in re.finditer(r"(?<=\s)Y(?=\s|$)", line[:int(centres[-1][0]) + 5]):
            if mark.start() < row.end() - 1:
                continue
            nearest = min(centres, key=lambda c: abs(c[0] - mark.start()))
            if abs(nearest[0] - mark.start()) <= 4:
                chips.extend(nearest[1])
        yield chips, ["Y"] * len(chips), part.replace("(x16)", "(X16)"), "", details


def alcor_txt_rows(text):
    """The 2018-11-22 Alcor list as copied from its PDF: 'controllers' and the chip names, then
    'vendor cell capacity part [process or die] CE marks... [1.8v]' per flash."""
    chips = []
    for line in text.splitlines():
        words = line.split()
        if words[:1] == ["controllers"]:
            chips = words[1:]
            continue
        if not chips or line.startswith("#") or len(words) < 5 + len(chips):
            continue
        voltage = words[-1].lower() == "1.8v"
        if voltage:
            words = words[:-1]
        marks, words = words[-len(chips):], words[:-len(chips)]
        vendor, cell, cap, part, *rest = words
        if not 1 <= len(rest) <= 3 or not rest[-1].isdigit():
            continue
        details = [f"vendor={vendor}"] + cell_page(cell) + capacity(cap) + [f"ce={rest[-1]}"]
        for note in rest[:-1]:   # process node, Toggle mark, die code, "3D" and its generation
            if note.endswith("nm"):
                details.append(f"process={note}")
            elif note.lower() == "toggle":
                details.append("interface=toggle")
            elif DIE_CODE.match(note):
                details.append(f"die={note}")
            else:
                details.append(f"note={note}")
        if voltage:
            details.append("voltage=1.8V")
        yield chips, marks, part, "", details


def extra_rows(text, prefix):
    """FlashDetector's own additions (extra.json): per maker and part, its IDs and the
    controllers ('t') it was seen with; only the controllers named with the prefix."""
    for entries in json.loads(text).values():
        for part, entry in entries.items():
            chips = [chip for chip in entry.get("t", []) if chip.startswith(prefix)]
            ident = id_text(entry["id"][0]) if entry.get("id") else ""
            if chips:   # SanDisk's five-digit codes (05131-032G) are no part numbers
                naming = ["naming=placeholder"] if re.match(r"^\d", part) else []
                yield chips, ["Y"] * len(chips), part, ident, naming


SMI_PROCESS = re.compile(r"^(A?\d+nm|1[XYZ]nm)$", re.IGNORECASE)


def smi_rows(text, chip):
    """A Silicon Motion tool table: '@ ID bytes and settings // maker part date process cell'."""
    for line in text.splitlines():
        if not line.startswith("@") or "//" not in line:
            continue
        settings, _, comment = line[1:].partition("//")
        words = comment.split("//")[0].split()
        if len(words) < 2:
            continue
        details = [f"vendor={words[0]}"]
        for word in words[2:]:
            if SMI_PROCESS.match(word):
                details.append(f"process={word}")
            elif word in ("SLC", "MLC", "TLC", "QLC"):
                details.append(f"cell={word}")
        if "toggle" in comment.lower():
            details.append("interface=toggle")
        ident = " ".join(settings.split()[:6])
        yield [chip], ["Y"], words[1], ident, details


def innostor_rows(text, chip):
    """An Innostor tool table: one [PART-ID] section per flash, with Vendor= and FlashID=."""
    for section in re.finditer(r"^\[([^\]\n]+)-([0-9A-Fa-f]{8,32})\]\s*$(.*?)(?=^\[|\Z)", text,
                               re.MULTILINE | re.DOTALL):
        name, ident, body = section.groups()
        vendor = re.search(r"^Vendor=(\S+)", body, re.MULTILINE)
        details = [f"vendor={vendor.group(1)}"] if vendor else []
        yield [chip], ["Y"], name, id_text(ident), details


def innostor_db_rows(text, chip):
    """An Innostor FlashDB table of the other form: [maker] sections of 'N=PART-ID-COUNT' lines.
    The count is not named by the table (it matches the chip enables of the older Samsung
    parts but reads 16 for K9UHGY8UCA), so it is kept as listed_count, not as ce."""
    vendor = ""
    for line in text.splitlines():
        section = re.match(r"^\[([^\]]+)\]", line)
        if section:
            vendor = section.group(1).strip()
            continue
        entry = re.match(r"^\d+=(.+)-([0-9A-Fa-f]{8,32})-(\d+)\s*$", line)
        if entry and vendor != "FlashDB Version":
            part, ident, count = entry.groups()
            details = [f"vendor={vendor}", f"listed_count={count}"]
            if "_" in part:   # SDIN5C4_32G-L: the tool's label, no part number
                details.append("naming=placeholder")
            yield [chip], ["Y"], part, id_text(ident), details


def settled(part, details):
    """One item per key, the first given; a capacity that the part number's density
    contradicts (some lists give the capacity behind one chip enable) is kept as
    capacity_listed so that it does not count as the package's capacity."""
    items, keys = [], set()
    for item in details:
        key, _, value = item.partition("=")
        if key not in keys:
            keys.add(key)
            items.append([key, value])
    decoded = part_numbers.decode(part)
    for item in items:
        size = re.match(r"^(\d+)(MB|GB)$", item[1]) if item[0] == "capacity" else None
        if size and decoded and decoded.density_mbit and decoded.density_mbit != \
                int(size.group(1)) * (8192 if size.group(2) == "GB" else 8):
            item[0] = "capacity_listed"
    return [f"{key}={value}" for key, value in items]


def extract(git_dir, key):
    maker, prefix, commit, path, form = LISTS[key]
    data = subprocess.run(["git", "--git-dir", git_dir, "show", f"{commit}:{path}"],
                          check=True, capture_output=True).stdout
    if form == "innostor":
        listed = innostor_rows(data.decode("latin-1"), prefix)
    elif form == "innostor-db":
        listed = innostor_db_rows(data.decode("latin-1"), prefix)
    elif form == "smi":
        listed = smi_rows(data.decode("latin-1"), prefix)
    elif form == "alcor-pdf":
        text = subprocess.run(["pdftotext", "-layout", "-", "-"], input=data, check=True,
                              capture_output=True).stdout.decode("utf-8")
        listed = alcor_pdf_rows(text)
    elif form == "alcor-txt":
        listed = alcor_txt_rows(data.decode("utf-8"))
    elif form == "extra":
        listed = extra_rows(data.decode("utf-8"), prefix)
    else:
        rows = list(csv.reader(data.decode("utf-8-sig").splitlines()))
        listed = (cbm_rows if form == "cbm" else alcor_rows)(rows, prefix)
    for chips, marks, part, ident, details in listed:
        name, notes = split_name(part)
        if not name:
            continue
        for chip, mark in zip(chips, marks):
            if mark.strip().upper() == "Y":
                yield [key, maker, chip, name, ident, " ".join(settled(name, notes + details))]


# Phison's SSD tool tables: no USB controller, but ID bytes, cell type and page size of the
# flash they name (lines of facts/nand_ids.csv).
PHISON_SSD_TABLES = {
    "phison-ssd-2.2.82": ("e44a1e377a8d9ae11ce2f16efc3899a605db0e5a", "ps/2.2.82.json"),
    "phison-ssd-flashinfomod-5.0": ("6c97a9a126c11897160b1d9b4e2c54e6ad30661e",
                                    "ps/FlashInfoMod(v5.0).json"),
}
NAND_ID_COLUMNS = ["part", "maker", "id", "page", "oob", "block", "chip_mbit", "dies", "ce", "cell",
                   "ecc", "width", "interface", "process", "voltage", "source", "fields", "notes"]


def phison_ssd_facts(git_dir, key):
    """Only names that read as part numbers of their maker's scheme; a die or process code
    written after a hyphen (-L06B, -3DV4, -TGL) is a note, not part of the name."""
    commit, path = PHISON_SSD_TABLES[key]
    entries = json.loads(subprocess.run(["git", "--git-dir", git_dir, "show", f"{commit}:{path}"],
                                        check=True, capture_output=True).stdout)
    for entry in entries:
        name, _, note = entry["PartNumber"].partition("-")
        decoded = part_numbers.decode(name)
        if not decoded or re.match(r"^\d{3}G$", note):
            continue
        ident = entry["FlashId"].upper()
        ident = [ident[i:i + 2] for i in range(0, len(ident), 2)]
        while ident and ident[-1] == "00":
            ident.pop()
        cell, _, page = entry.get("Feature", "").partition("_")
        row = dict.fromkeys(NAND_ID_COLUMNS, "")
        row.update(part=name, maker=decoded.maker, id=" ".join(ident),
                   source=f"iTXTech/fdfdb@{commit}:{path}",
                   notes=f'entry "{entry["PartNumber"]}" (Phison SSD tool table, '
                         f'ProcessNode {entry.get("ProcessNode", "")})')
        fields = ["id"]
        if cell in ("SLC", "MLC", "TLC", "QLC"):
            row["cell"] = cell
            fields.append("cell")
        if re.match(r"^\d+K$", page):
            row["page"] = str(int(page[:-1]) * 1024)
            fields.append("page")
        row["fields"] = " ".join(fields)
        yield [row[column] for column in NAND_ID_COLUMNS]


# Silicon Motion's ForceFlash tool tables: per flash setting 'maker,notes,NAME(mode)' and its
# value line 'same text=ID0,...,ID5,settings'; only ID bytes, page size, pages per block and
# process are read (lines of facts/nand_ids.csv, no controller pairing).
SMI_FORCEFLASH_TABLES = {
    "smi-forceflash-U0226": ("32b8f67e4058dbeeb0a2333d7d7c643ef8b1290b", "smff/ForceFlash-U0226.SET"),
    "smi-forceflash-S1114": ("03c2d66d854937d2daa3c48fed88541034745a96", "smff/ForceFlash-S1114.SET"),
}
# Left out for now: with these lines' IDs the generator picks rows that the data check rejects,
# because it joins them with another source's capacity or CE count (H27QFG8NDA read as 256 Gbit
# against the 64GB over 2CE of the Alcor lists; MT29F512G08CUAAA: 2C A8 05 CB A9 gives 128 Gbit
# per CE against 64GB over 2CE; HY27UB082G4M: AD 79 A5 00 .. says 512-byte pages against
# SLC-2K). See /work/briefs/data-lists-to-gen.md.
ID_WITHHELD = {"H27QFG8NDA", "MT29F512G08CUAAA", "HY27UB082G4M"}  # base parts


def settings_entries(lines, entry_pattern):
    """(entry, ID bytes) of the Silicon Motion tool tables' form: entry lines ('B0=maker,notes,
    NAME', matched by entry_pattern) and, elsewhere in the file, a setting named by the entry's
    text that holds its ID ('maker,notes,NAME=EC,D7,..'); entries without one are left out."""
    values, entries = {}, []
    for line in lines:
        entry = re.match(entry_pattern, line)
        if entry:
            entries.append(entry.group(1).strip())
        elif "=" in line and not line.startswith("["):
            setting, _, value = line.rpartition("=")
            values[setting.strip()] = value
    for entry in entries:
        if entry in values:
            yield entry, [byte.strip().upper().zfill(2) for byte in values[entry].split(",")[:6]]


def smi_forceflash_facts(git_dir, key):
    """Only names that read as part numbers of their maker's scheme; what follows the name
    (_24b, _H45, (Single_DG)) is a note. One line per name and ID."""
    commit, path = SMI_FORCEFLASH_TABLES[key]
    text = subprocess.run(["git", "--git-dir", git_dir, "show", f"{commit}:{path}"],
                          check=True, capture_output=True).stdout.decode("latin-1")
    seen = set()
    for entry, ident in settings_entries(text.splitlines(), r"^A\d+=(.*)$"):
        written = entry.rsplit(",", 1)[-1].strip()
        name = re.match(r"^[A-Z0-9-]*", written).group(0)
        decoded = part_numbers.decode(name)
        if not decoded or decoded.base in ID_WITHHELD or \
                not all(re.match(r"^[0-9A-F]{2}$", byte) for byte in ident):
            continue
        while ident and ident[-1] == "00":
            ident.pop()
        if (name, tuple(ident)) in seen:
            continue
        seen.add((name, tuple(ident)))
        row = dict.fromkeys(NAND_ID_COLUMNS, "")
        row.update(part=name, maker=decoded.maker, id=" ".join(ident),
                   source=f"iTXTech/fdfdb@{commit}:{path}",
                   notes=f'entry "{entry}" (Silicon Motion ForceFlash tool table)')
        fields = ["id"]
        page = re.search(r"[(,](\d+)KP?[),]", entry)
        if page:
            row["page"] = str(int(page.group(1)) * 1024)
            fields.append("page")
            pages = re.search(r"[(,](\d+)Page[),]", entry)
            if pages:
                row["block"] = str(int(pages.group(1)) * int(row["page"]))
                fields.append("block")
        process = re.search(r"[(,](\d+)nm[),]", entry)
        if process:
            row["process"] = process.group(1)
            fields.append("process")
        row["fields"] = " ".join(fields)
        yield [row[column] for column in NAND_ID_COLUMNS]


# SSD controllers' tool tables (JMicron, Maxio, Maxiotek, Silicon Motion SSD) at one commit:
# ID evidence only (lines of facts/nand_ids.csv), one line per name and ID, first file first.
SSD_TOOL_COMMIT = "4dd7a2b0598c0dbbbb6baf79f7e1e1093882d413"
SSD_TOOL_TABLES = {  # key: (folders, the tool's maker)
    "jmicron-tools": (["jm"], "JMicron"),
    "maxio-tools": (["ma", "mas"], "Maxio"),
    "maxiotek-tools": (["mk"], "Maxiotek"),
    "smi-ssd-tools": (["smssd"], "Silicon Motion"),
}


def tool_table_entries(text):
    """(written name, ID bytes, setting) per flash of a tool table: either 'NameNNN=UNI FULLNAME
    ... 0xID0 0xID1 ...' lines or Silicon Motion's 'B0=maker,notes,NAME' + 'same=ID0,..' pairs."""
    other_lines = []
    for line in text.splitlines():
        named = re.match(r"^Name\d+=(\S+)\s+(\S+)\s+(.*)$", line)
        if not named:
            other_lines.append(line)
            continue
        run, best = [], []
        for word in named.group(3).split() + [""]:
            if re.match(r"^0x[0-9A-Fa-f]{2}$", word):
                run.append(word[2:].upper())
            else:
                best, run = (run if len(run) > len(best) else best), []
        if len(best) >= 4:
            yield named.group(2), best, named.group(1)
    for entry, ident in settings_entries(other_lines, r"^[A-Z]\d+=(.*)$"):
        yield entry.rsplit(",", 1)[-1].strip(), ident, entry


def ssd_tool_facts(git_dir, key):
    folders, tool_maker = SSD_TOOL_TABLES[key]
    paths = subprocess.run(["git", "--git-dir", git_dir, "ls-tree", "-r", "--name-only",
                            SSD_TOOL_COMMIT, *folders], check=True, capture_output=True,
                           text=True).stdout.split()
    seen = set()
    for path in paths:
        text = subprocess.run(["git", "--git-dir", git_dir, "show", f"{SSD_TOOL_COMMIT}:{path}"],
                              check=True, capture_output=True).stdout.decode("latin-1")
        for written, ident, setting in tool_table_entries(text):
            name = re.match(r"^[A-Z0-9-]*", written).group(0)
            decoded = part_numbers.decode(name)
            if not decoded or decoded.base in ID_WITHHELD or \
                    not all(re.match(r"^[0-9A-F]{2}$", byte) for byte in ident):
                continue
            while ident and ident[-1] == "00":
                ident.pop()
            if (name, tuple(ident)) in seen or len(ident) < 4:
                continue
            seen.add((name, tuple(ident)))
            row = dict.fromkeys(NAND_ID_COLUMNS, "")
            row.update(part=name, maker=decoded.maker, id=" ".join(ident), fields="id",
                       source=f"iTXTech/fdfdb@{SSD_TOOL_COMMIT}:{path}",
                       notes=f'entry "{written}" (setting {setting}; {tool_maker} tool table)')
            yield [row[column] for column in NAND_ID_COLUMNS]


# SandForce's firmware configuration tables: flash part, cell class and process per drive
# configuration, no ID bytes (lines of facts/nand_ids.csv with cell and process only).
SANDFORCE_TABLES = {"sandforce-configs": ["sf/604.csv", "sf/60A.csv", "sf/618.csv"]}
SANDFORCE_CELLS = {"SLC": "SLC", "MLC": "MLC", "eMLC": "MLC", "hMLC": "MLC", "ccMLC": "MLC"}


def sandforce_facts(git_dir, key):
    seen = set()
    for path in SANDFORCE_TABLES[key]:
        text = subprocess.run(["git", "--git-dir", git_dir, "show", f"{SSD_TOOL_COMMIT}:{path}"],
                              check=True, capture_output=True).stdout.decode("utf-8", "replace")
        for config in csv.DictReader(text.splitlines()):
            name = (config.get("Flash Part Number") or "").strip()
            cell = SANDFORCE_CELLS.get((config.get("Flash Type") or "").strip())
            process = (config.get("Flash Geometry") or "").strip()
            decoded = part_numbers.decode(name)
            if not decoded or not cell or not process.isdigit() or name in seen:
                continue   # a row whose title holds commas does not line up with the header
            seen.add(name)
            row = dict.fromkeys(NAND_ID_COLUMNS, "")
            row.update(part=name, maker=decoded.maker, cell=cell, process=process,
                       fields="cell process", source=f"iTXTech/fdfdb@{SSD_TOOL_COMMIT}:{path}",
                       notes=f'configuration "{config.get("Title", "").strip()}" (SandForce firmware '
                             f'table; Flash Type {config.get("Flash Type", "").strip()})')
            yield [row[column] for column in NAND_ID_COLUMNS]


def extra_facts(git_dir, key):
    """FlashDetector's extra.json: ID bytes (and process, cell, dies where given) per part."""
    path = "extra.json"
    entries = json.loads(subprocess.run(["git", "--git-dir", git_dir, "show",
                                         f"{SSD_TOOL_COMMIT}:{path}"], check=True,
                                        capture_output=True).stdout)
    for group in entries.values():
        for name, entry in group.items():
            decoded = part_numbers.decode(name)
            if not decoded or decoded.base in ID_WITHHELD:
                continue
            for ident in entry.get("id", []) or [""]:
                row = dict.fromkeys(NAND_ID_COLUMNS, "")
                row.update(part=name, maker=decoded.maker, id=id_text(ident),
                           source=f"iTXTech/fdfdb@{SSD_TOOL_COMMIT}:{path}",
                           notes=f"entry {name} {json.dumps(entry, sort_keys=True)} "
                                 "(FlashDetector's own additions to the makers' tables)")
                fields = ["id"] if row["id"] else []
                process = re.match(r"^(\d+)nm$", entry.get("l", ""))
                if process:
                    row["process"] = process.group(1)
                    fields.append("process")
                if entry.get("c") in ("SLC", "MLC", "TLC", "QLC"):
                    row["cell"] = entry["c"]
                    fields.append("cell")
                if not fields:
                    continue
                row["fields"] = " ".join(fields)
                yield [row[column] for column in NAND_ID_COLUMNS]


def main():
    git_dir, keys = sys.argv[1], sys.argv[2:]
    out = csv.writer(sys.stdout, lineterminator="\n")
    for key in keys:
        if key in PHISON_SSD_TABLES:
            lines = phison_ssd_facts(git_dir, key)
        elif key in SMI_FORCEFLASH_TABLES:
            lines = smi_forceflash_facts(git_dir, key)
        elif key in SSD_TOOL_TABLES:
            lines = ssd_tool_facts(git_dir, key)
        elif key in SANDFORCE_TABLES:
            lines = sandforce_facts(git_dir, key)
        elif key == "flashdetector-extra":
            lines = extra_facts(git_dir, key)
        else:
            lines = extract(git_dir, key)
        for line in lines:
            out.writerow(line)


if __name__ == "__main__":
    main()
