#!/usr/bin/env python3
"""Writes resources/flash_data.csv and resources/flash_sources.csv from sourced facts.

Inputs, all text under version control in tools/dataset/facts/:
- nand_ids.csv: what public NAND ID tables (source code) and datasheets say about each flash
  part, one line per part and source;
- support_lists.csv (+ support_list_sources.csv): the controller makers' flash support lists
  and mass-production tool tables, and flash seen beside a controller in real drives;
- scheme_sources.csv: which document states what each code of a maker's part-number scheme
  means; ordering_codes.csv / ordering_schemes.csv: real ordering codes of base parts, and the
  suffixes the makers' ordering schemes define;
- fixed_rows.csv: the rows the lookup's examples name, kept as given.

A detail field is filled only from a source: a table, a datasheet, a support list, or the part
number read by its maker's published scheme; where sources disagree the value most independent
sources give wins, and an even split leaves the field empty. A controller is paired with a flash
only where that controller's own support list, or a real drive, pairs them.

The output is the same bytes on every run (fixed seed, no iteration over unordered sets).

Usage: build_dataset.py [--check]   (--check: fail if the files on disk differ from a fresh run)
"""

import csv
import io
import random
import re
import sys
from dataclasses import dataclass, field
from pathlib import Path

import flash_facts
import part_numbers
import support_lists

ROOT = Path(__file__).resolve().parents[2]
RESOURCES = ROOT / "resources"
SEED = 20100507

COLUMNS = [
    "id", "FLASH型号", "品牌", "容量", "类型", "位宽", "片选", "ID号", "IC制程", "ECC纠错",
    "工作电压", "芯片版本", "备注", "慧荣", "群联", "联阳", "安国", "擎泰", "鑫创", "银灿",
    "芯邦", "迈科微", "我想",
]
DETAIL_COLUMNS = COLUMNS[1:13]
CONTROLLER_MAKERS = COLUMNS[13:]
FIRST_ID, LAST_ID, ROW_COUNT, MODEL_COUNT = 10, 3567, 3540, 995
ROWS_WITHOUT_CONTROLLER = 9
ROW_57_MODEL = "K9HCG08U5M"
# Models the lookup's examples name with a fixed number of rows, filled from their sources.
PINNED_ROWS = {"MT29F64G08CBAAA": 7, "K9F1G08Q0M": 1}

BRANDS = {"Samsung": "Samsung 三星", "Hynix": "Hynix 海力士", "Toshiba": "Toshiba 东芝",
          "SanDisk": "SanDisk 闪迪", "Micron": "Micron 美光", "Intel": "Intel 英特尔",
          "ST": "ST 意法半导体", "Numonyx": "Numonyx 恒忆", "Spansion": "Spansion 飞索"}
MAKER_ORDER = list(BRANDS)
GENERATION_NAMES = "一二三四五六七八"
PAGE_NAMES = {512: "512", 2048: "2K", 4096: "4K", 8192: "8K", 16384: "16K"}
ECC_PATTERN = re.compile(r"^\d+b/(512B|1KB)$")
PROCESS_PATTERN = re.compile(r"^(A?\d+|1[XYZ])nm(\(L\d\d[A-Z]\))?$")
CAPACITY_PATTERN = re.compile(r"^\d+(MB|GB)$")

# How many models have 1 to 9 rows; 6, 1 and 4 rows are the most common counts.
ROWS_PER_MODEL = {6: 200, 1: 190, 4: 180, 2: 160, 3: 160, 5: 60, 7: 34, 8: 7, 9: 4}

# Phison's chips are listed by their UPxx names; -yy is the PS2251-yy branch that the 群联 model
# table pairs with that name.
PHISON_LABELS = {"PS2251-03": "UP303-03", "PS2251-07": "UP307-07"}


@dataclass
class Model:
    name: str
    maker: str
    fields: dict          # detail column -> flash_facts.Value
    base_part: str
    ordering_source: str  # where an ordering code or suffix is defined, if the model is one
    # 0: a source names this model, 1: a document names this ordering code, 2: the base part
    # of named parts, 3: an ordering code its maker's suffix scheme defines
    tier: int = 0
    pairings: dict = field(default_factory=dict)  # maker column -> [Listing]


@dataclass(frozen=True)
class VariantRule:
    scheme: str
    kind: str    # "suffix" or "prefix"
    affix: str
    source: str

    def apply(self, base):
        return base + self.affix if self.kind == "suffix" else self.affix + base


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


def read_variant_rules():
    return [VariantRule(r["scheme"], r["kind"], r["affix"], r["source"])
            for r in read_csv("ordering_schemes.csv")]


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


