"""The controller makers' published flash support lists: which controller chip drives which flash.

tools/dataset/facts/support_lists.csv holds one line per (list, controller chip, flash) as the
list names it: ChipsBank's and Alcor's support lists, the flash tables of Silicon Motion's,
Innostor's and Phison's mass-production tools, and flash seen beside a controller in real drives.
A list names a flash by part number (matched to a model by its part number or its base part) or
by ID bytes (matched to a model whose ID begins so): Innostor's tables by ID bytes only, Phison's
table and the observed drives both ways.
The details a list gives (cell type, page, capacity, ...) are facts about the flash, too.
"""

import csv
import re
from dataclasses import dataclass

import flash_facts
import part_numbers

VENDORS = set(flash_facts.MAKER_CODES)
# Some Silicon Motion tables store a tool setting after the fourth byte: one value for almost
# every flash they list (06/86, 04/84, 80, 46, 28, 10/90), where real fifth ID bytes vary.
FOUR_BYTE_TABLES = re.compile(r"^smi-(321|324|325A|3252|3255AA$|3255ENAA$)")


@dataclass(frozen=True)
class Listing:
    list_key: str
    maker: str      # controller maker column
    chip: str
    part: str
    id_bytes: tuple
    details: dict
    source: str


def _clean_id(listing_key, text, details):
    id_bytes = text.split()
    if len(id_bytes) < 4 or details.get("listed_under") or not all(
            flash_facts.HEX_BYTE.match(b) for b in id_bytes):
        return ()
    # A small-page part's ID is two bytes; a tool table's further bytes for it are not ID bytes.
    if id_bytes[1] in flash_facts.SMALL_PAGE_DEVICES:
        return ()
    if FOUR_BYTE_TABLES.match(listing_key):
        id_bytes = id_bytes[:4]
    # Reading past the last ID byte starts over at the maker code.
    if len(id_bytes) >= 5 and id_bytes[-1] == id_bytes[0]:
        id_bytes = id_bytes[:-1]
    return tuple(id_bytes)


def read_listings():
    with open(flash_facts.FACTS / "support_list_sources.csv", newline="", encoding="utf-8") as f:
        sources = {row["list"]: row["source"].replace(" ; ", ", ") for row in csv.DictReader(f)}
    listings = []
    with open(flash_facts.FACTS / "support_lists.csv", newline="", encoding="utf-8") as handle:
        for row in csv.DictReader(handle):
            details = dict(item.split("=", 1) for item in row["details"].split())
            listings.append(Listing(row["list"], row["maker"], row["chip"],
                                    flash_facts.normalise_part(row["part"]),
                                    _clean_id(row["list"], row["id"], details), details,
                                    sources[row["list"]]))
    return listings


def _lineage(listing_key):
    return listing_key.split("-")[0]


def facts_of(listings, flags):
    """What the lists say about each flash part they name, one fact per part and list family.
    Every name that `flags` (name_flags.NameFlags) holds a model gives its facts, whether or not
    a scheme of ours reads it."""
    facts, seen = [], set()
    for listing in listings:
        vendor = listing.details.get("vendor")
        vendor = flash_facts.MAKER_SPELLINGS.get(vendor, vendor)
        # A table that names no maker gives it by the maker code, the first ID byte.
        if not vendor and listing.id_bytes:
            vendor = flash_facts.MAKER_OF_CODE.get(listing.id_bytes[0])
        vendor = vendor if vendor in VENDORS else None
        part = listing.part
        if not vendor or not part or listing.details.get("naming") or not flags.is_model(part):
            continue
        key = (_lineage(listing.list_key), part, listing.id_bytes)
        if key in seen:
            continue
        seen.add(key)
        d = listing.details
        process = d.get("process")
        if process and d.get("die"):
            process = f"{process}({d['die']})"
        page = {"512": 512, "2K": 2048, "4K": 4096, "8K": 8192, "16K": 16384}.get(d.get("page"))
        given = {name for name, value in (
            ("id", listing.id_bytes), ("page", page), ("cell", d.get("cell")),
            ("ecc", d.get("ecc")), ("width", d.get("width")), ("process", process),
            ("ce", d.get("ce")), ("capacity", d.get("capacity")),
            ("interface", d.get("interface"))) if value}
        facts.append(flash_facts.Fact(
            part=part, maker=vendor, id_bytes=list(listing.id_bytes) or None, page=page,
            cell=d.get("cell"), ecc=d.get("ecc"),
            width=int(d["width"]) if d.get("width", "").isdigit() else None,
            interface=d.get("interface"), process=process,
            ce=int(d["ce"]) if d.get("ce", "").isdigit() else None,
            source=listing.source, fields=given, capacity=d.get("capacity")))
    return facts


