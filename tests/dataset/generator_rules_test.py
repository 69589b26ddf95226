"""The data set generator's own rules: which written names are models, whose ID a model takes,
when the ID and the part number disagree, and which listings pair a controller with a model."""

import sys
import unittest
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parents[2] / "tools" / "dataset"))

import build_dataset  # noqa: E402
import flash_facts  # noqa: E402
import name_flags  # noqa: E402
import support_lists  # noqa: E402


def listing(part, id_text="", key="chipsbank-2012", chip="CBM2093", maker="芯邦", **details):
    return support_lists.Listing(key, maker, chip, part, tuple(id_text.split()), details, key)


def fact(part, id_text, source, maker="Micron"):
    return flash_facts.Fact(part=part, maker=maker, id_bytes=id_text.split(), page=None, cell=None,
                            ecc=None, width=None, interface=None, process=None, ce=None,
                            source=source, fields={"id"})


class NameFlagsTest(unittest.TestCase):
    def flags(self, *listings):
        return name_flags.NameFlags(list(listings), [], set())

    def test_evidence_decides_not_the_decoder(self):
        flags = self.flags(
            listing("MT29F256G08CJAAA", "2C A8 05 CB A9", key="alcor-2014"),
            listing("M29F256G08CJAAA", "2C A8 05 CB A9"),        # one letter left out
            listing("MT29F8G08MAB", "2C D3 94 2D"),
            listing("MT29F8G08MAD", "2C D3 94 2D"),              # another generation letter
            listing("K9GBC08U0A", "EC D7 94 7A"),                # density code of no form
            listing("SANDISK_45DA8095", "45 DA 80 95"),
            listing("MT29F32G08", "2C 68 04 4B"),
            listing("L74A", "2C 68 04 4A"),
            listing("29F128G08CMAAA", "2C D7 94 3E 84", key="phison-ufd"),
            listing("90A18NW176", "2C D7 94 3E 84", key="phison-ufd"),
            listing("TT58G5NAUR", "98 3A A4 93 7A 51", key="phison-ufd"))
        reasons = {name: flag.reason for name, flag in flags.flags.items()}
        self.assertEqual(reasons, {"M29F256G08CJAAA": "misprint", "K9GBC08U0A": "misprint",
                                   "SANDISK_45DA8095": "placeholder", "MT29F32G08": "shorthand",
                                   "L74A": "note", "90A18NW176": "lot-marking"})
        self.assertEqual(flags.real_names("M29F256G08CJAAA"), ("MT29F256G08CJAAA",))
        self.assertEqual(flags.lot_markings_of(), {"29F128G08CMAAA": ["90A18NW176"]})
        self.assertTrue(flags.is_model("MT29F8G08MAD"))
        self.assertTrue(flags.is_model("TT58G5NAUR"))


class IdRulesTest(unittest.TestCase):
    def test_majority_of_families_then_both_values_on_an_even_last_byte(self):
        facts = [fact("A", "2C 88 04 4B A9", "torvalds/linux@1:a"),
                 fact("A", "2C 88 04 4B A9", "hardkernel/x@1:b"),
                 fact("A", "2C 88 04 4B 89", "sunxi/x@1:c")]
        merged, kept = flash_facts.merge_ids(facts)
        self.assertEqual(flash_facts.id_text(merged), "2C 88 04 4B A9")
        self.assertEqual(len(kept), 2)
        merged, _ = flash_facts.merge_ids(facts[1:])
        self.assertEqual(flash_facts.id_text(merged), "2C 88 04 4B 89/A9")

    def test_dies_and_density_are_compared_with_the_chip_enables_the_part_gives(self):
        said = {"cell": "TLC", "ce_gbit": 128, "dies_per_ce": 2}
        self.assertEqual(build_dataset.id_comparison(said, {"cell": "TLC", "gbit": 256,
                                                            "dies": 1}),
                         (["cell type", "dies"], ["dies"]))
        self.assertEqual(build_dataset.id_comparison(said, {"gbit": 256, "ce": 2, "dies": 4}),
                         (["density", "dies"], []))

    def test_every_maker_reads_dies_per_chip_enable(self):
        self.assertEqual(flash_facts.read_id(["89", "D3", "D1", "95"], "Intel")["dies_per_ce"], 2)


class PairingsTest(unittest.TestCase):
    def test_own_name_ordering_code_with_matching_id_or_exact_id(self):
        flags = name_flags.NameFlags([], [], set())
        pairings = support_lists.Pairings([
            listing("TH58NVG7D2FTA20", "98 DE 95 32 7A 54", key="smi-3260AA", chip="SM3260AA",
                    maker="慧荣"),
            listing("TC58NVG5D2HTA00", "98 D7 94 32 76 56", key="smi-3257AA", chip="SM3257AA",
                    maker="慧荣"),
            listing("TOSHIBA_24NM", "98 D7 94 32 76 56", key="innostor-902", chip="IS902",
                    maker="银灿"),
            listing("TC58NVG5D2HTA00", key="alcor-2014", chip="AU6989SN", maker="安国")],
            flags)
        found = pairings.of("TH58NVG7D2FLA8C", "TH58NVG7D2F", "Toshiba",
                            [["98"], ["E7"], ["94"], ["32"], ["76"], ["55"]], {})
        self.assertEqual(found, {})  # the base part's other ID reaches no row
        found = pairings.of("TC58NVG5D2H", "TC58NVG5D2H", "Toshiba",
                            [["98"], ["D7"], ["94"], ["32"], ["76"], ["56"]],
                            {"TC58NVG5D2HTA00": [["98"], ["D7"], ["94"], ["32"]]})
        self.assertEqual({m: [(l.chip, k) for l, k in v] for m, v in found.items()},
                         {"慧荣": [("SM3257AA", support_lists.ORDERING_CODE)],
                          "安国": [("AU6989SN", support_lists.ORDERING_CODE)],
                          "银灿": [("IS902", support_lists.EXACT_ID)]})


if __name__ == "__main__":
    unittest.main()
