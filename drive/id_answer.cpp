#include "drive/id_answer.h"

#include <algorithm>
#include <map>
#include <stdexcept>

#include "drive/nand_id_facts.h"
#include "drive/units.h"
#include "flash/flash_traits.h"

namespace norvessa::drive {

namespace {

std::string factIdText(const NandIdFact& fact) {
    std::string text;
    for (std::size_t index = 0; index < fact.idLength; ++index) {
        if (!text.empty()) {
            text += ' ';
        }
        if ((fact.anyByteMask & (1u << index)) != 0) {
            text += "XX";
        } else {
            text += idText(std::span(&fact.id[index], 1));
        }
    }
    return text;
}

bool sameEntry(const SourcedPart& part, const NandIdFact& fact, std::size_t compared) {
    return part.part == fact.part && part.maker == fact.maker && part.id == factIdText(fact) &&
           part.comparedBytes == compared && part.pageBytes == fact.pageBytes &&
           part.spareBytes == fact.spareBytes && part.blockBytes == fact.blockBytes &&
           part.chipMegabits == fact.chipMegabits && part.dies == fact.dies &&
           part.chipEnables == fact.chipEnables && part.bitsPerCell == fact.bitsPerCell &&
           part.ecc == fact.ecc && part.process == fact.process;
}

std::vector<SourcedPart> groupParts(const std::vector<FactMatch>& matches) {
    std::vector<SourcedPart> parts;
    for (const FactMatch& match : matches) {
        const NandIdFact& fact = *match.fact;
        const auto existing = std::find_if(
            parts.begin(), parts.end(),
            [&](const SourcedPart& part) { return sameEntry(part, fact, match.comparedBytes); });
        if (existing != parts.end()) {
            if (std::find(existing->sources.begin(), existing->sources.end(), fact.source) ==
                existing->sources.end()) {
                existing->sources.emplace_back(fact.source);
            }
            continue;
        }
        SourcedPart part;
        part.part = fact.part;
        part.maker = fact.maker;
        part.id = factIdText(fact);
        part.comparedBytes = match.comparedBytes;
        part.pageBytes = fact.pageBytes;
        part.spareBytes = fact.spareBytes;
        part.blockBytes = fact.blockBytes;
        part.chipMegabits = fact.chipMegabits;
        part.dies = fact.dies;
        part.chipEnables = fact.chipEnables;
        part.bitsPerCell = fact.bitsPerCell;
        part.ecc = fact.ecc;
        part.process = fact.process;
        part.sources.emplace_back(fact.source);
        parts.push_back(std::move(part));
    }
    return parts;
}

// One field compared across the layout decode and the parts that answer to the whole ID.
void compareField(std::string_view name, std::optional<std::uint64_t> decoded,
                  const std::vector<SourcedPart>& parts, auto valueOf, auto textOf,
                  std::vector<std::string>& out) {
    std::map<std::uint64_t, std::vector<std::string>> given;
    for (const SourcedPart& part : parts) {
        const std::uint64_t value = valueOf(part);
        if (value != 0) {
            auto& names = given[value];
            if (std::find(names.begin(), names.end(), part.part) == names.end()) {
                names.push_back(part.part);
            }
        }
    }
    const bool tablesAgree = given.size() <= 1;
    const bool layoutAgrees =
        !decoded || given.empty() || (given.size() == 1 && given.begin()->first == *decoded);
    if (tablesAgree && layoutAgrees) {
        return;
    }
    std::string line = std::string(name) + ": ";
    if (decoded) {
        line += "the ID layout gives " + textOf(*decoded) + "; ";
    }
    line += "the tables give ";
    bool first = true;
    for (const auto& [value, names] : given) {
        line += (first ? "" : ", ") + textOf(value) + " (";
        for (std::size_t index = 0; index < names.size(); ++index) {
            if (index == 3) {
                line += " and " + std::to_string(names.size() - 3) + " more";
                break;
            }
            line += (index == 0 ? "" : ", ") + names[index];
        }
        line += ")";
        first = false;
    }
    out.push_back(std::move(line));
}

std::vector<std::string> disagreements(const flash::IdDecode& decoded,
                                       const std::vector<SourcedPart>& parts,
                                       std::size_t idLength) {
    // Only the parts that answer to every byte both give, and at least to the cell byte and
    // the geometry byte, say what this ID is.
    std::vector<SourcedPart> exact;
    for (const SourcedPart& part : parts) {
        if (part.comparedBytes >= std::min<std::size_t>(idLength, 4)) {
            exact.push_back(part);
        }
    }
    std::vector<std::string> out;
    const auto bytes = [](std::uint64_t value) { return sizeText(value); };
    const auto plain = [](std::uint64_t value) { return std::to_string(value) + " bytes"; };
    const auto widen = [](const std::optional<std::uint32_t>& value) {
        return value ? std::optional<std::uint64_t>(*value) : std::nullopt;
    };
    compareField(
        "page", widen(decoded.pageBytes), exact,
        [](const SourcedPart& part) { return std::uint64_t{part.pageBytes}; }, plain, out);
    compareField(
        "spare", widen(decoded.spareBytes), exact,
        [](const SourcedPart& part) { return std::uint64_t{part.spareBytes}; }, plain, out);
    compareField(
        "block", widen(decoded.blockBytes), exact,
        [](const SourcedPart& part) { return std::uint64_t{part.blockBytes}; }, bytes, out);
    compareField(
        "cell",
        decoded.bitsPerCell ? std::optional<std::uint64_t>(*decoded.bitsPerCell) : std::nullopt,
        exact, [](const SourcedPart& part) { return static_cast<std::uint64_t>(part.bitsPerCell); },
        [](std::uint64_t value) { return std::string(flash::cellName(static_cast<int>(value))); },
        out);
    return out;
}

std::string cellText(const std::optional<int>& bits) {
    if (!bits) {
        return "unknown";
    }
    const std::string_view name = flash::cellName(*bits);
    return name.empty() ? std::to_string(*bits) + " bits per cell" : std::string(name);
}

template <typename T>
std::string orUnknown(const std::optional<T>& value, auto textOf) {
    return value ? textOf(*value) : std::string("unknown");
}

std::string eccText(const flash::EccRequirement& ecc) {
    if (ecc.bits == 0) {
        return "none needed (the chip corrects its own errors)";
    }
    return std::to_string(ecc.bits) + " bits per " + std::to_string(ecc.sectorBytes) + " bytes";
}

std::string partLine(const SourcedPart& part) {
    std::string line = part.part;
    if (!part.maker.empty()) {
        line += "  " + part.maker;
    }
    if (part.bitsPerCell != 0) {
        line += "  " + std::string(flash::cellName(part.bitsPerCell));
    }
    if (part.pageBytes != 0) {
        line += "  page " + std::to_string(part.pageBytes);
        if (part.spareBytes != 0) {
            line += "+" + std::to_string(part.spareBytes);
        }
    }
    if (part.blockBytes != 0) {
        line += "  block " + sizeText(part.blockBytes);
    }
    if (part.chipMegabits != 0) {
        line += "  " + densityText(std::uint64_t{part.chipMegabits} << 20);
    }
    if (part.dies != 0) {
        line += "  " + std::to_string(part.dies) + (part.dies == 1 ? " die" : " dies");
    }
    if (part.chipEnables != 0) {
        line += "  " + std::to_string(part.chipEnables) + " CE";
    }
    if (!part.ecc.empty()) {
        line += "  ECC " + part.ecc;
    }
    if (!part.process.empty()) {
        line += "  " + part.process + " nm";
    }
    line += "  [ID " + part.id + "]";
    return line;
}

}  // namespace

std::string shortSource(std::string_view source) {
    if (source.starts_with("datasheet: ")) {
        source.remove_prefix(11);
        const std::size_t comma = source.find(',');
        return "datasheet " + std::string(source.substr(0, comma));
    }
    const std::size_t at = source.find('@');
    const std::size_t colon = source.find(':', at == std::string_view::npos ? 0 : at);
    if (at != std::string_view::npos && colon != std::string_view::npos) {
        return std::string(source.substr(0, at)) + ":" + std::string(source.substr(colon + 1));
    }
    return std::string(source);
}

IdAnswer answerId(std::span<const std::uint8_t> id) {
    IdAnswer answer;
    answer.id.assign(id.begin(), id.end());
    answer.decoded = flash::decodeId(id);
    answer.parts = groupParts(factsMatchingId(id));
    answer.disagreements = disagreements(answer.decoded, answer.parts, id.size());
    return answer;
}

void writeIdAnswerText(std::ostream& out, const IdAnswer& answer, std::string_view indent) {
    const flash::IdDecode& decoded = answer.decoded;
    out << indent << "Flash ID: " << idText(answer.id) << '\n';
    if (answer.parts.empty()) {
        out << indent << "Parts: none of the sourced ID tables lists this ID\n";
    } else {
        // Parts known by their maker and device code alone say little once longer IDs answer:
        // they are counted here and listed in full by the JSON output.
        const bool longerMatches = answer.parts.front().comparedBytes > 2;
        const auto shown = std::count_if(
            answer.parts.begin(), answer.parts.end(),
            [&](const SourcedPart& part) { return !longerMatches || part.comparedBytes > 2; });
        out << indent << "Parts with this ID in the sourced ID tables (" << shown << "):\n";
        for (const SourcedPart& part : answer.parts) {
            if (longerMatches && part.comparedBytes <= 2) {
                continue;
            }
            out << indent << "  " << partLine(part);
            if (part.comparedBytes < answer.id.size()) {
                out << " (answers to the first " << part.comparedBytes << " bytes)";
            }
            out << '\n' << indent << "      from " << shortSource(part.sources.front());
            if (part.sources.size() > 1) {
                out << " and " << part.sources.size() - 1 << " more";
            }
            out << '\n';
        }
        if (const auto rest = static_cast<std::ptrdiff_t>(answer.parts.size()) - shown; rest > 0) {
            out << indent << "  and " << rest
                << " more that answer to the maker and device code only (--format json lists "
                   "them)\n";
        }
    }
    out << indent << "Decoded from the ID layout (" << decoded.scheme << "):\n";
    const auto row = [&](std::string_view name, const std::string& value) {
        out << indent << "  " << name << std::string(16 - name.size(), ' ') << value << '\n';
    };
    row("Maker:", decoded.maker
                      ? std::string(flash::makerName(*decoded.maker))
                      : "unknown (maker code " + idText(std::span(answer.id.data(), 1)) + ")");
    row("Cell:", cellText(decoded.bitsPerCell));
    row("Page:", orUnknown(decoded.pageBytes,
                           [](std::uint32_t value) { return std::to_string(value) + " bytes"; }));
    row("Spare:", orUnknown(decoded.spareBytes, [](std::uint32_t value) {
            return std::to_string(value) + " bytes per page";
        }));
    row("Block:",
        orUnknown(decoded.blockBytes, [](std::uint32_t value) { return sizeText(value); }));
    row("Planes:", orUnknown(decoded.planes, [](int value) { return std::to_string(value); }));
    row("Dies per CE:",
        orUnknown(decoded.diesPerCe, [](int value) { return std::to_string(value); }));
    row("Density per CE:",
        orUnknown(decoded.ceDensityBits, [](std::uint64_t value) { return densityText(value); }));
    row("Bus width:",
        orUnknown(decoded.busWidthBits, [](int value) { return std::to_string(value) + " bit"; }));
    row("Supply:", orUnknown(decoded.supply, [](flash::Supply value) {
            return std::string(flash::supplyText(value));
        }));
    row("ECC:", orUnknown(decoded.ecc, eccText));
    row("Process:", orUnknown(decoded.process, [](const std::string& value) { return value; }));
    for (const std::string& line : answer.disagreements) {
        out << indent << "  Disagreement: " << line << '\n';
    }
}

void writeIdAnswerJson(json::JsonWriter& json, const IdAnswer& answer) {
    const flash::IdDecode& decoded = answer.decoded;
    json.string("id", idText(answer.id));
    json.beginArray("parts");
    for (const SourcedPart& part : answer.parts) {
        json.beginObject();
        json.string("part", part.part);
        json.string("maker", part.maker);
        json.string("id", part.id);
        json.number("compared_bytes", part.comparedBytes);
        const auto optional = [](std::uint64_t value) {
            return value != 0 ? std::optional<std::uint64_t>(value) : std::nullopt;
        };
        if (part.bitsPerCell != 0) {
            json.string("cell", flash::cellName(part.bitsPerCell));
        } else {
            json.null("cell");
        }
        json.optionalNumber("page_bytes", optional(part.pageBytes));
        json.optionalNumber("spare_bytes", optional(part.spareBytes));
        json.optionalNumber("block_bytes", optional(part.blockBytes));
        json.optionalNumber("chip_megabits", optional(part.chipMegabits));
        json.optionalNumber("dies", optional(static_cast<std::uint64_t>(part.dies)));
        json.optionalNumber("chip_enables", optional(static_cast<std::uint64_t>(part.chipEnables)));
        json.textOrNull("ecc", part.ecc);
        json.textOrNull("process", part.process);
        json.stringArray("sources", part.sources);
        json.endObject();
    }
    json.endArray();

    json.beginObject("decoded");
    json.optionalString("maker", decoded.maker
                                     ? std::optional(std::string(flash::makerName(*decoded.maker)))
                                     : std::nullopt);
    const std::string_view cell = decoded.bitsPerCell ? flash::cellName(*decoded.bitsPerCell) : "";
    json.textOrNull("cell", cell);
    const auto widen = [](const auto& value) {
        return value ? std::optional<std::uint64_t>(static_cast<std::uint64_t>(*value))
                     : std::nullopt;
    };
    json.optionalNumber("page_bytes", widen(decoded.pageBytes));
    json.optionalNumber("spare_bytes", widen(decoded.spareBytes));
    json.optionalNumber("block_bytes", widen(decoded.blockBytes));
    json.optionalNumber("planes", widen(decoded.planes));
    json.optionalNumber("dies_per_ce", widen(decoded.diesPerCe));
    json.optionalNumber("ce_density_bits", widen(decoded.ceDensityBits));
    json.optionalNumber("bus_width_bits", widen(decoded.busWidthBits));
    json.optionalString(
        "supply", decoded.supply ? std::optional(std::string(flash::supplyText(*decoded.supply)))
                                 : std::nullopt);
    if (decoded.ecc) {
        json.beginObject("ecc");
        json.number("bits", static_cast<std::uint64_t>(decoded.ecc->bits));
        json.number("sector_bytes", static_cast<std::uint64_t>(decoded.ecc->sectorBytes));
        json.endObject();
    } else {
        json.null("ecc");
    }
    json.optionalString("process", decoded.process);
    json.string("scheme", decoded.scheme);
    json.endObject();

    json.stringArray("disagreements", answer.disagreements);
}

}  // namespace norvessa::drive