# How a list reaches a model: it writes the model's name (or a misprint of it), it writes an
# ordering code of the same base part whose ID bytes are the model's, or it gives the model's
# exact ID bytes.
# The rows the lookup's examples name are kept as given, with their controllers.
OWN_NAME, ORDERING_CODE, EXACT_ID = "own name", "ordering code with matching ID", "exact ID"
NAMED_ROW = "named row as given"


def ids_match(listed, alternatives):
    """Whether ID bytes a list gives are those of a model: every byte both give agrees."""
    shared = min(len(listed), len(alternatives))
    return shared >= 4 and all(listed[i] in alternatives[i] for i in range(shared))


class Pairings:
    """Which listed controller chips drive a model: by its own name, by an ordering code of it
    whose ID bytes match, or by its exact ID bytes; never through a base part alone."""

    def __init__(self, listings, flags):
        self.by_name, self.by_base, self.by_id = {}, {}, {}
        for listing in listings:
            # Innostor's and Phison's tools match a flash by its ID bytes, as a drive does; so
            # does any list that names a chip only by a label and its ID bytes.
            by_id = listing.list_key.startswith(("innostor", "phison")) or \
                listing.details.get("observed") or not flags.is_model(listing.part)
            if by_id and len(listing.id_bytes) >= 5:
                self.by_id.setdefault(listing.id_bytes[:4], []).append(listing)
            for name in flags.real_names(listing.part) if listing.part else ():
                self.by_name.setdefault(name, []).append(listing)
                decoded = part_numbers.decode(name)
                if decoded and decoded.base != name:
                    self.by_base.setdefault(decoded.base, []).append((name, listing))
                self.by_base.setdefault(name, []).append((name, listing))

    def of(self, model_name, base_part, maker, id_alternatives, ids_of_names):
        """{controller maker column: [(Listing, kind), ...]}: one listing per chip, in list
        order. `ids_of_names`: the ID alternatives of each model, for a listing that gives no
        ID bytes of its own."""
        found = {}

        def add(listing, kind):
            found.setdefault(listing.maker, {}).setdefault(listing.chip, (listing, kind))

        for listing in self.by_name.get(model_name, []):
            add(listing, OWN_NAME)
        if id_alternatives:
            for name, listing in self.by_base.get(base_part, []):
                if name == model_name:
                    continue
                listed = listing.id_bytes or tuple(
                    alternatives[0] for alternatives in ids_of_names.get(name, []))
                if ids_match(listed, id_alternatives):
                    add(listing, ORDERING_CODE)
            first_bytes = tuple(alternatives[0] for alternatives in id_alternatives)
            for listing in self.by_id.get(first_bytes[:4], []):
                vendor = listing.details.get("vendor", maker)
                vendor = flash_facts.MAKER_SPELLINGS.get(vendor, vendor)
                if vendor == maker and len(id_alternatives) >= len(listing.id_bytes) and \
                        ids_match(listing.id_bytes, id_alternatives):
                    add(listing, EXACT_ID)
        return {maker_column: list(chips.values()) for maker_column, chips in found.items()}
