#!/usr/bin/env python3
"""Writes resources/flash_data.csv and resources/flash_sources.csv from sourced facts.

Inputs, all text under version control in tools/dataset/facts/:
- nand_ids.csv: what public NAND ID tables (source code) and datasheets say about each flash
  part, one line per part and source;
- support_lists.csv (+ support_list_sources.csv): the controller makers' flash support lists
  and mass-production tool tables, and flash seen beside a controller in real drives;
- scheme_sources.csv: which document states what each code of a maker's part-number scheme
  means; ordering_codes.csv: real ordering codes of base parts, as documents write them;
- fixed_rows.csv: the rows the lookup's examples name, kept as given.

Every model is a name a source writes. A model has as many rows as its most paired controller
maker has chips, so that every chip a source pairs with it is named once.

A detail field is filled only from a source: a table, a datasheet, a support list, or the part
number read by its maker's published scheme; where sources disagree the value most independent
sources give wins, and an even split leaves the field empty. A controller is paired with a flash
only where that controller's own support list, or a real drive, pairs them.

The output is the same bytes on every run (no randomness, no iteration over unordered sets).
Besides the data set it writes resources/flash_sources.csv (every model's sources) and
resources/id_crosscheck.csv (each model's ID bytes against its part number).

Usage: build_dataset.py [--check]   (--check: fail if the files on disk differ from a fresh run)
"""

import csv
import io
import re
import sys
from dataclasses import dataclass, field
from pathlib import Path

import flash_facts
import name_flags
import part_numbers
import support_lists

ROOT = Path(__file__).resolve().parents[2]
RESOURCES = ROOT / "resources"

COLUMNS = [
    "id", "FLASH型号", "品牌", "容量", "类型", "位宽", "片选", "ID号", "IC制程", "ECC纠错",
    "工作电压", "芯片版本", "备注", "慧荣", "群联", "联阳", "安国", "擎泰", "鑫创", "银灿",
    "芯邦", "迈科微", "我想",
]
DETAIL_COLUMNS = COLUMNS[1:13]
CONTROLLER_MAKERS = COLUMNS[13:]
FIRST_ID = 10
MAX_TEXT_LENGTH = 50  # what a text column of the lookup table holds

BRANDS = {"Samsung": "Samsung 三星", "Hynix": "Hynix 海力士", "Toshiba": "Toshiba 东芝",
          "SanDisk": "SanDisk 闪迪", "Micron": "Micron 美光", "Intel": "Intel 英特尔",
          "ST": "ST 意法半导体", "Numonyx": "Numonyx 恒忆", "Spansion": "Spansion 飞索",
          "Macronix": "Macronix 旺宏", "Winbond": "Winbond 华邦", "SpecTek": "SpecTek"}
MAKER_ORDER = list(BRANDS)
GENERATION_NAMES = "一二三四五六七八"
PAGE_NAMES = {512: "512", 2048: "2K", 4096: "4K", 8192: "8K", 16384: "16K"}
ECC_PATTERN = re.compile(r"^\d+b/(512B|1KB)$")
PROCESS_PATTERN = re.compile(r"^(A?\d+|1[XYZ])nm(\(L\d\d[A-Z]\))?$")
CAPACITY_PATTERN = re.compile(r"^\d+(MB|GB)$")

@dataclass
class Model:
    name: str
    maker: str
    fields: dict          # detail column -> flash_facts.Value
    base_part: str
    ordering_source: str  # the document that writes this ordering code, if the model is one
    id_check: dict = field(default_factory=dict)   # what id_crosscheck.csv says of its ID
    name_sources: list = field(default_factory=list)  # the facts' sources that write the name
    pairings: dict = field(default_factory=dict)  # maker column -> [(Listing, kind)]
    markings: list = field(default_factory=list)  # lot markings lists give beside it


def read_csv(name):
    with open(flash_facts.FACTS / name, newline="", encoding="utf-8") as handle:
        return list(csv.DictReader(handle))


