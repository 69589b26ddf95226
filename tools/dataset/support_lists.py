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


def facts_of(listings, known_parts):
    """What the lists say about each flash part they name, one fact per part and list family."""
    facts, seen = [], set()
    for listing in listings:
        vendor = listing.details.get("vendor")
        vendor = flash_facts.MAKER_SPELLINGS.get(vendor, vendor)
        # A table that names no maker gives it by the maker code, the first ID byte.
        if not vendor and listing.id_bytes:
            vendor = flash_facts.MAKER_OF_CODE.get(listing.id_bytes[0])
        vendor = vendor if vendor in VENDORS else None
        part = listing.part
        if not vendor or listing.details.get("naming") or (
                listing.list_key.startswith("innostor") or
                not (part_numbers.decode(part) or part in known_parts or
                     flash_facts.is_marking(part))):
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


class Pairings:
    """Which listed controller chips drive a model, by part number, base part or ID bytes."""

    def __init__(self, listings):
        self.by_part, self.by_id = {}, {}  # by_id: first four ID bytes -> listings
        for listing in listings:
            # Innostor's and Phison's tools match a flash by its ID bytes, as a drive does.
            by_id = listing.list_key.startswith(("innostor", "phison")) or \
                listing.details.get("observed")
            if by_id and len(listing.id_bytes) >= 5:
                self.by_id.setdefault(listing.id_bytes[:4], []).append(listing)
            # Innostor's tables name the flash loosely; Phison's table and drives seen with a
            # named flash pair by that name too.
            if listing.list_key.startswith("innostor") or not listing.part:
                continue
            decoded = part_numbers.decode(listing.part)
            for name in {listing.part, decoded.base if decoded else listing.part}:
                self.by_part.setdefault(name, []).append(listing)

    def of(self, model_name, base_part, maker, id_alternatives):
        """{controller maker column: [Listing, ...]}: one listing per chip, in list order."""
        found = {}
        for name in (model_name, base_part):
            for listing in self.by_part.get(name, []):
                found.setdefault(listing.maker, {}).setdefault(listing.chip, listing)
        first_bytes = tuple(alternatives[0] for alternatives in id_alternatives or [])
        for listing in self.by_id.get(first_bytes[:4], []):
            vendor = listing.details.get("vendor", maker)
            vendor = flash_facts.MAKER_SPELLINGS.get(vendor, vendor)
            if vendor == maker and first_bytes[:len(listing.id_bytes)] == listing.id_bytes:
                found.setdefault(listing.maker, {}).setdefault(listing.chip, listing)
        return {maker_column: list(chips.values()) for maker_column, chips in found.items()}