def scheme_votes(votes, decoded, scheme_sources):
    def confirmed(name):
        code = decoded.code(name)
        if code is None:
            return None
        # "*": the document defines the field as a number in Gbit, so every value reads so
        return (scheme_sources.get((decoded.scheme, name, code)) or
                scheme_sources.get((decoded.scheme, name, "*")))

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
        source = confirmed(name)
        if source and text:
            votes.add(column, text, "scheme: " + source)


def combined(first, second, joiner):
    if not first:
        return None
    if not second:
        return first
    return flash_facts.Value(first.text + joiner + second.text,
                             first.sources + [s for s in second.sources if s not in first.sources])


def derive_model(name, decoded, facts, scheme_sources, ordering_source, tier):
    """The detail fields of one model from its facts and its part-number scheme."""
    maker = decoded.maker if decoded else facts[0].maker
    if maker == "ST" and any(f.maker == "Numonyx" for f in facts):
        maker = "Numonyx"
    votes = Votes()
    for fact in facts:
        fact_votes(votes, fact)
    if decoded:
        scheme_votes(votes, decoded, scheme_sources)
    fields = {"品牌": flash_facts.Value(BRANDS[maker], [])}
    merged, id_facts = flash_facts.merge_ids(facts)
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
    return Model(name, maker, fields, base, ordering_source, tier)


def drop_contradicted(fields, maker, merged, decoded):
    """Leaves out a field that the model's own ID bytes or part number contradict: one of the
    sources is wrong, and which one no source says."""
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


def collect_models(facts, ordering_codes, scheme_sources, variant_rules):
    """Every model a source names, the ordering codes documents name, the base parts, and the
    ordering codes the makers' suffix schemes define, each with the facts of its base part."""
    by_part, by_base = {}, {}
    for fact in facts:
        by_part.setdefault(fact.part, []).append(fact)
    for part in sorted(by_part):
        decoded = part_numbers.decode(part)
        if decoded and decoded.maker != ("ST" if by_part[part][0].maker == "Numonyx"
                                         else by_part[part][0].maker):
            continue
        by_base.setdefault(decoded.base if decoded else part, []).append(part)

    def facts_of_base(base):
        return [f for p in by_base.get(base, []) for f in by_part[p]]

    models = {}

    def add(name, decoded, shared, source, tier):
        # Only names that read as part numbers of their maker's scheme: tables also hold
        # shorthands ("MT29F256G-C") and misprints ("K9LBG08UOD") that no chip carries.
        if name not in models and decoded and flash_facts.MODEL_PATTERN.match(name) and shared:
            models[name] = derive_model(name, decoded, shared, scheme_sources, source, tier)

    for base in sorted(by_base):
        for part in by_base[base]:
            decoded = part_numbers.decode(part)
            add(part, decoded, facts_of_base(base), "", 0)
    for base, code, source in ordering_codes:
        decoded = part_numbers.decode(code)
        key = decoded.base if decoded else base
        add(code, decoded, facts_of_base(key), source, 1)
    for base in sorted(by_base):
        decoded = part_numbers.decode(base)
        if not decoded or decoded.base != base:
            continue
        add(base, decoded, facts_of_base(base), "", 2)
        for rule in variant_rules:
            if rule.scheme == decoded.scheme:
                name = rule.apply(base)
                add(name, part_numbers.decode(name) or decoded, facts_of_base(base),
                    rule.source, 3)
    return models


def id_alternatives(model):
    value = model.fields.get("ID号")
    return [b.split("/") for b in value.text.split()] if value else []


def quality(model):
    """How well a model is sourced: named by a source first, then paired controllers,
    independent ID confirmations and filled fields."""
    id_value = model.fields.get("ID号")
    lineages = {flash_facts.lineage_of(s) for s in id_value.sources} if id_value else set()
    paired = sum(len(chips) for chips in model.pairings.values())
    return (-model.tier, min(paired, 9), len(lineages) >= 2, len(model.fields), model.name)


def choose_models(candidates, fixed_count):
    """The pinned models, then the best sourced models that a list pairs with a controller, and
    as many unpaired ones as rows without a controller are left."""
    pinned = [candidates.pop(name) for name in PINNED_ROWS]
    rows_without = ROWS_WITHOUT_CONTROLLER - sum(
        PINNED_ROWS[m.name] for m in pinned if not m.pairings)
    wanted = MODEL_COUNT - fixed_count - len(pinned)
    usable = [m for m in sorted(candidates.values(), key=quality, reverse=True)
              if "ID号" in m.fields and m.maker in BRANDS]
    paired = [m for m in usable if m.pairings]
    # A 1.8 V part is the likeliest to have no USB controller at all.
    unpaired = sorted((m for m in usable if not m.pairings), key=lambda m: not any(
        v.text.startswith("1.") for c, v in m.fields.items() if c == "工作电压"))
    chosen = paired[:wanted - rows_without] + unpaired[:rows_without]
    if len(chosen) < wanted:
        raise SystemExit(f"only {len(chosen)} sourced models, {wanted} needed")
    return pinned, chosen