def read_scheme_sources():
    """(scheme, field, code) -> the citation of a document that states what the code means."""
    doubtful = ("none found", "does not state", "inferred", "flattened")
    sources = {}
    for row in read_csv("scheme_sources.csv"):
        source = row["source"].strip()
        if source.startswith("none found") or any(d in row["meaning"] for d in doubtful):
            continue
        code = row["code"].strip().split(" (")[0]
        citation = source.split("; also in")[0].strip().replace(" ; ", ", ")
        sources.setdefault((row["scheme"].strip(), row["field"].strip(), code), citation)
    return sources


def capacity_text(mbit):
    if mbit >= 8192 and mbit % 8192 == 0:
        return f"{mbit // 8192}GB"
    return f"{mbit // 8}MB" if mbit % 8 == 0 else None


class Votes:
    """Values each field's sources give, and which independent sources give each."""

    def __init__(self):
        self.values = {}

    def add(self, column, text, source):
        if text:
            entry = self.values.setdefault(column, {}).setdefault(text, ([], set()))
            if source not in entry[0]:
                entry[0].append(source)
            entry[1].add(flash_facts.lineage_of(source))

    def winner(self, column):
        ranked = sorted(self.values.get(column, {}).items(),
                        key=lambda kv: (-len(kv[1][1]), kv[0]))
        if not ranked or (len(ranked) > 1 and len(ranked[1][1][1]) == len(ranked[0][1][1])):
            return None
        text, (sources, _) = ranked[0]
        return flash_facts.Value(text, list(sources))


def fact_votes(votes, fact):
    if fact.cell in ("SLC", "MLC", "TLC"):
        votes.add("cell", fact.cell, fact.source)
    votes.add("page", PAGE_NAMES.get(fact.page), fact.source)
    if fact.ecc and ECC_PATTERN.match(fact.ecc):
        votes.add("ECC纠错", fact.ecc, fact.source)
    if fact.process:
        process = fact.process if "nm" in fact.process else fact.process + "nm"
        if PROCESS_PATTERN.match(process):
            votes.add("IC制程", process, fact.source)
    if fact.width in (8, 16):
        votes.add("width", str(fact.width), fact.source)
    if fact.interface in ("toggle", "onfi-ddr"):
        votes.add("ddr", "DDR", fact.source)
    if fact.ce:
        votes.add("片选", f"{fact.ce}CE", fact.source)
    if fact.capacity and CAPACITY_PATTERN.match(fact.capacity):
        votes.add("容量", fact.capacity, fact.source)


def confirmed_source(decoded, name, scheme_sources):
    """The document that states what the code of `name` in this part number means, if any."""
    code = decoded.code(name)
    if code is None:
        return None
    # "*": the document defines the field as a number in Gbit, so every value reads so
    return (scheme_sources.get((decoded.scheme, name, code)) or
            scheme_sources.get((decoded.scheme, name, "*")))


def scheme_votes(votes, decoded, scheme_sources):
    readings = (
        ("density", "容量", capacity_text(decoded.density_mbit) if decoded.density_mbit else None),
        ("cell", "cell", decoded.cell),
        ("width", "width", str(decoded.width) if decoded.width else None),
        ("interface", "ddr", "DDR" if decoded.ddr else None),
        ("chip_enables", "片选", f"{decoded.chip_enables}CE" if decoded.chip_enables else None),
        ("voltage", "工作电压", decoded.voltage),
        ("generation", "芯片版本",
         f"第{GENERATION_NAMES[decoded.generation - 1]}代芯片" if decoded.generation else None),
        ("process", "IC制程", decoded.process_nm),
        ("page", "page", PAGE_NAMES.get(decoded.page)),
    )
    for name, column, text in readings:
        source = confirmed_source(decoded, name, scheme_sources)
        if source and text:
            votes.add(column, text, "scheme: " + source)


def combined(first, second, joiner):
    if not first:
        return None
    if not second:
        return first
    return flash_facts.Value(first.text + joiner + second.text,
                             first.sources + [s for s in second.sources if s not in first.sources])


