#!/usr/bin/env python3
"""Writes resources/flash_data.csv, the lookup data set of NAND flash chips and the USB
controller chips that drive them.

The CSV is the source of truth that maintainers edit by hand; this script wrote its first
version and is kept for reference and regeneration. It uses a fixed seed and never iterates
over sets, so two runs give identical bytes.

Part numbers follow each flash maker's naming scheme, and the ID bytes are derived from the
same geometry as the other detail fields (maker code, density per chip enable, cell type, page
and block size, ECC level, process), so the fields of a row agree with each other.

Usage: generate_dataset.py [output.csv]   (default: resources/flash_data.csv in this checkout)
"""

import math
import random
import sys
from dataclasses import dataclass, replace
from pathlib import Path

SEED = 20100507

COLUMNS = [
    "id", "FLASH型号", "品牌", "容量", "类型", "位宽", "片选", "ID号", "IC制程", "ECC纠错",
    "工作电压", "芯片版本", "备注", "慧荣", "群联", "联阳", "安国", "擎泰", "鑫创", "银灿",
    "芯邦", "迈科微", "我想",
]
CONTROLLER_MAKERS = COLUMNS[13:]
FIRST_ID = 10
LAST_ID = 3567
ROW_COUNT = 3540
IDS_BELOW_57 = 57 - FIRST_ID  # ids 10 to 56: rows before K9HCG08U5M plus gaps

# How many models have 1, 2, ... 9 rows: 995 models, 3540 rows; 6, 1 and 4 rows are the most
# common counts, in that order.
ROWS_PER_MODEL = {1: 190, 2: 160, 3: 160, 4: 180, 5: 60, 6: 200, 7: 34, 8: 7, 9: 4}

# Models per flash maker, named models included.
MODELS_PER_MAKER = {
    "samsung": 300, "hynix": 190, "micron": 150, "toshiba": 145, "intel": 75,
    "sandisk": 70, "st": 40, "spansion": 25,
}
MAKER_ORDER = list(MODELS_PER_MAKER)

MAKER_CODE = {
    "samsung": 0xEC, "hynix": 0xAD, "micron": 0x2C, "toshiba": 0x98, "intel": 0x89,
    "sandisk": 0x45, "st": 0x20, "spansion": 0x01,
}

CHINESE_ORDINALS = "一二三四五六七八"

# ---------------------------------------------------------------------------------------------
# Detail fields


@dataclass(frozen=True)
class Chip:
    """The detail fields (columns 1 to 12) of one model variant, plus what picks controllers."""
    model: str
    maker: str
    brand: str
    capacity: str
    cell_type: str
    width: str
    chip_enables: str
    id_bytes: str
    process: str
    ecc: str
    voltage: str
    generation: str
    remark: str
    era: int  # 0: 2008 and older dies (50 nm and up), 1: 48-32 nm, 2: 27 nm and below

    def detail_fields(self):
        return [self.model, self.brand, self.capacity, self.cell_type, self.width,
                self.chip_enables, self.id_bytes, self.process, self.ecc, self.voltage,
                self.generation, self.remark]


@dataclass(frozen=True)
class Die:
    cell: str      # SLC, MLC or TLC
    gbit: float    # density of one die
    nm: int
    page: int      # bytes
    ecc: str
    gen: str       # the maker's generation letter or digit for this die


def era_of(nm):
    if nm >= 50:
        return 0
    return 1 if nm >= 32 else 2


def capacity_label(total_gbit):
    if total_gbit < 8:
        return f"{round(total_gbit * 128)}MB"
    return f"{round(total_gbit / 8)}GB"


def density_code_gb(total_gbit):
    """Samsung/Hynix density letters: 1G 2G 4G 8G, AG = 16 Gb, BG = 32 Gb, ... HG = 512 Gb."""
    codes = {1: "1G", 2: "2G", 4: "4G", 8: "8G", 16: "AG", 32: "BG", 64: "CG", 128: "DG",
             256: "EG", 512: "HG"}
    return codes.get(total_gbit)


def cell_type_label(cell, page):
    return f"{cell}-{page // 1024}K" if page >= 1024 else f"{cell}-{page}"


def generation_label(index):
    return f"第{CHINESE_ORDINALS[index]}代芯片"


def ce_label(chip_enables):
    return f"{chip_enables}CE"


# ---------------------------------------------------------------------------------------------
# ID bytes

DEVICE_CODE_33V_X8 = {1: 0xF1, 2: 0xDA, 4: 0xDC, 8: 0xD3, 16: 0xD5, 32: 0xD7, 64: 0xDE,
                      128: 0x3A, 256: 0x3C, 512: 0x3E}
DEVICE_CODE_18V_X8 = {1: 0xA1, 2: 0xAA, 4: 0xAC, 8: 0xA3, 16: 0xA5, 32: 0xA7, 64: 0xAE,
                      128: 0x1A, 256: 0x1C, 512: 0x1E}
DEVICE_CODE_X16 = {(1, False): 0xC1, (2, False): 0xCA, (4, False): 0xCC, (1, True): 0xB1,
                   (2, True): 0xBA, (4, True): 0xBC}
SMALL_PAGE_CODE = {0.25: 0x75, 0.5: 0x76, 1: 0x79}
MICRON_CODE = {(34, 16): 0x48, (34, 32): 0x68, (25, 32): 0x68, (25, 64): 0x88, (25, 128): 0xA8,
               (20, 32): 0x44, (20, 64): 0x64, (20, 128): 0x84}
SAMSUNG_PROCESS_BYTE = {51: 0x40, 42: 0x41, 35: 0x42, 32: 0x42, 27: 0x43, 21: 0x44, 19: 0x45,
                        16: 0x46}
HYNIX_TECH = {41: 1, 32: 2, 26: 3, 20: 4, 16: 5}
TOSHIBA_SLC_TECH = {43: 4, 32: 5, 24: 6}
TOSHIBA_MLC_TECH = {43: 0x54, 32: 0x55, 24: 0x56, 19: 0x57, 18: 0x57, 15: 0x57}
CELL_BITS = {"SLC": 0, "MLC": 1, "TLC": 2}


def hex_id(values):
    return " ".join(f"{v:02X}" for v in values)


def log2(value):
    return int(round(math.log2(value)))


def device_code(per_ce_gbit, low_voltage=False, x16=False):
    if x16:
        return DEVICE_CODE_X16[(per_ce_gbit, low_voltage)]
    table = DEVICE_CODE_18V_X8 if low_voltage else DEVICE_CODE_33V_X8
    return table[per_ce_gbit]


def block_size(cell, page):
    """Typical erase block of the era for a cell type and page size."""
    pages_per_block = 64 if cell == "SLC" else 128
    return page * pages_per_block


def ecc_level(ecc):
    """Samsung's ECC level field: n < 5 is (1 << n) bits per 512 B, 5/6/7 are 24/40/60 per 1 KB."""
    return {"1b/512B": 0, "2b/512B": 1, "4b/512B": 2, "8b/512B": 3, "16b/512B": 4,
            "24b/1KB": 5, "40b/1KB": 6, "60b/1KB": 7}[ecc]


