#include "tools/dataset_check/rules.h"

#include <vector>

#include "flash/id_decoder.h"
#include "flash/part_number.h"
#include "tools/dataset_check/flash_fields.h"

namespace norvessa::dataset::check {

namespace {

const std::string& field(const FlashRecord& row, std::size_t column) {
    return row.fields[column];
}

std::string inQuotes(std::string_view text) {
    return "\"" + std::string(text) + "\"";
}

std::string densityText(std::uint64_t bits) {
    if (bits % flash::kGigabit == 0) {
        return std::to_string(bits / flash::kGigabit) + " Gbit";
    }
    return std::to_string(bits / flash::kMegabit) + " Mbit";
}

std::string pageText(std::uint32_t bytes) {
    return bytes % 1024 == 0 ? std::to_string(bytes / 1024) + "K" : std::to_string(bytes);
}

// A detail field read for a comparison: empty text is unknown, other text of the wrong shape is
// a fault of its own.
template <typename T>
struct Reading {
    std::optional<T> value;
    std::optional<std::string> fault;
};

template <typename T, typename Parse>
Reading<T> readField(const FlashRecord& row, std::size_t column, Parse parse,
                     std::string_view shape) {
    const std::string& text = field(row, column);
    if (trimmed(text).empty()) {
        return {};
    }
    if (auto value = parse(text)) {
        return {std::move(value), std::nullopt};
    }
    return {std::nullopt, std::string(kColumnNames[column]) + " " + inQuotes(text) + " is not " +
                              std::string(shape)};
}

Reading<std::uint64_t> readCapacity(const FlashRecord& row) {
    return readField<std::uint64_t>(row, column::kCapacity, capacityBits, "like 8GB or 512MB");
}
Reading<CellType> readCellType(const FlashRecord& row) {
    return readField<CellType>(row, column::kCellType, cellType, "like MLC-4K or SLC-512");
}
Reading<BusWidth> readBusWidth(const FlashRecord& row) {
    return readField<BusWidth>(row, column::kBusWidth, busWidth, "8bit, 16bit or 8bit DDR");
}
Reading<int> readChipEnables(const FlashRecord& row) {
    return readField<int>(row, column::kChipEnables, chipEnables, "like 1CE or 4CE");
}

struct IdReading {
    std::optional<flash::IdDecode> decode;
    std::optional<std::string> fault;
};

IdReading readId(const FlashRecord& row) {
    const std::string& text = field(row, column::kIdBytes);
    if (trimmed(text).empty()) {
        return {};
    }
    const auto pattern = flash::parseIdText(text);
    if (!pattern) {
        return {std::nullopt, "ID号 " + inQuotes(text) + " is not 2 to 8 hex bytes"};
    }
    return {flash::decodeIdPattern(*pattern), std::nullopt};
}

bool sameMaker(flash::Maker fromCode, flash::Maker fromBrand) {
    // SpecTek sells Micron dies under its own code.
    return fromCode == fromBrand ||
           (fromCode == flash::Maker::SpecTek && fromBrand == flash::Maker::Micron);
}

// Collects the comparisons of one rule: any mismatch fails it, none made leaves it unknown.
class Comparison {
  public:
    void fault(const std::optional<std::string>& fault) {
        if (fault) {
            mismatches_.push_back(*fault);
        }
    }
    template <typename T>
    void compare(const std::optional<T>& decoded, const std::optional<T>& stored,
                 const std::string& mismatch) {
        if (!decoded || !stored) {
            return;
        }
        compared_ = true;
        if (*decoded != *stored) {
            mismatches_.push_back(mismatch);
        }
    }
    Outcome outcome() const {
        if (!mismatches_.empty()) {
            std::string detail;
            for (const auto& mismatch : mismatches_) {
                detail += detail.empty() ? "" : "; ";
                detail += mismatch;
            }
            return Outcome::fail(detail);
        }
        return compared_ ? Outcome::pass() : Outcome::unknown();
    }