def same_layout(part, decoded):
    """Whether what a source says of `part`'s ID bytes holds for the model: an ordering code
    whose digits set another chip-enable layout (Toshiba's TA00 and TA20) answers with other
    ID bytes, so it takes only the IDs given for its own layout."""
    def layout(read):
        return (read.chip_enables or read.layout if read else None) or 1
    return layout(decoded) == layout(part_numbers.decode(part))


def part_reading(decoded, scheme_sources):
    """Package density (Gbit), chip enables, cell type and dies, as far as documents confirm
    the part number's codes."""
    if not decoded:
        return {}

    def known(name, value):
        return value if value and confirmed_source(decoded, name, scheme_sources) else None
    reading = {"gbit": known("density", decoded.density_mbit and decoded.density_mbit / 1024),
               "ce": known("chip_enables", decoded.chip_enables),
               "cell": known("cell", decoded.cell), "dies": known("dies", decoded.dies)}
    return {k: v for k, v in reading.items() if v}


def reading_text(reading, per_ce):
    parts = []
    if "gbit" in reading:
        parts.append(f"{reading['gbit']:g} Gbit")
    if "ce_gbit" in reading:
        parts.append(f"{reading['ce_gbit']:g} Gbit per chip enable")
    if "ce" in reading:
        parts.append(f"{reading['ce']} chip enables")
    if "cell" in reading:
        parts.append(reading["cell"])
    if "dies" in reading:
        parts.append(f"{reading['dies']} dies")
    if per_ce and "dies_per_ce" in reading:
        parts.append(f"{reading['dies_per_ce']} dies per chip enable")
    return ", ".join(parts)


def id_comparison(said, part):
    """What the ID bytes and the part number both say of one chip: the fields compared and those
    that differ. Dies and density per chip enable are compared with the part's chip enables
    where the part number gives them; without them, more dies or Gbit per chip enable than the
    whole package has still differ."""
    compared, differ = [], []

    def compare(name, same):
        compared.append(name)
        if not same:
            differ.append(name)

    if said.get("cell") and part.get("cell"):
        compare("cell type", said["cell"] == part["cell"])
    for name, per_ce, whole in (("density", "ce_gbit", "gbit"), ("dies", "dies_per_ce", "dies")):
        if said.get(per_ce) and part.get(whole):
            if part.get("ce"):
                compare(name, said[per_ce] * part["ce"] == part[whole])
            elif said[per_ce] > part[whole]:
                compare(name, False)
    return compared, differ


def id_facts_of(maker, facts, decoded):
    """The facts whose ID bytes can be the model's: given under its maker's code, for its own
    chip-enable layout."""
    return [f for f in facts if f.id_bytes and same_layout(f.part, decoded) and
            flash_facts.MAKER_CODES[f.maker] == flash_facts.MAKER_CODES[maker]]


def gives_id(fact, merged):
    """Whether a fact's ID bytes are the merged ID: every byte both give agrees."""
    written = flash_facts.significant_id(fact.id_bytes)
    shared = min(len(written), len(merged))
    return shared >= 4 and all(written[i] in merged[i] for i in range(shared))