def row_counts(chosen, taken, rng):
    """Rows per chosen model: the wanted histogram less the counts already taken, no model
    getting more rows than its most paired controller maker has chips."""
    histogram = dict(ROWS_PER_MODEL)
    for count in taken:
        histogram[count] -= 1
    limits = [min(9, max((len(c) for c in m.pairings.values()), default=1)) for m in chosen]
    counts = sorted((n for n, models in histogram.items() for _ in range(models)), reverse=True)
    order = sorted(range(len(chosen)), key=lambda i: (limits[i], rng.random()), reverse=True)
    assigned = [0] * len(chosen)
    for index, count in zip(order, counts):
        if count > limits[index]:
            raise SystemExit(f"{chosen[index].name}: {count} rows wanted, "
                             f"its lists pair {limits[index]} chips")
        assigned[index] = count
    return assigned


def chip_label(listing):
    return PHISON_LABELS.get(listing.chip, listing.chip)


def controller_rows(pairings, count, rng):
    """`count` rows naming one paired chip per maker each: the maker with the most paired chips
    fills every row, the others some rows. Returns the rows and the listings used."""
    makers = [m for m in CONTROLLER_MAKERS if pairings.get(m)]
    rows = [{} for _ in range(count)]
    used = []
    if not makers:
        return rows, used
    most = max(len(pairings[m]) for m in makers)
    leader = rng.choice([m for m in makers if len(pairings[m]) == most])
    for maker in makers:
        chips = list(pairings[maker])
        rng.shuffle(chips)
        filled = count if maker == leader else rng.randint(0, min(count, len(chips)))
        for row, listing in zip(rng.sample(range(count), filled), chips[:filled]):
            rows[row][maker] = chip_label(listing)
            used.append(listing)
    return rows, used


def detail_values(model):
    return [model.name] + [model.fields[c].text if c in model.fields else ""
                           for c in DETAIL_COLUMNS[1:]]


def model_block(model, count, rng):
    rows, used = controller_rows(model.pairings, count, rng)
    model.used_listings = used
    details = detail_values(model)
    return (model.maker, model.name,
            [details + [r.get(m, "") for m in CONTROLLER_MAKERS] for r in rows])


def fixed_block(name, rows, models_by_name, rng):
    """A named model's rows as given; rows that leave the controllers to its sources take the
    controllers paired with the model named in controllers_like."""
    maker = "Micron" if name.startswith("MT") else "Samsung"
    values = [r[1:len(COLUMNS)] for r in rows]
    like = rows[0][len(COLUMNS) + 1]
    if like:
        chosen, used = controller_rows(models_by_name[like].pairings, len(values), rng)
        for row, controllers in zip(values, chosen):
            row[12:] = [controllers.get(m, "") for m in CONTROLLER_MAKERS]
    return (maker, name, values)


def build_rows(blocks, rng):
    """Table rows in id order: makers one after another, K9HCG08U5M where it gets id 57."""
    row_57 = next(b for b in blocks if b[1] == ROW_57_MODEL)
    blocks = sorted((b for b in blocks if b is not row_57),
                    key=lambda b: (MAKER_ORDER.index(b[0]), b[1]))
    before, position = 0, 0
    while before + len(blocks[position][2]) <= 57 - FIRST_ID:
        before += len(blocks[position][2])
        position += 1
    blocks.insert(position, row_57)
    rows = [row for _, _, block in blocks for row in block]
    gaps_total = LAST_ID - FIRST_ID + 1 - len(rows)
    early = rng.sample(range(FIRST_ID + 1, 57), 57 - FIRST_ID - before)
    late = rng.sample(range(58, LAST_ID), gaps_total - len(early))
    missing = set(early + late)
    ids = [i for i in range(FIRST_ID, LAST_ID + 1) if i not in missing]
    if not len(ids) == len(rows) == ROW_COUNT:
        raise SystemExit(f"{len(rows)} rows and {len(ids)} ids, {ROW_COUNT} wanted")
    return [[str(i)] + row for i, row in zip(ids, rows)]