  private:
    bool compared_ = false;
    std::vector<std::string> mismatches_;
};

std::optional<flash::Maker> brandMaker(const FlashRecord& row) {
    return flash::makerOfBrand(field(row, column::kMaker));
}

Outcome compareMaker(std::optional<flash::Maker> decoded, const FlashRecord& row,
                     const std::string& what) {
    const auto brand = brandMaker(row);
    if (!decoded || !brand) {
        return Outcome::unknown();
    }
    if (sameMaker(*decoded, *brand)) {
        return Outcome::pass();
    }
    return Outcome::fail(what + " is " + std::string(flash::makerName(*decoded)) +
                         "'s, 品牌 says " + inQuotes(field(row, column::kMaker)));
}

void compareCellType(Comparison& comparison, std::optional<int> bitsPerCell,
                     std::optional<std::uint32_t> pageBytes, const FlashRecord& row,
                     const std::string& what) {
    const auto stored = readCellType(row);
    comparison.fault(stored.fault);
    if (!stored.value) {
        return;
    }
    const std::string storedText = inQuotes(field(row, column::kCellType));
    if (bitsPerCell) {
        comparison.compare(bitsPerCell, std::optional(stored.value->bitsPerCell),
                           what + " says " + std::string(flash::cellName(*bitsPerCell)) +
                               ", 类型 says " + storedText);
    }
    if (pageBytes) {
        comparison.compare(
            pageBytes, stored.value->pageBytes,
            what + " says " + pageText(*pageBytes) + " pages, 类型 says " + storedText);
    }
}

void compareWidth(Comparison& comparison, std::optional<int> widthBits, const FlashRecord& row,
                  const std::string& what) {
    const auto stored = readBusWidth(row);
    comparison.fault(stored.fault);
    if (stored.value && widthBits) {
        comparison.compare(widthBits, std::optional(stored.value->bits),
                           what + " says x" + std::to_string(*widthBits) + ", 位宽 says " +
                               inQuotes(field(row, column::kBusWidth)));
    }
}

std::string idText(const FlashRecord& row) {
    return "ID号 " + std::string(trimmed(field(row, column::kIdBytes)));
}

std::string partText(const FlashRecord& row) {
    return "the part number " + field(row, column::kModel);
}

}  // namespace

Outcome checkIdMaker(const FlashRecord& row) {
    const auto id = readId(row);
    if (id.fault) {
        return Outcome::fail(*id.fault);
    }
    return id.decode ? compareMaker(id.decode->maker, row, idText(row)) : Outcome::unknown();
}

Outcome checkIdCapacity(const FlashRecord& row) {
    const auto id = readId(row);
    if (!id.decode || !id.decode->ceDensityBits) {
        return Outcome::unknown();
    }
    const auto capacity = readCapacity(row);
    const auto enables = readChipEnables(row);
    Comparison comparison;
    comparison.fault(capacity.fault);
    comparison.fault(enables.fault);
    if (capacity.value && enables.value) {
        const std::uint64_t expected =
            *id.decode->ceDensityBits * static_cast<std::uint64_t>(*enables.value);
        comparison.compare(std::optional(expected), capacity.value,
                           idText(row) + " gives " + densityText(*id.decode->ceDensityBits) +
                               " per CE, × " + std::to_string(*enables.value) +
                               "CE = " + capacityText(expected) + "; 容量 says " +
                               inQuotes(field(row, column::kCapacity)));
    }
    return comparison.outcome();
}

Outcome checkIdType(const FlashRecord& row) {
    const auto id = readId(row);
    if (!id.decode) {
        return Outcome::unknown();
    }
    Comparison comparison;
    compareCellType(comparison, id.decode->bitsPerCell, id.decode->pageBytes, row, idText(row));
    return comparison.outcome();
}

Outcome checkIdWidth(const FlashRecord& row) {
    const auto id = readId(row);
    if (!id.decode) {
        return Outcome::unknown();
    }
    Comparison comparison;
    compareWidth(comparison, id.decode->busWidthBits, row, idText(row));
    return comparison.outcome();
}

Outcome checkPartMaker(const FlashRecord& row) {
    return compareMaker(flash::decodePartNumber(field(row, column::kModel)).maker, row,
                        partText(row));
}

Outcome checkPartCapacity(const FlashRecord& row) {
    const auto part = flash::decodePartNumber(field(row, column::kModel));
    if (!part.densityBits) {
        return Outcome::unknown();
    }
    const auto capacity = readCapacity(row);
    Comparison comparison;
    comparison.fault(capacity.fault);
    comparison.compare(part.densityBits, capacity.value,
                       partText(row) + " says " + densityText(*part.densityBits) + " = " +
                           capacityText(*part.densityBits) + ", 容量 says " +
                           inQuotes(field(row, column::kCapacity)));
    return comparison.outcome();
}

Outcome checkPartType(const FlashRecord& row) {
    const auto part = flash::decodePartNumber(field(row, column::kModel));
    Comparison comparison;
    if (part.bitsPerCell || part.pageBytes) {
        compareCellType(comparison, part.bitsPerCell, part.pageBytes, row, partText(row));
    }
    return comparison.outcome();
}

Outcome checkPartWidth(const FlashRecord& row) {
    const auto part = flash::decodePartNumber(field(row, column::kModel));
    Comparison comparison;
    if (part.busWidthBits) {
        compareWidth(comparison, part.busWidthBits, row, partText(row));
    }
    return comparison.outcome();
}

Outcome checkPartChipEnables(const FlashRecord& row) {
    const auto part = flash::decodePartNumber(field(row, column::kModel));
    if (!part.chipEnables) {
        return Outcome::unknown();
    }
    const auto enables = readChipEnables(row);
    Comparison comparison;
    comparison.fault(enables.fault);
    comparison.compare(part.chipEnables, enables.value,
                       partText(row) + " says " + std::to_string(*part.chipEnables) +
                           "CE, 片选 says " + inQuotes(field(row, column::kChipEnables)));
    return comparison.outcome();
}

}  // namespace norvessa::dataset::check