def checked_id(maker, own_facts, facts, decoded, scheme_sources):
    """The ID bytes of a model, or None, and the record of how they were checked.

    The ID is the one the sources that write the model's own name give (the majority by
    independent families where they differ); only where none gives one is it the ID given for
    its base part. IDs given under other names confirm it: the families column counts every
    independent family that gives the same bytes. An ID that one family alone gives must agree
    with the model's own part number (density per chip enable times chip enables, cell type,
    dies); where it does not, the part number's reading stands and the ID is left out."""
    own = id_facts_of(maker, own_facts, decoded)
    merged, id_facts = flash_facts.merge_ids(own)
    if not merged:
        own = []
        merged, id_facts = flash_facts.merge_ids(id_facts_of(maker, facts, decoded))
    if not merged:
        return None, [], {}
    confirming = [f for f in id_facts_of(maker, facts, decoded) if gives_id(f, merged)]
    families = sorted({flash_facts.lineage_of(f.source) for f in confirming + id_facts})
    others = sorted({f"{' '.join(flash_facts.significant_id(f.id_bytes))} "
                     f"({flash_facts.lineage_of(f.source)})"
                     for f in own if not gives_id(f, merged)})
    said = flash_facts.read_id([alts[0] for alts in merged], maker)
    part = part_reading(decoded, scheme_sources)
    compared, differ = id_comparison(said, part)
    kept = len(families) >= 2 or not differ
    check = {"id": flash_facts.id_text(merged), "families": families,
             "agrees": "no: " + " ".join(differ) if differ else
             ("yes" if compared else "unknown"),
             "settled": "kept" if kept else "left out",
             "id_reading": reading_text(said, True), "part_reading": reading_text(part, False),
             "sources": sorted({f.source for f in id_facts}), "other_ids": others}
    return (merged, id_facts, check) if kept else (None, [], check)


def derive_model(name, maker, decoded, facts, own_facts, scheme_sources, ordering_source):
    """The detail fields of one model from its facts and its part-number scheme; `own_facts`
    are those the sources that write its own name give."""
    if maker == "ST" and any(f.maker == "Numonyx" for f in facts):
        maker = "Numonyx"
    votes = Votes()
    for fact in facts:
        fact_votes(votes, fact)
    if decoded:
        scheme_votes(votes, decoded, scheme_sources)
    fields = {"品牌": flash_facts.Value(BRANDS[maker], [])}
    merged, id_facts, id_check = checked_id(maker, own_facts, facts, decoded, scheme_sources)
    if merged:
        fields["ID号"] = flash_facts.Value(flash_facts.id_text(merged),
                                           sorted({f.source for f in id_facts}))
    for column in ("容量", "片选", "IC制程", "ECC纠错", "工作电压", "芯片版本"):
        value = votes.winner(column)
        if value:
            fields[column] = value
    kind = combined(votes.winner("cell"), votes.winner("page"), "-")
    if kind:
        fields["类型"] = kind
    width = votes.winner("width")
    if width:
        width = flash_facts.Value(width.text + "bit", width.sources)
        fields["位宽"] = combined(width, votes.winner("ddr") and flash_facts.Value(
            "DDR", votes.winner("ddr").sources), " ")
    drop_contradicted(fields, maker, merged, decoded)
    base = decoded.base if decoded else name
    return Model(name, maker, fields, base, ordering_source, id_check)


def drop_contradicted(fields, maker, merged, decoded):
    """Leaves out a field that the model's own ID bytes or part number contradict: one of the
    sources is wrong, and which one no source says."""
    capacity = fields.get("容量")
    # A density the part number writes as a number (MT29F256G, -008G) needs no document.
    mbit = decoded.density_mbit if decoded else None
    if capacity and mbit and capacity.text != capacity_text(mbit):
        fields.pop("容量")
    width = fields.get("位宽")
    if width and decoded and decoded.width and not width.text.startswith(f"{decoded.width}bit"):
        fields.pop("位宽")
    said = flash_facts.read_id([alts[0] for alts in merged], maker) if merged else {}
    kind = fields.get("类型")
    cell, _, page = kind.text.partition("-") if kind else ("", "", "")
    part_cell = decoded.cell if decoded else None
    if (said.get("cell") and cell and said["cell"] != cell) or \
            (part_cell and cell and part_cell != cell):
        fields.pop("类型")
    elif page and said.get("page") and PAGE_NAMES.get(said["page"]) != page:
        fields["类型"] = flash_facts.Value(cell, kind.sources)
    width = fields.get("位宽")
    if width and said.get("width") and not width.text.startswith(str(said["width"])):
        fields.pop("位宽")
    enables = fields.get("片选")
    if enables and decoded and decoded.chip_enables and enables.text != f"{decoded.chip_enables}CE":
        fields.pop("片选")
        enables = None
    capacity = fields.get("容量")
    if capacity and enables and said.get("ce_gbit"):
        number = int(capacity.text[:-2])
        gbit = number * 8 if capacity.text.endswith("GB") else number / 128
        if gbit != said["ce_gbit"] * int(enables.text[:-2]):
            fields.pop("容量")
            fields.pop("片选")