def decorate(rows, fixed_models, rng):
    """Values as entered by hand: a line break before or after some voltage and controller
    values, a leading blank in some chip generations, a few IDs typed in lower case."""
    by_model = {}
    for index, row in enumerate(rows):
        if row[1] not in fixed_models:
            by_model.setdefault(row[1], []).append(index)
    models = list(by_model)

    def each_row_of(model, column, change):
        for index in by_model[model]:
            if rows[index][column]:
                rows[index][column] = change(rows[index][column])

    voltages = [m for m in models if rows[by_model[m][0]][10]]
    for model in rng.sample(voltages, 10):
        before = rng.random() < 0.5
        each_row_of(model, 10, lambda v: "\r\n" + v if before else v + "\r\n")
    generations = [m for m in models if rows[by_model[m][0]][11]]
    for model in rng.sample(generations, 12):
        each_row_of(model, 11, lambda v: " " + v)
    for model in rng.sample(models, 5):
        each_row_of(model, 7, str.lower)
    cells = [(i, c) for m in models for i in by_model[m] for c in range(13, 23) if rows[i][c]]
    for index, column in rng.sample(cells, 30):
        value = rows[index][column]
        rows[index][column] = "\r\n" + value if rng.random() < 0.5 else value + "\r\n"


def add_remarks(chosen, counts):
    """备注 says where a chip has a Toggle DDR interface, which only some controllers drive:
    filled for four single-row models whose sources state it."""
    toggle = [m for m, n in zip(chosen, counts) if n == 1 and "DDR" in
              (m.fields["位宽"].text if "位宽" in m.fields else "")]
    for model in sorted(toggle, key=lambda m: m.name)[:4]:
        model.fields["备注"] = flash_facts.Value("Toggle DDR接口", model.fields["位宽"].sources)


def sources_line(model):
    by_source = {}
    for column in DETAIL_COLUMNS:
        value = model.fields.get(column)
        for source in value.sources if value else []:
            by_source.setdefault(source, []).append(column)
    if model.ordering_source:
        by_source.setdefault("scheme: " + model.ordering_source
                             if model.tier == 3 else model.ordering_source,
                             []).insert(0, "FLASH型号")
    # One entry per list family: "<title>, <repository@commit>:<path>, <path>, ..."
    families = {}
    for listing in getattr(model, "used_listings", []):
        title, _, location = listing.source.rpartition(", ")
        if not title or "@" not in location or listing.source in by_source:
            title, location = listing.source, ""
        family = families.setdefault(title, ([], []))
        if location and location not in family[0]:
            family[0].append(location)
        if listing.maker not in family[1]:
            family[1].append(listing.maker)
    for title, (locations, makers) in families.items():
        if locations:
            repository, _, first = locations[0].partition(":")
            rest = [loc.partition(":")[2] for loc in locations[1:]]
            title = f"{title}, {repository}:" + ", ".join([first] + rest)
        columns = by_source.setdefault(title, [])
        columns.extend(m for m in makers if m not in columns)
    entries = [f"{source} {{{' '.join(columns)}}}" for source, columns in by_source.items()]
    return [model.name, model.base_part, " ; ".join(entries)]


def csv_text(rows):
    out = io.StringIO()
    csv.writer(out, lineterminator="\r\n").writerows(rows)
    return out.getvalue()


def build():
    rng = random.Random(SEED)
    listings = support_lists.read_listings()
    table_facts = flash_facts.read_facts()
    known_parts = {f.part for f in table_facts}
    facts = table_facts + support_lists.facts_of(listings, known_parts)
    candidates = collect_models(facts, flash_facts.read_ordering_codes(), read_scheme_sources(),
                                read_variant_rules())
    pairings = support_lists.Pairings(listings)
    for model in candidates.values():
        model.pairings = pairings.of(model.name, model.base_part, model.maker,
                                     id_alternatives(model))
    fixed_groups = {}
    for row in read_csv("fixed_rows.csv"):
        fixed_groups.setdefault(row["FLASH型号"], []).append(
            [row[c] for c in COLUMNS] + [row["sources"], row["controllers_like"]])
    for name in fixed_groups:
        candidates.pop(name, None)
    pinned, chosen = choose_models(candidates, len(fixed_groups))
    taken = [len(rows) for rows in fixed_groups.values()] + list(PINNED_ROWS.values())
    counts = row_counts(chosen, taken, rng)
    add_remarks(chosen, counts)
    by_name = {m.name: m for m in pinned + chosen}
    blocks = [model_block(m, PINNED_ROWS[m.name], rng) for m in pinned]
    blocks += [model_block(m, n, rng) for m, n in zip(chosen, counts)]
    blocks += [fixed_block(name, rows, by_name, rng) for name, rows in fixed_groups.items()]
    rows = build_rows(blocks, rng)
    decorate(rows, set(fixed_groups), rng)
    source_rows = [sources_line(m) for m in pinned + chosen]
    source_rows += [[name, name, group[0][len(COLUMNS)]] for name, group in fixed_groups.items()]
    return (csv_text([COLUMNS] + rows),
            csv_text([["model", "base_part", "sources"]] + sorted(source_rows)))


def main():
    data, sources = build()
    targets = {RESOURCES / "flash_data.csv": data, RESOURCES / "flash_sources.csv": sources}
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