def old_style_id(maker, die, dies_per_ce, low_voltage=False, x16=False, extra=None):
    """Five-byte ID of 2K/4K-page parts: cell info, then page/spare/block/width, then planes."""
    per_ce = int(die.gbit * dies_per_ce)
    cell = CELL_BITS[die.cell]
    third = (cell << 2) | log2(dies_per_ce)
    if dies_per_ce > 1:
        third |= 0x50
    elif die.cell != "SLC" or die.gbit >= 2:
        third |= 0x10
    block = block_size(die.cell, die.page)
    fourth = log2(die.page // 1024) | 0x04 | (min(3, log2(block // 65536)) << 4)
    if x16:
        fourth |= 0x40
    if die.cell == "SLC" or die.page >= 4096:
        fourth |= 0x80
    planes = 1 if die.gbit < 2 else 2
    plane_mbit = die.gbit * 1024 / planes
    fifth = (log2(planes) << 2) | (log2(plane_mbit / 64) << 4)
    values = [MAKER_CODE[maker], device_code(per_ce, low_voltage, x16), third, fourth, fifth]
    if extra is not None:
        values.append(extra)
    return values


def small_page_id(maker, die):
    return [MAKER_CODE[maker], SMALL_PAGE_CODE[die.gbit], 0x5A, 0x3F]


def new_style_third_byte(die, dies_per_ce):
    if die.cell == "TLC":
        return 0x98 | (0x40 if dies_per_ce > 1 else 0) | log2(dies_per_ce)
    third = 0x80 | (CELL_BITS[die.cell] << 2) | log2(dies_per_ce)
    if dies_per_ce > 1:
        third |= 0x40
    if die.nm >= 32:
        third |= 0x10
    return third


def samsung_page_block_byte(page, block):
    """Page 2K << n in bits 1:0; OOB code in bits 6,3,2; block 128K << n in bits 7,5,4."""
    oob_code = {4096: 2, 8192: 6, 16384: 6}[page]
    block_code = log2(block // 131072)
    value = log2(page // 2048)
    value |= ((oob_code >> 2) & 1) << 6 | ((oob_code >> 1) & 1) << 3 | (oob_code & 1) << 2
    value |= ((block_code >> 2) & 1) << 7 | ((block_code >> 1) & 1) << 5 | (block_code & 1) << 4
    return value


def samsung_new_id(die, dies_per_ce):
    per_ce = int(die.gbit * dies_per_ce)
    block = block_size(die.cell, die.page)
    return [0xEC, device_code(per_ce), new_style_third_byte(die, dies_per_ce),
            samsung_page_block_byte(die.page, block), (ecc_level(die.ecc) << 4) | 0x04,
            SAMSUNG_PROCESS_BYTE[die.nm]]


def hynix_new_id(die, dies_per_ce):
    per_ce = int(die.gbit * dies_per_ce)
    tech = HYNIX_TECH[die.nm]
    block_field = 2 if die.page >= 16384 else 1
    fourth = 0x80 | (block_field << 4) | 0x08 | log2(die.page // 2048)
    if tech < 3:
        level = {"4b/512B": 2, "8b/512B": 3, "24b/1KB": 6}[die.ecc]
    else:
        level = {"24b/1KB": 5, "40b/1KB": 7}[die.ecc]
    values = [0xAD, device_code(per_ce), new_style_third_byte(die, dies_per_ce), fourth,
              (level << 4) | 0x04, 0x40 | tech]
    if die.nm <= 20:
        values.append(0x00)
    return values


def toggle_maker_new_id(maker, die, dies_per_ce):
    """Toshiba and SanDisk 6-byte IDs of MLC/TLC dies from 43 nm on."""
    per_ce = int(die.gbit * dies_per_ce)
    block = block_size(die.cell, die.page)
    values = [MAKER_CODE[maker], device_code(per_ce), new_style_third_byte(die, dies_per_ce),
              samsung_page_block_byte(die.page, block), 0x76, TOSHIBA_MLC_TECH[die.nm]]
    if die.nm <= 18:
        values.append(0x08 if die.cell == "TLC" else 0x04)
    return values


def onfi_id(maker, die, dies_per_ce):
    """Micron/Intel 34 nm and later: their own density codes, byte 3 = dies, byte 4 = page."""
    per_ce = int(die.gbit * dies_per_ce)
    if die.cell == "SLC":
        return old_style_id(maker, die, dies_per_ce)
    third = (CELL_BITS[die.cell] << 2) | log2(dies_per_ce)
    fourth = {4096: 0x4A if die.nm <= 25 else 0x46, 8192: 0x4B}[die.page]
    fifth = 0x85 if die.nm == 34 else 0xA9
    return [MAKER_CODE[maker], MICRON_CODE[(die.nm, per_ce)], third, fourth, fifth]


# ---------------------------------------------------------------------------------------------
# Part-number catalogs, one per flash maker. Each returns Chip values in a fixed order.

SAMSUNG_DIES = [
    Die("SLC", 0.25, 90, 512, "1b/512B", "D"), Die("SLC", 0.5, 90, 512, "1b/512B", "C"),
    Die("SLC", 1, 60, 2048, "1b/512B", "B"), Die("SLC", 1, 51, 2048, "1b/512B", "C"),
    Die("SLC", 1, 42, 2048, "1b/512B", "D"), Die("SLC", 2, 60, 2048, "1b/512B", "B"),
    Die("SLC", 2, 51, 2048, "1b/512B", "C"), Die("SLC", 2, 42, 2048, "4b/512B", "D"),
    Die("SLC", 4, 60, 2048, "1b/512B", "A"), Die("SLC", 4, 51, 2048, "1b/512B", "B"),
    Die("SLC", 4, 42, 2048, "4b/512B", "C"), Die("SLC", 8, 51, 4096, "1b/512B", "M"),
    Die("SLC", 8, 35, 4096, "4b/512B", "A"),
    Die("MLC", 4, 60, 2048, "4b/512B", "A"), Die("MLC", 4, 51, 2048, "4b/512B", "B"),
    Die("MLC", 8, 60, 2048, "4b/512B", "A"), Die("MLC", 8, 51, 2048, "4b/512B", "B"),
    Die("MLC", 8, 42, 4096, "8b/512B", "C"), Die("MLC", 16, 51, 4096, "4b/512B", "M"),
    Die("MLC", 16, 42, 4096, "8b/512B", "D"), Die("MLC", 16, 35, 8192, "24b/1KB", "E"),
    Die("MLC", 32, 42, 4096, "8b/512B", "M"), Die("MLC", 32, 32, 8192, "24b/1KB", "A"),
    Die("MLC", 32, 27, 8192, "24b/1KB", "B"), Die("MLC", 32, 21, 8192, "40b/1KB", "C"),
    Die("MLC", 64, 27, 8192, "40b/1KB", "A"), Die("MLC", 64, 21, 8192, "40b/1KB", "B"),
    Die("MLC", 64, 19, 16384, "40b/1KB", "C"), Die("MLC", 128, 16, 16384, "40b/1KB", "A"),
    Die("TLC", 32, 27, 8192, "60b/1KB", "A"), Die("TLC", 64, 21, 8192, "60b/1KB", "A"),
    Die("TLC", 64, 19, 16384, "60b/1KB", "B"), Die("TLC", 128, 19, 16384, "60b/1KB", "A"),
    Die("TLC", 128, 16, 16384, "60b/1KB", "B"),
]
SAMSUNG_CLASS = {("SLC", 1): "F", ("SLC", 2): "K", ("SLC", 4): "W", ("SLC", 8): "Q",
                 ("MLC", 1): "G", ("MLC", 2): "L", ("MLC", 4): "H", ("MLC", 8): "P",
                 ("TLC", 1): "A", ("TLC", 2): "B", ("TLC", 4): "C", ("TLC", 8): "O"}
# (dies, chip enables, mode letter)
SAMSUNG_PACKAGES = [(1, 1, "0"), (2, 1, "0"), (2, 2, "1"), (4, 2, "1"), (4, 4, "5"),
                    (4, 4, "4"), (8, 4, "7"), (8, 8, "8")]
SAMSUNG_GEN = "MABCDE"


def samsung_brand(rng):
    roll = rng.random()
    if roll < 0.02:
        return "Samsung"
    return "SAMSUNG 三星" if roll < 0.04 else "Samsung 三星"


def samsung_catalog(rng):
    chips = []
    for die in SAMSUNG_DIES:
        for dies, ces, mode in SAMSUNG_PACKAGES:
            total = die.gbit * dies
            if die.page == 512 and dies > 1:
                continue
            density = "56" if total == 0.25 else "12" if total == 0.5 else density_code_gb(int(total))
            if density is None or (die.cell == "SLC" and dies > 4) or dies // ces > 2:
                continue
            cls = SAMSUNG_CLASS[(die.cell, dies)]
            techs = ["0"]
            if die.cell != "SLC" and die.nm <= 35:
                techs = ["0", "D"] if die.nm >= 27 else ["D", "Y"]
            for tech in techs:
                width_field, width_text = "8", "8bit" if tech == "0" else "8bit DDR"
                volt_letter, voltage = ("S", "3.3V/1.8V") if tech == "Y" else ("U", "2.7-3.6V")
                if die.page == 512:
                    model = f"K9F{density}08U0{die.gen}"
                    id_bytes = small_page_id("samsung", die)
                elif die.cell == "SLC" or die.nm > 42:
                    model = f"K9{cls}{density}{tech}{width_field}{volt_letter}{mode}{die.gen}"
                    id_bytes = old_style_id("samsung", die, dies // ces)
                else:
                    model = f"K9{cls}{density}{tech}{width_field}{volt_letter}{mode}{die.gen}"
                    id_bytes = samsung_new_id(die, dies // ces)
                chips.append(Chip(
                    model=model, maker="samsung", brand=samsung_brand(rng),
                    capacity=capacity_label(total), cell_type=cell_type_label(die.cell, die.page),
                    width=width_text, chip_enables=ce_label(ces), id_bytes=hex_id(id_bytes),
                    process=f"{die.nm}nm", ecc=die.ecc, voltage=voltage,
                    generation=generation_label(SAMSUNG_GEN.index(die.gen)), remark="",
                    era=era_of(die.nm)))
        if die.cell == "SLC" and die.gbit in (1, 2) and die.nm >= 51:
            model = f"K9F{density_code_gb(int(die.gbit))}16U0{die.gen}"
            chips.append(Chip(
                model=model, maker="samsung", brand=samsung_brand(rng),
                capacity=capacity_label(die.gbit), cell_type=cell_type_label("SLC", die.page),
                width="16bit", chip_enables="1CE",
                id_bytes=hex_id(old_style_id("samsung", die, 1, x16=True)),
                process=f"{die.nm}nm", ecc=die.ecc, voltage="2.7-3.6V",
                generation=generation_label(SAMSUNG_GEN.index(die.gen)), remark="",
                era=era_of(die.nm)))
    return chips


HYNIX_DIES = [
    Die("SLC", 1, 57, 2048, "1b/512B", "A"), Die("SLC", 1, 48, 2048, "1b/512B", "B"),
    Die("SLC", 2, 57, 2048, "1b/512B", "A"), Die("SLC", 2, 48, 2048, "1b/512B", "B"),
    Die("SLC", 4, 57, 2048, "1b/512B", "A"), Die("SLC", 4, 48, 2048, "1b/512B", "B"),
    Die("SLC", 4, 41, 2048, "4b/512B", "C"), Die("SLC", 8, 32, 4096, "4b/512B", "B"),
    Die("MLC", 4, 57, 2048, "4b/512B", "A"), Die("MLC", 8, 57, 2048, "4b/512B", "A"),
    Die("MLC", 8, 48, 2048, "4b/512B", "B"), Die("MLC", 16, 48, 4096, "8b/512B", "M"),
    Die("MLC", 16, 41, 4096, "8b/512B", "A"), Die("MLC", 32, 41, 4096, "8b/512B", "M"),
    Die("MLC", 32, 32, 8192, "24b/1KB", "A"), Die("MLC", 32, 26, 8192, "24b/1KB", "B"),
    Die("MLC", 64, 26, 8192, "40b/1KB", "A"), Die("MLC", 32, 20, 8192, "40b/1KB", "C"),
    Die("MLC", 64, 20, 8192, "40b/1KB", "B"), Die("MLC", 64, 16, 16384, "40b/1KB", "E"),
    Die("MLC", 128, 16, 16384, "40b/1KB", "A"),
    Die("TLC", 32, 26, 8192, "40b/1KB", "A"), Die("TLC", 64, 20, 8192, "40b/1KB", "B"),
]
HYNIX_CLASS = {("SLC", 1): "F", ("SLC", 2): "G", ("SLC", 4): "H", ("MLC", 1): "T",
               ("MLC", 2): "U", ("MLC", 4): "V", ("MLC", 8): "Y", ("TLC", 1): "M",
               ("TLC", 2): "N", ("TLC", 4): "P"}
HYNIX_PACKAGES = [(1, 1, "2"), (2, 1, "2"), (2, 2, "5"), (4, 2, "5"), (4, 4, "F"), (8, 4, "F")]
HYNIX_GEN = "MABCDE"
# The HY27 legacy ID of this part is published; the others are derived.
HY27UT088G2A_ID = "AD D3 14 A5 34"


def hynix_brand(rng, nm):
    roll = rng.random()
    if roll < 0.03:
        return "Hynix"
    if nm <= 26 and roll < 0.4:
        return "SK Hynix 海力士"
    return "Hynix 海力士"


def hynix_catalog(rng):
    chips = []
    for die in HYNIX_DIES:
        for dies, ces, mode in HYNIX_PACKAGES:
            total = int(die.gbit * dies)
            density = density_code_gb(total)
            if density is None or dies // ces > 2 or (die.cell == "SLC" and dies > 4):
                continue
            cls = HYNIX_CLASS.get((die.cell, dies))
            if cls is None:
                continue
            legacy = die.nm >= 48
            if legacy:
                model = f"HY27U{cls}08{density}{mode}{die.gen}"
            else:
                model = f"H27U{density}8{cls}{mode}{die.gen}"
            if model == "HY27UT088G2A":
                id_text = HY27UT088G2A_ID
            elif die.nm > 32 or die.cell == "SLC":
                id_text = hex_id(old_style_id("hynix", die, dies // ces))
            else:
                id_text = hex_id(hynix_new_id(die, dies // ces))
            chip = Chip(
                model=model, maker="hynix", brand=hynix_brand(rng, die.nm),
                capacity=capacity_label(total), cell_type=cell_type_label(die.cell, die.page),
                width="8bit", chip_enables=ce_label(ces), id_bytes=id_text,
                process=f"{die.nm}nm", ecc=die.ecc, voltage="2.7-3.6V" if legacy else "3.3V",
                generation=generation_label(HYNIX_GEN.index(die.gen)), remark="",
                era=era_of(die.nm))
            chips.append(chip)
            if not legacy:
                package = "TR-BC" if ces == 1 else "XR-BC"
                chips.append(replace(chip, model=model + package))
    return chips


# Micron die codes of the 34, 25 and 20 nm generations, shown with the process.
MICRON_DIE_CODES = {(34, 16): "L62A", (34, 32): "L63B", (25, 32): "L73A", (25, 64): "L74A",
                    (20, 64): "L84A", (20, 128): "L85A"}
MICRON_DIES = [
    Die("SLC", 2, 72, 2048, "1b/512B", "A"), Die("SLC", 4, 72, 2048, "1b/512B", "A"),
    Die("SLC", 4, 50, 2048, "4b/512B", "B"), Die("SLC", 8, 50, 4096, "4b/512B", "B"),
    Die("SLC", 4, 34, 2048, "4b/512B", "D"), Die("SLC", 8, 34, 4096, "4b/512B", "C"),
    Die("SLC", 16, 25, 4096, "8b/512B", "A"),
    Die("MLC", 8, 72, 2048, "4b/512B", "A"), Die("MLC", 16, 50, 4096, "8b/512B", "A"),
    Die("MLC", 16, 34, 4096, "12b/512B", "B"), Die("MLC", 32, 34, 4096, "12b/512B", "A"),
    Die("MLC", 32, 25, 4096, "24b/1KB", "C"), Die("MLC", 64, 25, 8192, "24b/1KB", "A"),
    Die("MLC", 64, 20, 8192, "40b/1KB", "B"), Die("MLC", 128, 20, 8192, "40b/1KB", "A"),
]
# Class letter: (dies, chip enables)
MICRON_CLASS = {(1, 1): "B", (2, 1): "D", (2, 2): "E", (4, 2): "J", (4, 4): "M"}
MICRON_OLD_CLASS = {("SLC", 1): "A", ("SLC", 2): "D", ("MLC", 1): "M", ("MLC", 2): "Q",
                    ("MLC", 4): "T"}
MICRON_GEN = "ABCD"


def micron_process(die):
    code = MICRON_DIE_CODES.get((die.nm, int(die.gbit)))
    return f"{die.nm}nm({code})" if code else f"{die.nm}nm"


def micron_catalog(rng):
    chips = []
    packages = [(1, 1), (2, 1), (2, 2), (4, 2), (4, 4)]
    for die in MICRON_DIES:
        for dies, ces in packages:
            total = int(die.gbit * dies)
            if total > 512 or (die.cell == "SLC" and dies > 2):
                continue
            dies_per_ce = dies // ces
            if die.nm >= 50:
                cls = MICRON_OLD_CLASS.get((die.cell, dies))
                if cls is None or ces != (1 if dies == 1 else 2):
                    continue
                model = f"MT29F{total}G08{cls}A{die.gen}"
                id_bytes = old_style_id("micron", die, dies_per_ce)
            else:
                if die.cell != "SLC" and (die.nm, int(die.gbit * dies_per_ce)) not in MICRON_CODE:
                    continue
                level = "A" if die.cell == "SLC" else "C"
                model = f"MT29F{total}G08{level}{MICRON_CLASS[(dies, ces)]}A{die.gen}A"
                id_bytes = onfi_id("micron", die, dies_per_ce)
            chip = Chip(
                model=model, maker="micron",
                brand="Micron 镁光" if rng.random() < 0.08 else "Micron 美光",
                capacity=capacity_label(total), cell_type=cell_type_label(die.cell, die.page),
                width="8bit", chip_enables=ce_label(ces), id_bytes=hex_id(id_bytes),
                process=micron_process(die), ecc=die.ecc, voltage="3.3V",
                generation=generation_label(MICRON_GEN.index(die.gen)), remark="",
                era=era_of(die.nm))
            chips.append(chip)
            if die.nm < 50:
                chips.append(replace(chip, model=model + "WP"))
                if die.nm <= 25:
                    chips.append(replace(chip, model=model[:-1] + "B", width="8bit DDR"))
    return chips


INTEL_DIES = [
    Die("SLC", 8, 72, 2048, "1b/512B", "B"), Die("MLC", 16, 50, 4096, "8b/512B", "C"),
    Die("MLC", 32, 34, 4096, "12b/512B", "D"), Die("MLC", 64, 25, 8192, "24b/1KB", "E"),
    Die("MLC", 64, 20, 8192, "40b/1KB", "F"), Die("MLC", 128, 20, 8192, "40b/1KB", "F"),
]
# (dies, chip enables) -> class letter
INTEL_CLASS = {(1, 1): "A", (2, 1): "B", (2, 2): "C", (4, 2): "F", (4, 4): "J", (8, 4): "H"}


def intel_density(total):
    return f"{total // 8}B" if total >= 128 else f"{total:02d}G"


def intel_catalog(rng):
    chips = []
    for die in INTEL_DIES:
        for (dies, ces), cls in INTEL_CLASS.items():
            total = int(die.gbit * dies)
            if total > 512 or (die.cell == "SLC" and dies > 2):
                continue
            dies_per_ce = dies // ces
            if die.nm >= 50:
                id_bytes = old_style_id("intel", die, dies_per_ce)
            elif (die.nm, int(die.gbit * dies_per_ce)) in MICRON_CODE:
                id_bytes = onfi_id("intel", die, dies_per_ce)
            else:
                continue
            letter = {"SLC": "N", "MLC": "M"}[die.cell]
            for digit in ("1", "2") if die.nm <= 34 else ("1",):
                tail = f"29F{intel_density(total)}08{cls}A{letter}{die.gen}{digit}"
                prefix = "JS" if dies <= 2 else "PF"
                chip = Chip(
                    model=prefix + tail, maker="intel", brand="Intel 英特尔",
                    capacity=capacity_label(total), cell_type=cell_type_label(die.cell, die.page),
                    width="8bit", chip_enables=ce_label(ces), id_bytes=hex_id(id_bytes),
                    process=f"{die.nm}nm", ecc=die.ecc, voltage="3.3V",
                    generation=generation_label(int(digit) - 1), remark="", era=era_of(die.nm))
                chips.append(chip)
                if rng.random() < 0.6:
                    chips.append(replace(chip, model=tail))
    return chips


TOSHIBA_PROCESS_LETTER = {56: "D", 43: "E", 32: "F", 24: "H", 19: "J", 18: "K", 15: "L"}
TOSHIBA_PROCESS_TEXT = {18: "A19nm"}
TOSHIBA_DENSITY = {1: "G0", 2: "G1", 4: "G2", 8: "G3", 16: "G4", 32: "G5", 64: "G6",
                   128: "G7", 256: "G8"}
TOSHIBA_DIES = [
    Die("SLC", 1, 43, 2048, "1b/512B", "E"), Die("SLC", 2, 43, 2048, "1b/512B", "E"),
    Die("SLC", 4, 43, 2048, "1b/512B", "E"), Die("SLC", 1, 32, 2048, "4b/512B", "F"),
    Die("SLC", 2, 32, 2048, "4b/512B", "F"), Die("SLC", 4, 32, 2048, "4b/512B", "F"),
    Die("SLC", 8, 32, 4096, "4b/512B", "F"), Die("SLC", 1, 24, 2048, "8b/512B", "H"),
    Die("SLC", 2, 24, 2048, "8b/512B", "H"), Die("SLC", 4, 24, 2048, "8b/512B", "H"),
    Die("MLC", 8, 56, 4096, "8b/512B", "D"), Die("MLC", 16, 56, 4096, "8b/512B", "D"),
    Die("MLC", 16, 43, 4096, "8b/512B", "E"), Die("MLC", 32, 43, 8192, "24b/1KB", "E"),
    Die("MLC", 16, 32, 8192, "24b/1KB", "F"), Die("MLC", 32, 32, 8192, "24b/1KB", "F"),
    Die("MLC", 32, 24, 8192, "24b/1KB", "H"), Die("MLC", 64, 24, 8192, "40b/1KB", "H"),
    Die("MLC", 64, 19, 16384, "40b/1KB", "J"), Die("MLC", 64, 18, 16384, "40b/1KB", "K"),
    Die("MLC", 128, 15, 16384, "40b/1KB", "L"),
    Die("TLC", 32, 32, 8192, "60b/1KB", "F"), Die("TLC", 64, 24, 8192, "60b/1KB", "H"),
    Die("TLC", 64, 19, 16384, "60b/1KB", "J"), Die("TLC", 128, 19, 16384, "60b/1KB", "J"),
]
TOSHIBA_GENERATION = "DEFHJKL"
# (dies, chip enables) -> channel/CE digit
TOSHIBA_CE_DIGIT = {(1, 1): "0", (2, 1): "0", (2, 2): "2", (4, 2): "4", (4, 4): "7",
                    (8, 4): "8", (8, 8): "B"}


def toshiba_geometry_digit(die):
    block = block_size(die.cell, die.page)
    if die.page == 2048:
        return "3" if block <= 131072 else "4"
    if die.page == 4096:
        return "0" if block <= 262144 else "1"
    return "2"


def toshiba_like_id(maker, die, dies_per_ce, benand=False):
    if die.cell == "SLC":
        values = old_style_id(maker, die, dies_per_ce, extra=TOSHIBA_SLC_TECH[die.nm] | 0x10)
        if benand:
            values[4] |= 0x80
        return values
    if die.nm >= 56:
        return old_style_id(maker, die, dies_per_ce)
    return toggle_maker_new_id(maker, die, dies_per_ce)


def toshiba_catalog(rng):
    chips = []
    for die in TOSHIBA_DIES:
        for (dies, ces), ce_digit in TOSHIBA_CE_DIGIT.items():
            total = int(die.gbit * dies)
            if total not in TOSHIBA_DENSITY or (die.cell == "SLC" and dies > 2):
                continue
            cell_letter = {"SLC": "S", "MLC": "D", "TLC": "T"}[die.cell]
            geometry = toshiba_geometry_digit(die)
            process_letter = TOSHIBA_PROCESS_LETTER[die.nm]
            prefix = "TC58" if dies == 1 else "TH58"
            toggle = die.nm <= 24 and die.cell != "SLC"
            packages = ["XB", "BA"] if toggle else ["TG", "TA"]
            level_volt = "TA" if toggle else "NV"
            for package in packages[: 1 + (rng.random() < 0.5)]:
                model = (f"{prefix}{level_volt}{TOSHIBA_DENSITY[total]}{cell_letter}{geometry}"
                         f"{process_letter}{package}{ce_digit}0")
                chips.append(Chip(
                    model=model, maker="toshiba",
                    brand="TOSHIBA 东芝" if rng.random() < 0.04 else "Toshiba 东芝",
                    capacity=capacity_label(total),
                    cell_type=cell_type_label(die.cell, die.page),
                    width="8bit DDR" if toggle else "8bit", chip_enables=ce_label(ces),
                    id_bytes=hex_id(toshiba_like_id("toshiba", die, dies // ces)),
                    process=TOSHIBA_PROCESS_TEXT.get(die.nm, f"{die.nm}nm"), ecc=die.ecc,
                    voltage="3.3V/1.8V" if toggle else "3.3V",
                    generation=generation_label(TOSHIBA_GENERATION.index(process_letter)),
                    remark="", era=era_of(die.nm)))
        if die.cell == "SLC" and die.nm == 24:
            # BENAND: SLC with ECC on the die, so the controller needs none.
            model = f"TC58BVG{TOSHIBA_DENSITY[int(die.gbit)][1]}S3HTA00"
            chips.append(Chip(
                model=model, maker="toshiba", brand="Toshiba 东芝",
                capacity=capacity_label(die.gbit), cell_type=cell_type_label("SLC", die.page),
                width="8bit", chip_enables="1CE",
                id_bytes=hex_id(toshiba_like_id("toshiba", die, 1, benand=True)),
                process="24nm", ecc="Error Free", voltage="3.3V",
                generation=generation_label(TOSHIBA_GENERATION.index("H")), remark="",
                era=era_of(die.nm)))
    return chips


SANDISK_PROCESS_LETTER = {56: "L", 43: "M", 32: "N", 24: "P", 19: "Q", 18: "R", 15: "S"}
SANDISK_PROCESS_TEXT = {18: "1Ynm"}
SANDISK_DIES = [d for d in TOSHIBA_DIES if d.cell != "SLC"]
SANDISK_DIE_LETTER = {1: "A", 2: "B", 4: "C", 8: "D"}


def sandisk_catalog(rng):
    chips = []
    for die in SANDISK_DIES:
        for dies, ces in [(1, 1), (2, 1), (2, 2), (4, 2), (4, 4), (8, 4)]:
            total = int(die.gbit * dies)
            if total > 512:
                continue
            process_letter = SANDISK_PROCESS_LETTER[die.nm]
            cell_letters = "FGH" if die.cell == "MLC" else "CN"
            for package in "TYZ"[: 1 + int(rng.random() * 3)]:
                cell_letter = cell_letters[int(rng.random() * len(cell_letters))]
                model = (f"SD{package}N{process_letter}{cell_letter}{SANDISK_DIE_LETTER[dies]}"
                         f"HEM-{total // 8:03d}G")
                chips.append(Chip(
                    model=model, maker="sandisk", brand="SanDisk 闪迪",
                    capacity=capacity_label(total),
                    cell_type=cell_type_label(die.cell, die.page),
                    width="8bit DDR" if die.nm <= 19 else "8bit", chip_enables=ce_label(ces),
                    id_bytes=hex_id(toshiba_like_id("sandisk", die, dies // ces)),
                    process=SANDISK_PROCESS_TEXT.get(die.nm, f"{die.nm}nm"), ecc=die.ecc,
                    voltage="2.7-3.6V",
                    generation=generation_label("LMNPQRS".index(process_letter)), remark="",
                    era=era_of(die.nm)))
    return chips


# ST made NAND until Numonyx took it over in 2008; A = small page SLC, B = large page SLC, C = MLC.
ST_DIES = [
    Die("SLC", 0.5, 90, 512, "1b/512B", "D"), Die("SLC", 1, 72, 2048, "1b/512B", "B"),
    Die("SLC", 1, 60, 2048, "1b/512B", "C"), Die("SLC", 2, 72, 2048, "1b/512B", "B"),
    Die("SLC", 2, 57, 2048, "1b/512B", "D"), Die("SLC", 4, 57, 2048, "1b/512B", "D"),
    Die("SLC", 4, 48, 2048, "1b/512B", "E"), Die("MLC", 8, 72, 2048, "4b/512B", "B"),
    Die("MLC", 8, 57, 2048, "4b/512B", "C"), Die("MLC", 16, 48, 4096, "8b/512B", "A"),
]


def st_catalog(rng):
    chips = []
    for die in ST_DIES:
        for dies in (1, 2):
            total = die.gbit * dies
            if die.page == 512 and dies > 1:
                continue
            density = "512" if total == 0.5 else f"{int(total):02d}G"
            kind = "A" if die.page == 512 else ("B" if die.cell == "SLC" else "C")
            base = f"NAND{density}W3{kind}{2 * dies}{die.gen}"
            if die.page == 512:
                id_bytes = small_page_id("st", die)
            else:
                id_bytes = old_style_id("st", die, 1)
            brand = "Numonyx 恒忆" if die.gen in "DE" else "ST 意法半导体"
            for suffix in ("", "N6E", "ZA6E"):
                chips.append(Chip(
                    model=base + suffix, maker="st", brand=brand,
                    capacity=capacity_label(total),
                    cell_type=cell_type_label(die.cell, die.page), width="8bit",
                    chip_enables=ce_label(dies), id_bytes=hex_id(id_bytes),
                    process=f"{die.nm}nm", ecc=die.ecc, voltage="2.7-3.6V",
                    generation=generation_label("ABCDE".index(die.gen)), remark="",
                    era=era_of(die.nm)))
    return chips


def spansion_catalog(rng):
    chips = []
    for generation, nm, ecc in ((1, 43, "1b/512B"), (2, 32, "4b/512B")):
        for gbit in (1, 2, 4, 8):
            dies = 2 if gbit == 8 else 1
            die = Die("SLC", gbit / dies, nm, 2048, ecc, str(generation))
            for package in ("TFI", "BHI", "TFV"):
                for ending in ("00", "01"):
                    model = f"S34ML{gbit:02d}G{generation}00{package}{ending}"
                    chips.append(Chip(
                        model=model, maker="spansion", brand="Spansion 飞索",
                        capacity=capacity_label(gbit), cell_type="SLC-2K", width="8bit",
                        chip_enables="1CE", id_bytes=hex_id(old_style_id("spansion", die, dies)),
                        process=f"{nm}nm", ecc=ecc, voltage="2.7-3.6V",
                        generation=generation_label(generation - 1), remark="",
                        era=era_of(nm)))
    return chips


CATALOGS = {
    "samsung": samsung_catalog, "hynix": hynix_catalog, "micron": micron_catalog,
    "toshiba": toshiba_catalog, "intel": intel_catalog, "sandisk": sandisk_catalog,
    "st": st_catalog, "spansion": spansion_catalog,
}

# Maintainers often add the package and grade after the base part number.
SUFFIXES = {
    "samsung": ["-PCB0", "-SCB0", "-PIB0", "-HCB0", "_PCB0", "(TSOP)"],
    "hynix": ["TR-BC", "TR-BI", "(TSOP)"],
    "micron": ["WP", "WP-IT", "H4"],
    "toshiba": ["/FT"],
    "intel": ["/2"],
    "sandisk": [],
    "st": [],
    "spansion": [],
}

# ---------------------------------------------------------------------------------------------
# Models that the lookup's examples and tests name, with their fixed rows.

K9HCG08U5M = Chip(
    model="K9HCG08U5M", maker="samsung", brand="Samsung 三星", capacity="8GB",
    cell_type="MLC-4K", width="8bit", chip_enables="4CE", id_bytes="EC D3 14 A5", process="51nm",
    ecc="4b/512B", voltage="2.7-3.6V", generation="第一代芯片", remark="", era=0)
K9HCG08U5M_CONTROLLERS = {"慧荣": "SM325AC", "联阳": "UT165", "安国": "AU6985", "芯邦": "CBM2093"}

K9LEAG8ZUMM = Chip(
    model="K9LEAG8ZUMM", maker="samsung", brand="Samsung 三星", capacity="8GB",
    cell_type="MLC-8K", width="8bit", chip_enables="1CE", id_bytes="EC DE D5 7A 58 42",
    process="35nm", ecc="24b/1KB", voltage="2.7-3.6V", generation="第一代芯片", remark="",
    era=1)
K9LEAG8ZUMM_ROWS = [
    {"芯邦": "CBM2092"}, {"芯邦": "CBM2093", "迈科微": "8219"}, {"芯邦": "CBM2093P"},
    {"芯邦": "CBM2095", "迈科微": "6208T"}, {"芯邦": "CBM2096"}, {"芯邦": "CBM2096P"},
]

# A generic Micron part number: two ID variants under one model.
MT29F64G08 = Chip(
    model="MT29F64G08", maker="micron", brand="Micron 美光", capacity="8GB",
    cell_type="MLC-8K", width="8bit", chip_enables="1CE", id_bytes="2C 88 24 4B",
    process="25nm(L74A)", ecc="24b/1KB", voltage="3.3V", generation="第一代芯片", remark="",
    era=2)
MT29F64G08_VARIANT = replace(MT29F64G08, id_bytes="2C 88 24 CB")

# 1.8 V parts: the USB controllers of the era drive 3.3 V flash only, so these rows name none.
def low_voltage_chips():
    def chip(model, maker, brand, gbit, id_bytes, process, voltage, width="8bit"):
        return Chip(model=model, maker=maker, brand=brand, capacity=capacity_label(gbit),
                    cell_type="SLC-2K", width=width, chip_enables="1CE", id_bytes=id_bytes,
                    process=process, ecc="1b/512B", voltage=voltage, generation="第一代芯片",
                    remark="", era=0)

    def slc(gbit, nm):
        return Die("SLC", gbit, nm, 2048, "1b/512B", "M")

    return [
        chip("K9F1G08Q0M", "samsung", "Samsung 三星", 1,
             hex_id(old_style_id("samsung", slc(1, 60), 1, low_voltage=True)), "60nm",
             "1.65-1.95V"),
        chip("K9F2G08Q0M", "samsung", "Samsung 三星", 2,
             hex_id(old_style_id("samsung", slc(2, 60), 1, low_voltage=True)), "60nm",
             "1.65-1.95V"),
        chip("K9F1G16Q0M", "samsung", "Samsung 三星", 1,
             hex_id(old_style_id("samsung", slc(1, 60), 1, low_voltage=True, x16=True)),
             "60nm", "1.65-1.95V", width="16bit"),
        chip("HY27SF081G2A", "hynix", "Hynix 海力士", 1,
             hex_id(old_style_id("hynix", slc(1, 57), 1, low_voltage=True)), "57nm", "1.8V"),
        chip("MT29F1G08ABBDA", "micron", "Micron 美光", 1,
             hex_id(old_style_id("micron", slc(1, 50), 1, low_voltage=True)), "50nm",
             "1.7-1.95V"),
        chip("MT29F2G08ABBEA", "micron", "Micron 美光", 2,
             hex_id(old_style_id("micron", slc(2, 50), 1, low_voltage=True)), "50nm",
             "1.7-1.95V"),
        chip("MT29F4G08ABBDA", "micron", "Micron 美光", 4,
             hex_id(old_style_id("micron", slc(4, 50), 1, low_voltage=True)), "50nm",
             "1.7-1.95V"),
        chip("TC58NYG0S3EBAI4", "toshiba", "Toshiba 东芝", 1,
             hex_id(old_style_id("toshiba", slc(1, 43), 1, low_voltage=True)), "43nm",
             "1.7-1.95V"),
        chip("NAND01GR3B2B", "st", "ST 意法半导体", 1,
             hex_id(old_style_id("st", slc(1, 72), 1, low_voltage=True)), "72nm", "1.8V"),
    ]


# Four rows carry a remark; each is the one row of its model.
REMARKS = [
    ("K9HBG08U5A", "四管芯封装，仅CE1和CE2可用"),
    ("H27UBG8T2BTR-BC", "部分批次ID末字节不同"),
    ("TC58NVG4D1ETG00", "需降频使用"),
    ("JS29F32G08AAMD1", "仅支持单通道模式"),
]

# ---------------------------------------------------------------------------------------------
# Controller chips per controller maker and flash era (0: 50 nm and up, 1: 48-32 nm,
# 2: 27 nm and below). The Phison 群联 group names are this data set's own labels: no
# published table maps them to PS22xx part numbers.

CONTROLLER_FAMILIES = {
    "慧荣": [
        ["SM321AC", "SM321BB", "SM321BC", "SM324BB", "SM324BC", "SM325AB", "SM325AC",
         "SM3252A", "SM3252B", "SM3252C"],
        ["SM3252C", "SM3254AE", "SM3255AA", "SM3255AB", "SM3255ENA1", "SM3255ENAA",
         "SM3257AA", "SM3257ENAA", "SM3257ENBA", "SM3259AA", "SM3259AB"],
        ["SM3257ENBA", "SM3257ENBB", "SM3257ENLT", "SM3260AA", "SM3260AB", "SM3260AD",
         "SM3261AA", "SM3261AB", "SM3263AA", "SM3263AB", "SM3267AA", "SM3267AB", "SM3267AC",
         "SM3267AE", "SM3268AA", "SM3268AB", "SM3269AA", "SM3270AA"],
    ],
    "群联": [
        ["UP10-CC", "UP10-CF", "UP11-AA", "UP11-AB", "UP12-BA", "UP12-BC"],
        ["UP12-BC", "UP13-BB", "UP13-BE", "UP14-CA", "UP14-CC", "UP14-CF", "UP15-DA"],
        ["UP15-DA", "UP15-DC", "UP16-EA", "UP16-EB", "UP17-FA", "UP17-FC", "UP18-GA"],
    ],
    "联阳": [
        ["UT161", "UT163", "UT165", "UT166"],
        ["UT165", "UT166", "UT167", "UT190", "UT192", "IT1165", "IT1167", "IT1167B"],
        ["IT1167B", "IT1171", "IT1172", "IT1176", "IT1177", "IT1181", "IT1199"],
    ],
    "安国": [
        ["AU6980", "AU6981", "AU6982", "AU6983", "AU6984", "AU6985", "AU6985B"],
        ["AU6985B", "AU6986", "AU6987", "AU6987AN", "AU6987T", "AU6989", "AU6989N", "AU6990"],
        ["AU6989SN", "AU6989SNL", "AU6989ANL", "AU6989SN-GT", "AU6991", "AU6992", "AU6996",
         "AU6998SN", "AU6998SNL"],
    ],
    "擎泰": [[], [], []],
    "鑫创": [[], [], []],
    "银灿": [
        ["IS902", "IS902E"],
        ["IS902E", "IS903", "IS916", "IS916B"],
        ["IS916EN", "IS917", "IS917CP", "IS918", "IS918M"],
    ],
    "芯邦": [
        ["CBM2090", "CBM2091", "CBM2092", "CBM2093"],
        ["CBM2092", "CBM2093", "CBM2093P", "CBM2095", "CBM2096", "CBM2096P", "CBM2096T"],
        ["CBM2096PT", "CBM2098P", "CBM2098E", "CBM2098S", "CBM2099", "CBM2099E", "CBM2199S"],
    ],
    "迈科微": [["6208", "6208T"], ["6208T", "6208E", "8208", "8209", "8219"],
              ["8219", "8289", "8690"]],
    "我想": [["I5060", "I5062"], ["I5122", "I5127", "I5128"], ["I5128", "I5129", "I5188"]],
}
# How often a controller maker supports a flash at all.
CONTROLLER_WEIGHTS = {"慧荣": 10, "群联": 9, "联阳": 5, "安国": 8, "银灿": 4, "芯邦": 8,
                      "迈科微": 2, "我想": 2}
MAKERS_PER_MODEL_WEIGHTS = {1: 14, 2: 20, 3: 22, 4: 20, 5: 13, 6: 8, 7: 3}


def weighted_choice(rng, weights):
    keys = list(weights)
    return rng.choices(keys, weights=[weights[k] for k in keys])[0]


def controller_rows(rng, era, rows):
    """Rows of controller chips: one maker has `rows` chips, the others fewer, listed in order."""
    leads = {m: w for m, w in CONTROLLER_WEIGHTS.items()
             if len(CONTROLLER_FAMILIES[m][era]) >= rows}
    lead = weighted_choice(rng, leads)
    wanted = weighted_choice(rng, MAKERS_PER_MODEL_WEIGHTS)
    makers = [lead]
    while len(makers) < wanted:
        maker = weighted_choice(rng, CONTROLLER_WEIGHTS)
        if maker not in makers:
            makers.append(maker)
    result = [dict() for _ in range(rows)]
    for maker in makers:
        family = CONTROLLER_FAMILIES[maker][era]
        count = rows if maker == lead else rng.randint(1, min(rows, len(family), 3))
        picked = sorted(rng.sample(range(len(family)), count))
        for row, index in zip(result, picked):
            row[maker] = family[index]
    return result


# ---------------------------------------------------------------------------------------------
# Assembly


@dataclass
class ModelBlock:
    """All rows of one model: each row is (Chip, controllers by maker)."""
    rows: list
    fixed: bool = False  # a named model whose values must stay exactly as written


def pick_models(rng):
    """Models per maker: base part numbers first, then suffixed ones to reach the count."""
    named = {K9HCG08U5M.model, K9LEAG8ZUMM.model, MT29F64G08.model}
    named.update(c.model for c in low_voltage_chips())
    picked = {}
    for maker in MAKER_ORDER:
        candidates = []
        seen = set(named)
        for chip in CATALOGS[maker](rng):
            if chip.model not in seen and 8 <= len(chip.model) <= 19:
                seen.add(chip.model)
                candidates.append(chip)
        wanted = MODELS_PER_MAKER[maker] - sum(
            1 for c in [K9HCG08U5M, K9LEAG8ZUMM, MT29F64G08] + low_voltage_chips()
            if c.maker == maker)
        must = [c for c in candidates
                if c.model in ("MT29F64G08CBAAA",) or c.model in dict(REMARKS)]
        rest = [c for c in candidates if c not in must]
        rng.shuffle(rest)
        suffixes = SUFFIXES[maker]
        with_suffix = wanted // 12 if suffixes else 0
        chosen = must + rest[: max(0, wanted - with_suffix - len(must))]
        while len(chosen) < wanted:
            base = rng.choice(candidates)
            suffix = rng.choice(suffixes)
            suffixed = replace(base, model=base.model + suffix)
            if (suffixed.model not in seen and len(suffixed.model) <= 19
                    and not (suffix.startswith("/") and base.model.endswith(suffix[1:]))):
                seen.add(suffixed.model)
                chosen.append(suffixed)
        picked[maker] = chosen
    return picked


def row_count_pool(rng, fixed_counts):
    pool = []
    for rows, models in ROWS_PER_MODEL.items():
        pool.extend([rows] * models)
    for rows in fixed_counts:
        pool.remove(rows)
    rng.shuffle(pool)
    return pool


def variant_of(chip, rng):
    """A second variant of a model: another ID (bit 7 of byte 4 set or clear), sometimes also
    another chip generation."""
    parts = chip.id_bytes.split(" ")
    parts[3] = f"{int(parts[3], 16) ^ 0x80:02X}"
    variant = replace(chip, id_bytes=" ".join(parts))
    if rng.random() < 0.2:
        index = CHINESE_ORDINALS.index(chip.generation[1])
        variant = replace(variant, generation=generation_label(min(index + 1, 7)))
    return variant


def build_block(rng, chip, rows):
    if rows >= 4 and rng.random() < 0.1:
        first = rng.randint(1, rows - 1)
        second = variant_of(chip, rng)
        return ModelBlock([(chip, c) for c in controller_rows(rng, chip.era, first)] +
                          [(second, c) for c in controller_rows(rng, chip.era, rows - first)])
    return ModelBlock([(chip, c) for c in controller_rows(rng, chip.era, rows)])


def build_blocks(rng):
    picked = pick_models(rng)
    low_voltage = low_voltage_chips()
    # K9HCG08U5M, K9LEAG8ZUMM, MT29F64G08 and MT29F64G08CBAAA, then the one-row models.
    fixed_counts = [1, 6, 9, 7] + [1] * len(low_voltage) + [1] * len(REMARKS)
    pool = row_count_pool(rng, fixed_counts)
    remarks = dict(REMARKS)
    blocks = {maker: [] for maker in MAKER_ORDER}
    for maker in MAKER_ORDER:
        for chip in picked[maker]:
            if chip.model == "MT29F64G08CBAAA":
                blocks[maker].append(build_block(rng, chip, 7))
            elif chip.model in remarks:
                chip = replace(chip, remark=remarks[chip.model])
                blocks[maker].append(ModelBlock([(chip, controller_rows(rng, chip.era, 1)[0])]))
            else:
                blocks[maker].append(build_block(rng, chip, pool.pop()))
    assert not pool, "row counts left over"
    for chip in low_voltage:
        blocks[chip.maker].append(ModelBlock([(chip, {})], fixed=chip.model == "K9F1G08Q0M"))
    blocks["samsung"].append(ModelBlock(
        [(K9LEAG8ZUMM, controllers) for controllers in K9LEAG8ZUMM_ROWS], fixed=True))
    blocks["micron"].append(ModelBlock(
        [(MT29F64G08, c) for c in controller_rows(rng, 2, 5)] +
        [(MT29F64G08_VARIANT, c) for c in controller_rows(rng, 2, 4)], fixed=True))
    for maker in MAKER_ORDER:
        rng.shuffle(blocks[maker])
    return blocks


def order_blocks(rng, blocks):
    """Makers one after another, as the table was first entered, then a tail of later
    additions from every maker; K9HCG08U5M goes where it gets id 57."""
    main, tail = [], []
    for maker in MAKER_ORDER:
        share = max(1, len(blocks[maker]) // 12)
        main.extend(blocks[maker][share:])
        tail.extend(blocks[maker][:share])
    rng.shuffle(tail)
    ordered = main + tail
    rows_before, position = 0, 0
    while rows_before + len(ordered[position].rows) <= IDS_BELOW_57:
        rows_before += len(ordered[position].rows)
        position += 1
    ordered.insert(position, ModelBlock([(K9HCG08U5M, K9HCG08U5M_CONTROLLERS)], fixed=True))
    return ordered, IDS_BELOW_57 - rows_before


def assign_ids(rng, row_total, gaps_before_57):
    """Ids from 10 to 3567 with gaps (deleted rows); the row after the gaps_before_57 gaps below
    57 gets id 57."""
    gaps_total = LAST_ID - FIRST_ID + 1 - row_total
    early = rng.sample(range(FIRST_ID + 1, 57), gaps_before_57)
    late = rng.sample(range(58, LAST_ID), gaps_total - gaps_before_57)
    missing = set(early + late)
    return [i for i in range(FIRST_ID, LAST_ID + 1) if i not in missing]


def decorate(rng, rows, fixed_rows):
    """Values as entered by hand: line breaks around some controller and voltage values, a
    leading blank in some chip generations, a few lower-case IDs and "/" alternatives."""
    by_model = {}
    for index, row in enumerate(rows):
        if index not in fixed_rows:
            by_model.setdefault(row[1], []).append(index)
    models = list(by_model)
    remarked = [model for model, _ in REMARKS]
    for model in rng.sample(models, 10):
        text = rows[by_model[model][0]][10]
        value = "\r\n" + text if rng.random() < 0.5 else text + "\r\n"
        for index in by_model[model]:
            rows[index][10] = value
    for model in rng.sample(models, 12):
        for index in by_model[model]:
            rows[index][11] = " " + rows[index][11]
    lower_case = rng.sample(models, 5)
    for model in lower_case:
        for index in by_model[model]:
            rows[index][7] = rows[index][7].lower()
    slash_models = [m for m in models
                    if len(rows[by_model[m][0]][7].split(" ")) <= 6 and m not in remarked]
    for model in rng.sample(slash_models, 10) + ["H27UBG8T2BTR-BC"]:
        first = rows[by_model[model][0]][7]
        alternative = f"{int(first[-2:], 16) ^ 0x05:02X}"
        if model in lower_case:
            alternative = alternative.lower()
        for index in by_model[model]:
            if rows[index][7] == first:
                rows[index][7] = first + "/" + alternative
    cells = [(i, c) for i in range(len(rows)) if i not in fixed_rows
             for c in range(13, 23) if rows[i][c]]
    for index, column in rng.sample(cells, 30):
        value = rows[index][column]
        rows[index][column] = "\r\n" + value if rng.random() < 0.5 else value + "\r\n"


def build_rows():
    rng = random.Random(SEED)
    ordered, gaps_before_57 = order_blocks(rng, build_blocks(rng))
    flat = [(block, chip, controllers) for block in ordered for chip, controllers in block.rows]
    assert len(flat) == ROW_COUNT, len(flat)
    ids = assign_ids(rng, len(flat), gaps_before_57)
    rows, fixed_rows = [], set()
    for row_id, (block, chip, controllers) in zip(ids, flat):
        if block.fixed:
            fixed_rows.add(len(rows))
        rows.append([str(row_id)] + chip.detail_fields() +
                    [controllers.get(maker, "") for maker in CONTROLLER_MAKERS])
    decorate(rng, rows, fixed_rows)
    return rows


def csv_field(value):
    if value and (any(c in value for c in ',"\r\n') or value[0] == " " or value[-1] == " "):
        return '"' + value.replace('"', '""') + '"'
    return value


def write_csv(path, rows):
    lines = [",".join(csv_field(v) for v in row) for row in [COLUMNS] + rows]
    Path(path).write_bytes(("\r\n".join(lines) + "\r\n").encode("utf-8"))


def main():
    default = Path(__file__).resolve().parents[2] / "resources" / "flash_data.csv"
    target = Path(sys.argv[1]) if len(sys.argv) > 1 else default
    write_csv(target, build_rows())


if __name__ == "__main__":
    main()