def collect_models(facts, listed, flags, ordering_codes, scheme_sources):
    """Every name a source writes that is a chip's name: the parts of the ID tables and
    datasheets, the flash the support lists name (unless `flags` says a name is a placeholder,
    shorthand, note, lot marking or misprint) and the ordering codes documents write. A model
    carries the facts of its base part; a name no scheme reads is its own base. `listed`: name
    -> the listings that write it."""
    by_part, by_base = {}, {}
    for fact in facts:
        if flags.is_model(fact.part):
            by_part.setdefault(fact.part, []).append(fact)
    for name in listed:
        if flags.is_model(name):
            by_part.setdefault(name, [])
    makers = {}
    for part in sorted(by_part):
        decoded = part_numbers.decode(part)
        maker = decoded.maker if decoded else name_flags.maker_of(
            part, by_part[part], listed.get(part, []))
        if maker not in BRANDS:
            continue
        makers[part] = maker
        # What a list says under another maker's code is about another chip.
        by_part[part] = [f for f in by_part[part] if maker == (
            "ST" if f.maker == "Numonyx" and maker == "ST" else f.maker)]
        by_base.setdefault(decoded.base if decoded else part, []).append(part)

    def facts_of_base(base):
        return [f for p in by_base.get(base, []) for f in by_part[p]]

    models = {}

    def add(name, decoded, maker, shared, source):
        if name in models or not flash_facts.MODEL_PATTERN.match(name) or not maker:
            return
        models[name] = derive_model(name, maker, decoded, shared, by_part.get(name, []),
                                    scheme_sources, source)

    for base in sorted(by_base):
        for part in by_base[base]:
            add(part, part_numbers.decode(part), makers[part], facts_of_base(base), "")
    for base, code, source in ordering_codes:
        decoded = part_numbers.decode(code)
        add(code, decoded, decoded.maker if decoded else makers.get(base),
            facts_of_base(decoded.base if decoded else base), source)
    for name, model in models.items():
        model.name_sources = list(dict.fromkeys(f.source for f in by_part.get(name, [])))
    return models


def id_alternatives(model):
    value = model.fields.get("ID号")
    return [b.split("/") for b in value.text.split()] if value else []


def read_chip_labels():
    """Phison's chips are written by their UPxx names where the 群联 model table gives one, with
    -yy, the PS2251-yy branch it pairs with that name: PS2251-03 is UP303-03."""
    return {row["ps2251"]: row["label"] for row in read_csv("phison_names.csv")}


CHIP_LABELS = read_chip_labels()


def chip_label(listing):
    return CHIP_LABELS.get(listing.chip, listing.chip) if listing.maker == "群联" else listing.chip


def row_count(pairings):
    """As many rows as the most paired controller maker has chips: each is named once."""
    return max([1] + [len(chips) for chips in pairings.values()])


def controller_rows(pairings, count):
    """`count` rows naming the paired chips of each maker in list order, one per row. Returns
    the rows and the listings used."""
    rows = [{} for _ in range(count)]
    used = []
    for maker in CONTROLLER_MAKERS:
        for row, (listing, kind) in zip(rows, pairings.get(maker, [])):
            row[maker] = chip_label(listing)
            used.append((listing, kind))
    return rows, used


def detail_values(model):
    return [model.name] + [model.fields[c].text if c in model.fields else ""
                           for c in DETAIL_COLUMNS[1:]]


