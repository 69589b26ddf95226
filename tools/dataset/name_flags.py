"""Which names the support lists write are no chip's name, and the evidence for each.

Every name a list writes is a model unless evidence says it is not a part number:
- placeholder: a label in place of a part (a maker's name, a capacity: `SANDISK_45DA8095`,
  `NAND_32MB`), or marked so where the list was transcribed;
- shorthand: a pattern or an abbreviation for several parts (`K9XXG08UXM`, `MT29F32G08`,
  `SDTNNNAHEM-`), or marked so;
- note: a process or die code written where the part goes (`L74A`, `B74A_QDP`), or the part
  with a note written after it that the list gives elsewhere without it;
- lot-marking: digits and letters printed on a package (`90A18NW176`) that no scheme reads,
  listed beside a part that the same list gives the same ID bytes;
- misprint: one character away from a name other sources write for the same ID bytes, where that
  name reads by its maker's scheme and this one does not or reads with a code no scheme has
  (`M29F256G08CJAAA`, `K9GBC08U0A`), or marked so where the list was transcribed.
Whether our decoder reads a name is never, alone, a reason to leave it out.
"""

import re
from dataclasses import dataclass

import flash_facts
import part_numbers

REASONS = ("placeholder", "shorthand", "note", "lot-marking", "misprint")
# How the transcription of a list marks a name that is no part's name.
TRANSCRIBED_MARKS = {"placeholder": "placeholder", "shorthand": "shorthand",
                     "process-code": "note", "misprint": "misprint"}

MAKER_NAME = re.compile(
    r"(SAMSUNG|HYNIX|TOSHIBA|SANDISK|MICRON|MTRON|INTEL|SPECTEK|KIOXIA|POWERCHIP|NUMONYX|"
    r"^ST_|NANYA|MXIC|DUALDIE)")
CAPACITY = re.compile(r"(^|[_-])\d+(MB|GB|G|M|NM)?([_-]|$)|^\d+GB")
# A part number cut before its scheme's fields (MT29F32G08) or ending at a separator.
CUT_SHORT = re.compile(r"^(MT29F\d+[GT](08|16)?|29F\d+[GB](08|16)?|K9[A-Z]{2}G?|"
                       r"T[CH]58[A-Z]{3}G?\d?)$|[-_]$")
# A die or process code: Micron's L74A, B17A, N18A; codes of four characters or fewer.
DIE_CODE = re.compile(r"^([BLN]\d\d[A-Z])([_ -]?[A-Z0-9]*)$|^[A-Z0-9]{1,4}$")
# Micron's package markings: a date and lot code such as 90A18NW176, 2QAI2NX448 or 3XA22-NW512.
LOT_MARKING = re.compile(r"^[0-9A-Z]{5}-?N[WX]\d{3}$|^N[WX]\d{3}$")
# Characters a transcription confuses: letter O and digit zero, letter I and digit one.
CONFUSED = {("O", "0"), ("0", "O"), ("I", "1"), ("1", "I")}


@dataclass(frozen=True)
class Flag:
    name: str
    reason: str
    evidence: str
    stands_for: tuple = ()  # misprint: the real name; lot marking: the parts it is listed beside
    lists: tuple = ()


def one_edit_apart(first, second, any_letter=False):
    """Whether one character added or left out, or one replaced by a character a transcription
    confuses with it (any character where `any_letter`), turns one name into the other. A
    letter replaced by another letter alone is no evidence: parts of one family differ so
    (MT29F8G08MAB, MT29F8G08MAD)."""
    if first == second or abs(len(first) - len(second)) > 1:
        return False
    if len(first) == len(second):
        changed = [(a, b) for a, b in zip(first, second) if a != b]
        return len(changed) == 1 and (any_letter or changed[0] in CONFUSED)
    shorter, longer = sorted((first, second), key=len)
    for cut in range(len(longer)):
        if longer[:cut] + longer[cut + 1:] == shorter:
            return True
    return False


# The form every density code of the Samsung and Hynix schemes has: two digits (Mbit), a digit
# or letter and G (Gbit), a digit and T (Tbit). A code of this form that our table lacks may be
# a newer one; a code of another form is in no scheme.
DENSITY_CODE_FORM = re.compile(r"^(\d\d|[0-9A-Z]G|\dT)$")


def unknown_code(decoded):
    """The field of a read part number whose code has no form its scheme gives codes."""
    density = decoded.code("density")
    if decoded.scheme in ("samsung", "hynix", "hynix-legacy") and density and \
            not DENSITY_CODE_FORM.match(density):
        return "density"
    if decoded.scheme == "samsung" and decoded.cell is None:
        return "class"
    return None


def same_maker(name, maker_code):
    """Whether a name is not another maker's part than the ID bytes' maker code names."""
    decoded = part_numbers.decode(name)
    return not decoded or flash_facts.MAKER_CODES[decoded.maker] == maker_code


def reads(name):
    decoded = part_numbers.decode(name)
    return decoded is not None and unknown_code(decoded) is None


@dataclass(frozen=True)
class Mention:
    """A name an ID table or datasheet writes, in the shape of a list's listing."""
    part: str
    list_key: str
    id_bytes: tuple
    details: tuple = ()


