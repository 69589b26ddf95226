#include "tools/id_decode_table/known_ids.h"

#include <charconv>
#include <stdexcept>

#include "flash/flash_traits.h"

namespace norvessa::tools {

namespace {

std::vector<std::string> splitFields(std::string_view line) {
    std::vector<std::string> fields;
    std::size_t start = 0;
    for (;;) {
        const std::size_t comma = line.find(',', start);
        fields.emplace_back(
            line.substr(start, comma == std::string_view::npos ? comma : comma - start));
        if (comma == std::string_view::npos) {
            return fields;
        }
        start = comma + 1;
    }
}

std::optional<std::uint64_t> number(const std::string& text, std::size_t lineNumber) {
    if (text.empty()) {
        return std::nullopt;
    }
    std::uint64_t value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size()) {
        throw std::runtime_error("line " + std::to_string(lineNumber) + ": \"" + text +
                                 "\" is no number");
    }
    return value;
}

int bitsOfCell(std::string_view cell) {
    if (cell == "SLC") {
        return 1;
    }
    if (cell == "MLC") {
        return 2;
    }
    if (cell == "TLC") {
        return 3;
    }
    if (cell == "QLC") {
        return 4;
    }
    return 0;
}

template <typename T>
FieldVerdict compare(std::string_view field, const std::optional<T>& decoded,
                     const std::optional<std::uint64_t>& known) {
    if (!known) {
        return {field, Verdict::NotScored, decoded ? std::to_string(*decoded) : "-"};
    }
    if (!decoded) {
        return {field, Verdict::Unknown, "-"};
    }
    return {field, static_cast<std::uint64_t>(*decoded) == *known ? Verdict::Right : Verdict::Wrong,
            std::to_string(*decoded)};
}

}  // namespace

std::vector<KnownId> readKnownIds(std::string_view csvText) {
    std::vector<KnownId> ids;
    bool headerSeen = false;
    std::size_t lineNumber = 0;
    std::size_t start = 0;
    while (start < csvText.size()) {
        std::size_t end = csvText.find('\n', start);
        if (end == std::string_view::npos) {
            end = csvText.size();
        }
        std::string_view line = csvText.substr(start, end - start);
        start = end + 1;
        ++lineNumber;
        if (!line.empty() && line.back() == '\r') {
            line.remove_suffix(1);
        }
        if (line.empty() || line.front() == '#') {
            continue;
        }
        if (!headerSeen) {
            headerSeen = true;
            continue;
        }
        const auto fields = splitFields(line);
        if (fields.size() != 8) {
            throw std::runtime_error("line " + std::to_string(lineNumber) + ": " +
                                     std::to_string(fields.size()) + " fields, not 8");
        }
        const auto pattern = flash::parseIdText(fields[0]);
        if (!pattern) {
            throw std::runtime_error("line " + std::to_string(lineNumber) + ": \"" + fields[0] +
                                     "\" is no ID");
        }
        KnownId known;
        known.id = flash::expandIdPattern(*pattern).front();
        known.text = fields[0];
        known.part = fields[1];
        known.maker = fields[2];
        known.cell = fields[3];
        known.pageBytes = number(fields[4], lineNumber);
        known.blockBytes = number(fields[5], lineNumber);
        known.ceMegabits = number(fields[6], lineNumber);
        known.source = fields[7];
        ids.push_back(std::move(known));
    }
    return ids;
}

std::vector<FieldVerdict> scoreDecode(const KnownId& known, const flash::IdDecode& decoded) {
    std::vector<FieldVerdict> verdicts;
    // The maker: the decode's name must be the known one ("Hynix" for SK hynix).
    if (known.maker.empty()) {
        verdicts.push_back({"maker", Verdict::NotScored, "-"});
    } else if (!decoded.maker) {
        verdicts.push_back({"maker", Verdict::Unknown, "-"});
    } else {
        const std::string name(flash::makerName(*decoded.maker));
        verdicts.push_back({"maker", name == known.maker ? Verdict::Right : Verdict::Wrong, name});
    }
    const int bits = bitsOfCell(known.cell);
    verdicts.push_back(compare(
        "cell", decoded.bitsPerCell,
        bits == 0 ? std::nullopt : std::optional<std::uint64_t>(static_cast<std::uint64_t>(bits))));
    verdicts.push_back(compare("page", decoded.pageBytes, known.pageBytes));
    verdicts.push_back(compare("block", decoded.blockBytes, known.blockBytes));
    const std::optional<std::uint64_t> megabits =
        decoded.ceDensityBits
            ? std::optional<std::uint64_t>(*decoded.ceDensityBits / flash::kMegabit)
            : std::nullopt;
    verdicts.push_back(compare("density per CE", megabits, known.ceMegabits));
    return verdicts;
}

std::string_view verdictText(Verdict verdict) {
    switch (verdict) {
        case Verdict::Right:
            return "right";
        case Verdict::Wrong:
            return "WRONG";
        case Verdict::Unknown:
            return "unknown";
        case Verdict::NotScored:
            return "n/a";
    }
    return "?";
}

}  // namespace norvessa::tools