def model_block(model):
    rows, used = controller_rows(model.pairings, row_count(model.pairings))
    model.used_listings = used
    details = detail_values(model)
    return (model.maker, model.name,
            [details + [r.get(m, "") for m in CONTROLLER_MAKERS] for r in rows], None)


def fixed_block(name, rows):
    """A named model's rows as given, with their ids."""
    maker = "Micron" if name.startswith("MT") else "Samsung"
    return (maker, name, [r[1:len(COLUMNS)] for r in rows], int(rows[0][0]))


def build_rows(blocks):
    """Table rows in id order: makers one after another, models by name, ids counting up from
    10; the named rows keep their ids, each placed where the ids before it leave room."""
    pinned = sorted((b for b in blocks if b[3] is not None), key=lambda b: b[3])
    queue = sorted((b for b in blocks if b[3] is None),
                   key=lambda b: (MAKER_ORDER.index(b[0]), b[1]))
    table, next_id, position = [], FIRST_ID, 0

    def emit(block, first):
        table.extend([str(first + i)] + row for i, row in enumerate(block[2]))
        return first + len(block[2])

    for block in pinned:
        while position < len(queue) and next_id + len(queue[position][2]) <= block[3]:
            next_id = emit(queue[position], next_id)
            position += 1
        if next_id > block[3]:
            raise SystemExit(f"{block[1]}: id {block[3]} is taken")
        next_id = emit(block, block[3])
    for block in queue[position:]:
        next_id = emit(block, next_id)
    return table


def sources_line(model, listings_naming):
    """model, base part, and every source with the columns it gave: FLASH型号 for a source that
    writes the name, the detail columns, and the controller columns a support list pairs."""
    by_source = {}
    for source in model.name_sources:
        by_source[source] = ["FLASH型号"]
    if model.ordering_source:
        by_source.setdefault(model.ordering_source, ["FLASH型号"])
    for column in DETAIL_COLUMNS:
        value = model.fields.get(column)
        for source in value.sources if value else []:
            columns = by_source.setdefault(source, [])
            if column not in columns:
                columns.append(column)
    # One entry per list family: "<title>, <repository@commit>:<path>, <path>, ..."
    families = {}
    named = [(listing, "FLASH型号") for listing in listings_naming.get(model.name, [])]
    used = [(listing, listing.maker) for listing, _ in getattr(model, "used_listings", [])]
    for listing, column in named + used:
        title, _, location = listing.source.rpartition(", ")
        if not title or "@" not in location or listing.source in by_source:
            title, location = listing.source, ""
        family = families.setdefault(title, ([], []))
        if location and location not in family[0]:
            family[0].append(location)
        if column not in family[1]:
            family[1].append(column)
    for title, (locations, columns_given) in families.items():
        if locations:
            repository, _, first = locations[0].partition(":")
            rest = [loc.partition(":")[2] for loc in locations[1:]]
            title = f"{title}, {repository}:" + ", ".join([first] + rest)
        columns = by_source.setdefault(title, [])
        columns.extend(c for c in columns_given if c not in columns)
    entries = [f"{source} {{{' '.join(columns)}}}" for source, columns in by_source.items()]
    return [model.name, model.base_part, " ; ".join(entries)]


def crosscheck_line(model):
    check = model.id_check
    return [model.name, check["id"], " ; ".join(check["families"]), check["agrees"],
            check["settled"], check["id_reading"], check["part_reading"],
            " ; ".join(check["sources"]), " ; ".join(check["other_ids"])]


def csv_text(rows):
    out = io.StringIO()
    csv.writer(out, lineterminator="\r\n").writerows(rows)
    return out.getvalue()