class NameFlags:
    """Decides, for every name the lists write, whether it is a model, and why not."""

    def __init__(self, listings, table_facts, documented):
        """`listings`: support_lists.Listing; `table_facts`: flash_facts.Fact of the ID tables
        and datasheets; `documented`: ordering codes documents write (always models)."""
        self.flags = {}
        by_name, by_id = {}, {}
        mentions = list(listings) + [Mention(f.part, flash_facts.lineage_of(f.source),
                                             tuple(flash_facts.significant_id(f.id_bytes))
                                             if f.id_bytes else ())
                                     for f in table_facts]
        for mention in mentions:
            by_name.setdefault(mention.part, []).append(mention)
            if len(mention.id_bytes) >= 4:
                by_id.setdefault(mention.id_bytes[:4], set()).add(mention.part)
        self.by_name = by_name
        for name, named in by_name.items():
            if not name or name in documented:
                continue
            flag = self._judge(name, named, by_id, by_name)
            if flag:
                self.flags[name] = flag

    def _judge(self, name, named, by_id, by_name):
        lists = tuple(sorted({listing.list_key for listing in named}))
        marks = [TRANSCRIBED_MARKS[dict(listing.details).get("naming")] for listing in named
                 if dict(listing.details).get("naming") in TRANSCRIBED_MARKS]
        # Every list that writes it marks it: a list that does not is a listing of the part.
        if marks and len(marks) == len(named):
            reason = max(sorted(set(marks)), key=marks.count)
            return Flag(name, reason, "marked so where the list was transcribed",
                        self._real_name(name, named, by_id, by_name) if reason == "misprint"
                        else (), lists)
        decoded = part_numbers.decode(name)
        real = self._real_name(name, named, by_id, by_name,
                               bool(decoded and unknown_code(decoded)))
        if real and (not decoded or unknown_code(decoded)) and all(
                r.startswith(name) or r + "X" == name for r in real):
            return Flag(name, "shorthand", "cut short of " + ", ".join(real) +
                        ", which other lists write for the same ID bytes", (), lists)
        if real and (not decoded or unknown_code(decoded)):
            return Flag(name, "misprint", "one character from " + ", ".join(real) +
                        ", which other lists write for the same ID bytes", real, lists)
        respelled = name.replace("O", "0").replace("I", "1")
        if not decoded and respelled != name and reads(respelled):
            return Flag(name, "misprint", "a letter where its scheme has a digit",
                        (respelled,) if respelled in by_name else (), lists)
        if decoded and unknown_code(decoded):
            return Flag(name, "misprint", f"its {unknown_code(decoded)} code is in no "
                        f"{decoded.scheme} scheme table", (), lists)
        if decoded:
            return None
        if MAKER_NAME.search(name):
            return Flag(name, "placeholder", "a maker's name in place of a part number",
                        (), lists)
        if CUT_SHORT.search(name) or CUT_SHORT.search(re.split("[-_]", name)[0]) or \
                "XX" in name:
            return Flag(name, "shorthand", "stops before its scheme's fields or is a pattern",
                        (), lists)
        if DIE_CODE.match(name):
            return Flag(name, "note", "a process or die code, not a part number", (), lists)
        if CAPACITY.search(name) and "_" in name:
            return Flag(name, "placeholder", "a capacity in place of a part number", (), lists)
        if LOT_MARKING.match(name):
            beside = sorted({other for listing in named if len(listing.id_bytes) >= 4
                             for other in by_id.get(listing.id_bytes[:4], ())
                             if other != name and not LOT_MARKING.match(other) and
                             any(o.list_key == listing.list_key for o in by_name[other]) and
                             same_maker(other, listing.id_bytes[0])})
            if beside:
                return Flag(name, "lot-marking", "a package marking the list gives the ID "
                            "bytes of " + ", ".join(beside) + " under", tuple(beside), lists)
        return None

    @staticmethod
    def _real_name(name, named, by_id, by_name, any_letter=False):
        """The names one edit away that lists give for the same ID bytes and that read by their
        maker's scheme: the name a misprint stands for."""
        candidates = set()
        for listing in named:
            if len(listing.id_bytes) >= 4:
                candidates |= by_id.get(listing.id_bytes[:4], set())
        return tuple(sorted(c for c in candidates if c != name and reads(c) and
                            one_edit_apart(name, c, any_letter)))

    def is_model(self, name):
        return name not in self.flags

    def real_names(self, name):
        """The models a listing of `name` pairs: itself, or the name a misprint stands for."""
        flag = self.flags.get(name)
        if not flag:
            return (name,)
        return flag.stands_for if flag.reason == "misprint" else ()

    def lot_markings_of(self):
        """part -> the lot markings listed beside it."""
        markings = {}
        for flag in self.flags.values():
            if flag.reason == "lot-marking":
                for part in flag.stands_for:
                    markings.setdefault(part, []).append(flag.name)
        return markings

    def lines(self):
        return [[f.name, f.reason, f.evidence, " ".join(f.stands_for), " ".join(f.lists)]
                for f in sorted(self.flags.values(), key=lambda f: (f.reason, f.name))]


def maker_of(name, facts_of_name, listings):
    """The flash maker of a name no scheme reads: the maker code of the ID bytes its own lists
    give, else the maker the lists name."""
    for listing in listings:
        maker = flash_facts.MAKER_OF_CODE.get(listing.id_bytes[0]) if listing.id_bytes else None
        if maker:
            return maker
    for listing in listings:
        vendor = listing.details.get("vendor")
        vendor = flash_facts.MAKER_SPELLINGS.get(vendor, vendor)
        if vendor in flash_facts.MAKER_CODES:
            return vendor
    makers = [f.maker for f in facts_of_name]
    return max(makers, key=makers.count) if makers else None