def build():
    listings = support_lists.read_listings()
    table_facts = flash_facts.read_facts()
    ordering_codes = flash_facts.read_ordering_codes()
    fixed_groups = {}
    for row in read_csv("fixed_rows.csv"):
        fixed_groups.setdefault(row["FLASH型号"], []).append(
            [row[c] for c in COLUMNS] + [row["sources"]])
    # Ordering codes documents write and the named rows are models whatever a list says.
    flags = name_flags.NameFlags(listings, table_facts,
                                 {code for _, code, _ in ordering_codes} | set(fixed_groups))
    facts = table_facts + support_lists.facts_of(listings, flags)
    listings_naming = {}
    for listing in listings:
        listings_naming.setdefault(listing.part, []).append(listing)
    candidates = collect_models(facts, listings_naming, flags, ordering_codes,
                                read_scheme_sources())
    for name, marked in flags.lot_markings_of().items():
        if name in candidates:
            candidates[name].fields["备注"] = flash_facts.Value(
                marking_text(sorted(marked)),
                list(dict.fromkeys(l.source for m in marked for l in listings_naming[m])))
    pairings = support_lists.Pairings(listings, flags)
    ids_of_names = {m.name: id_alternatives(m) for m in candidates.values()}
    for model in candidates.values():
        model.pairings = pairings.of(model.name, model.base_part, model.maker,
                                     id_alternatives(model), ids_of_names)
    for name in fixed_groups:
        candidates.pop(name, None)
    models = sorted(candidates.values(), key=lambda m: m.name)
    blocks = [model_block(m) for m in models]
    blocks += [fixed_block(name, rows) for name, rows in fixed_groups.items()]
    rows = build_rows(blocks)
    source_rows = [sources_line(m, listings_naming) for m in models]
    source_rows += [[name, name, group[0][len(COLUMNS)]] for name, group in fixed_groups.items()]
    checks = [crosscheck_line(m) for m in models if m.id_check]
    return {
        "flash_data.csv": csv_text([COLUMNS] + rows),
        "flash_sources.csv": csv_text([["model", "base_part", "sources"]] + sorted(source_rows)),
        "id_crosscheck.csv": csv_text([["model", "id", "families", "part_number_agrees",
                                        "settled", "id_reading", "part_number_reading",
                                        "sources", "other_ids"]] + checks),
        "name_flags.csv": csv_text([["name", "reason", "evidence", "stands_for", "lists"]] +
                                   flags.lines()),
        "pairings.csv": csv_text([["model", "maker", "chip", "kind", "list"]] +
                                 [line for m in models for line in pairing_lines(m)] +
                                 named_row_pairings(fixed_groups)),
    }


def named_row_pairings(fixed_groups):
    """The controller cells of the named rows, which are kept as given."""
    lines = []
    for name, rows in fixed_groups.items():
        for row in rows:
            for maker, chip in zip(CONTROLLER_MAKERS, row[len(DETAIL_COLUMNS) + 1:len(COLUMNS)]):
                if chip and [name, maker, chip, support_lists.NAMED_ROW, ""] not in lines:
                    lines.append([name, maker, chip, support_lists.NAMED_ROW, ""])
    return lines


def marking_text(markings):
    """The lot markings a part is listed beside, as many as the 备注 column holds, then how many
    more there are (name_flags.csv lists them all)."""
    text = "marking:"
    for shown, marking in enumerate(markings):
        rest = len(markings) - shown - 1
        if len(f"{text} {marking}") + (len(f" +{rest}") if rest else 0) > MAX_TEXT_LENGTH:
            return f"{text} +{len(markings) - shown}"
        text += " " + marking
    return text


def pairing_lines(model):
    """One line per controller chip a model's rows name: how the list reached the model."""
    return [[model.name, listing.maker, chip_label(listing), kind, listing.list_key]
            for listing, kind in model.used_listings]


def main():
    targets = {RESOURCES / name: text for name, text in build().items()}
    if "--check" in sys.argv[1:]:
        stale = [p.name for p, text in targets.items()
                 if not p.exists() or p.read_bytes() != text.encode("utf-8")]
        if stale:
            raise SystemExit("out of date, run tools/dataset/build_dataset.py: " + ", ".join(stale))
        return
    for path, text in targets.items():
        path.write_bytes(text.encode("utf-8"))


if __name__ == "__main__":
    main()
