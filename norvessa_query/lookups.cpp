#include "norvessa_query/lookups.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <cstdint>
#include <optional>
#include <set>
#include <stdexcept>
#include <string>
#include <type_traits>
#include <utility>
#include <variant>

#include "platform/ado/snapshot.h"
#include "platform/jet/text_codec.h"
#include "platform/sql/parser.h"
#include "platform/text/utf8.h"
#include "resources/database_image.h"

namespace norvessa::query {

Cell Cell::fromValue(jet::Value&& value) {
    if (auto* text = std::get_if<std::string>(&value)) {
        return fromText(std::move(*text));
    }
    return fromValue(std::as_const(value));
}

Cell Cell::fromValue(const jet::Value& value) {
    return std::visit(
        [&value](const auto& held) -> Cell {
            using Held = std::decay_t<decltype(held)>;
            if constexpr (std::is_same_v<Held, std::monostate>) {
                return {Kind::Null, {}};
            } else if constexpr (std::is_same_v<Held, std::uint8_t> ||
                                 std::is_same_v<Held, std::int16_t> ||
                                 std::is_same_v<Held, std::int32_t>) {
                return fromInteger(held);
            } else {
                return fromText(jet::toText(value));
            }
        },
        value);
}

std::size_t columnPosition(const jet::TableDefinition& table, std::string_view column) {
    for (std::size_t position = 0; position < table.columns.size(); ++position) {
        if (table.columns[position].name == column) {
            return position;
        }
    }
    throw std::runtime_error("table " + table.name + " has no column " + std::string(column) +
                             "; is this a Norvessa lookup database?");
}

namespace {

std::optional<std::uint8_t> hexDigitValue(char digit) {
    if (digit >= '0' && digit <= '9') {
        return static_cast<std::uint8_t>(digit - '0');
    }
    if (digit >= 'A' && digit <= 'F') {
        return static_cast<std::uint8_t>(digit - 'A' + 10);
    }
    if (digit >= 'a' && digit <= 'f') {
        return static_cast<std::uint8_t>(digit - 'a' + 10);
    }
    return std::nullopt;
}

bool isBlank(char character) {
    return character == ' ' || character == '\t' || character == '\r' || character == '\n';
}

// The whole UTF-8 sequence that starts at `index`, so that a message quotes a Chinese
// character whole rather than its first byte.
std::string_view characterAt(std::string_view text, std::size_t index) {
    std::size_t end = index + 1;
    while (end < text.size() && norvessa::text::isUtf8Continuation(text[end])) {
        ++end;
    }
    return text.substr(index, end - index);
}

// One alternative of a stored position: a run of hexadecimal pairs ("15", rarely "ECD3").
bool isHexPairs(std::string_view text) {
    if (text.empty() || text.size() % 2 != 0) {
        return false;
    }
    for (const char digit : text) {
        if (!hexDigitValue(digit)) {
            return false;
        }
    }
    return true;
}

std::uint8_t pairAt(std::string_view hexPairs, std::size_t pair) {
    return static_cast<std::uint8_t>(*hexDigitValue(hexPairs[2 * pair]) << 4 |
                                     *hexDigitValue(hexPairs[2 * pair + 1]));
}

// Where a match attempt already failed: (position in the stored value, bytes still wanted).
using FailedAttempts = std::set<std::pair<std::size_t, std::size_t>>;

// Matches `wanted` against the stored value from `position` on, trying every alternative of
// each blank-separated group in turn. Each failed attempt is remembered, so that a value of a
// damaged or hostile database with many alternatives in many groups costs polynomial time
// rather than exponential.
// Without alternatives (no "/") there is one attempt at each group and nothing to remember:
// `failed` is then null.
bool matchFrom(std::string_view stored, std::size_t position, std::span<const std::uint8_t> wanted,
               FailedAttempts* failed) {
    if (wanted.empty()) {
        return true;
    }
    if (failed != nullptr && !failed->emplace(position, wanted.size()).second) {
        return false;
    }
    while (position < stored.size() && isBlank(stored[position])) {
        ++position;
    }
    std::size_t groupEnd = position;
    while (groupEnd < stored.size() && !isBlank(stored[groupEnd])) {
        ++groupEnd;
    }
    const std::string_view group = stored.substr(position, groupEnd - position);
    std::size_t alternativeStart = 0;
    while (alternativeStart < group.size()) {
        const std::size_t slash = group.find('/', alternativeStart);
        const std::size_t alternativeEnd = slash == std::string_view::npos ? group.size() : slash;
        const std::string_view alternative =
            group.substr(alternativeStart, alternativeEnd - alternativeStart);
        alternativeStart = alternativeEnd + 1;
        if (!isHexPairs(alternative)) {
            continue;
        }
        const std::size_t compared = std::min(alternative.size() / 2, wanted.size());
        bool same = true;
        for (std::size_t pair = 0; pair < compared && same; ++pair) {
            same = pairAt(alternative, pair) == wanted[pair];
        }
        if (same && (compared == wanted.size() ||
                     matchFrom(stored, groupEnd, wanted.subspan(compared), failed))) {
            return true;
        }
    }
    return false;
}

}  // namespace

std::vector<std::uint8_t> parseTypedIdBytes(std::string_view typed, std::string_view option) {
    const std::string quoted = std::string(option) + " \"" + std::string(typed) + "\": ";
    std::string digits;
    for (std::size_t index = 0; index < typed.size(); ++index) {
        const char character = typed[index];
        // Blanks, and the colons and dashes of IDs as some tools print them (EC:D7:94).
        if (isBlank(character) || character == ':' || character == '-') {
            continue;
        }
        if (!hexDigitValue(character)) {
            throw UsageError(quoted + "'" + std::string(characterAt(typed, index)) +
                             "' is not a hexadecimal digit; give ID bytes as pairs of digits "
                             "0-9 and A-F, such as \"EC D5 14 B6\"");
        }
        digits.push_back(character);
    }
    if (digits.empty()) {
        throw UsageError(quoted +
                         "no ID bytes given; give pairs of hexadecimal digits, such as "
                         "\"EC D5 14 B6\"");
    }
    if (digits.size() % 2 != 0) {
        throw UsageError(quoted + std::to_string(digits.size()) +
                         " hexadecimal digits, an odd number; every ID byte takes two digits");
    }
    std::vector<std::uint8_t> bytes;
    for (std::size_t pair = 0; pair < digits.size() / 2; ++pair) {
        bytes.push_back(pairAt(digits, pair));
    }
    return bytes;
}

bool storedIdBeginsWith(std::string_view stored, std::span<const std::uint8_t> wanted) {
    if (stored.find('/') == std::string_view::npos) {
        return matchFrom(stored, 0, wanted, nullptr);
    }
    FailedAttempts failed;
    return matchFrom(stored, 0, wanted, &failed);
}

std::optional<std::uint8_t> hexPair(std::string_view text) {
    if (text.size() != 2 || !isHexPairs(text)) {
        return std::nullopt;
    }
    return pairAt(text, 0);
}

extern "C" const std::uint8_t norvessaDatabaseImage[];
extern "C" const std::uint8_t norvessaDatabaseImageEnd[];

std::span<const std::uint8_t> embeddedLookupImage() {
    return {norvessaDatabaseImage, norvessaDatabaseImageEnd};
}

std::string databasePassword(const DatabaseChoice& choice) {
    return choice.password.value_or(std::to_string(resources::kDatabasePassword));
}

jet::Database openLookupDatabase(const DatabaseChoice& choice) {
    if (choice.file) {
        return jet::Database::open(*choice.file, databasePassword(choice),
                                   jet::WrittenBy::AnyProgram);
    }
    return jet::Database::fromStaticImage(embeddedLookupImage(), databasePassword(choice),
                                          "the embedded lookup database",
                                          jet::WrittenBy::ThisProgram);
}

std::string exactLookupStatement(std::string_view modelKey) {
    std::string statement = "select * from velthorn42 where FLASH型号 ='";
    for (const char character : modelKey) {
        if (character == '\'') {
            statement += '\'';
        }
        statement += character;
    }
    return statement + " '";
}

ResultTable lookUpExactModel(const jet::Database& database, std::string_view modelKey) {
    const sql::SelectQuery query = sql::parseSelect(exactLookupStatement(modelKey));
    const ado::Snapshot snapshot = ado::takeSnapshot(database, query);

    const jet::Table table = database.table(query.table);
    ResultTable result;
    result.columns.emplace_back(kSequenceColumn);
    for (const auto& column : table.definition().columns) {
        result.columns.push_back(column.name);
    }
    for (const auto& values : snapshot.rows) {
        std::vector<Cell>& cells = result.rows.emplace_back();
        cells.push_back(Cell::fromInteger(static_cast<long long>(result.rows.size())));
        for (const auto& value : values) {
            cells.push_back(Cell::fromValue(value));
        }
    }
    return result;
}

namespace {

std::string cellText(const jet::RowView& row, std::size_t position) {
    return jet::toText(row.value(position));
}

bool isAscii(std::string_view text) {
    return std::all_of(text.begin(), text.end(),
                       [](char character) { return static_cast<unsigned char>(character) < 0x80; });
}

// Stored models and controller names are plain ASCII, which folds one byte at a time with the
// engine's own case folding, without building a TextKey for every cell of the scan.
bool asciiFoldsToStartWith(std::string_view ascii, std::u16string_view folded) {
    if (ascii.size() < folded.size()) {
        return false;
    }
    for (std::size_t index = 0; index < folded.size(); ++index) {
        if (jet::foldCase(static_cast<char16_t>(ascii[index])) != folded[index]) {
            return false;
        }
    }
    return true;
}

// Whether `text` (without trailing blanks), folded as the engine folds it, is `folded`.
bool foldedEquals(std::string_view text, std::u16string_view folded) {
    if (isAscii(text)) {
        return text.size() == folded.size() && asciiFoldsToStartWith(text, folded);
    }
    return jet::TextKey(text).folded() == folded;
}

}  // namespace

ModelPrefixMatcher::ModelPrefixMatcher(const jet::TableDefinition& table, std::string_view prefix)
    : modelPosition_(columnPosition(table, kModelColumn)), prefix_(prefix) {}

bool ModelPrefixMatcher::matches(const jet::RowView& row) const {
    return row.textStartsWith(modelPosition_, prefix_);
}

IdBytesMatcher::IdBytesMatcher(const jet::TableDefinition& table,
                               std::span<const std::uint8_t> wanted)
    : idPosition_(columnPosition(table, kIdBytesColumn)), wanted_(wanted.begin(), wanted.end()) {}

bool IdBytesMatcher::matches(const jet::RowView& row) const {
    return storedIdBeginsWith(cellText(row, idPosition_), wanted_);
}

namespace {

// One controller chip's names: the one the data set's column writes first. 群联: the model
// table pairs UPxx with PS22xx/PS23xx and PS2251-yy (the data set writes UPxx-yy for a chip the
// table gives one UP name, PS2251-yy for the others; tools/dataset/facts/phison_names.csv). 安国:
// its reference table puts each AU698x beside the AU699x and the FC/SC names of the same chip.
constexpr std::array<std::array<std::string_view, 5>, 35> kControllerNames = {{
    {"UP303-03", "UP303", "PS2303", "PS2251-03", ""},
    {"UP307-07", "UP307", "PS2307", "PS2251-07", ""},
    {"UP23-67", "UP23", "PS2267", "PS2251-67", ""},
    {"PS2251-01", "PS2301", "", "", ""},
    {"PS2251-02", "PS2302", "", "", ""},
    {"PS2251-08", "PS2308", "", "", ""},
    {"PS2251-09", "PS2309", "", "", ""},
    {"PS2251-10", "PS2310", "", "", ""},
    {"PS2251-11", "PS2311", "", "", ""},
    {"UP12-31", "UP12", "PS2231", "PS2251-31", ""},
    {"PS2251-32", "UP13", "UP14", "PS2232", ""},
    {"UP16-33", "UP16", "PS2233", "PS2251-33", ""},
    {"UP15-37", "UP15", "PS2237", "PS2251-37", ""},
    {"UP18-38", "UP18", "PS2238", "PS2251-38", ""},
    {"UP19-50", "UP19", "PS2250", "PS2251-50", ""},
    {"UP20-60", "UP20", "PS2260", "PS2251-60", ""},
    {"UP21-61", "UP21", "PS2261", "PS2251-61", ""},
    {"PS2251-68", "PS2268", "", "", ""},
    {"PS2251-69", "PS2269", "", "", ""},
    {"PS2251-70", "PS2270", "", "", ""},
    {"PS2134", "UP8", "", "", ""},
    {"PS2136", "UP10", "", "", ""},
    {"PS2135", "UP11", "", "", ""},
    {"AU6985", "AU6992", "FC8508", "SC508", ""},
    {"AU6987", "AU6990", "FC8708", "SC708", ""},
    {"AU6987T", "AU6990T", "FC8708T", "SC708T", ""},
    {"AU6987(AN)", "AU6987AN", "AU6990AN", "SC708AN", ""},
    {"AU6989", "AU6998", "FC8908", "SC908", ""},
    {"AU6989L", "AU6998L", "FC8908L", "SC908L", ""},
    {"AU6989N", "AU6998N", "FC8908N", "SC908N", ""},
    {"AU6989NL", "AU6998NL", "FC8908NL", "SC908NL", ""},
    {"AU6989AN", "AU6998AN", "SC908AN", "", ""},
    {"AU6989ANL", "AU6998ANL", "SC908ANL", "", ""},
    {"AU6989AN-G", "AU6998AN-G", "SC908AN-G", "", ""},
    {"AU6989SN", "AU6998SN", "SC908SN", "", ""},
}};

bool sameName(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::toupper(static_cast<unsigned char>(x)) ==
                      std::toupper(static_cast<unsigned char>(y));
           });
}

}  // namespace

std::vector<std::string> controllerNamesOf(std::string_view name) {
    std::vector<std::string> names{std::string(name)};
    for (const auto& chip : kControllerNames) {
        if (std::none_of(chip.begin(), chip.end(), [name](std::string_view known) {
                return !known.empty() && sameName(known, name);
            })) {
            continue;
        }
        for (const std::string_view known : chip) {
            if (!known.empty() && !sameName(known, name)) {
                names.emplace_back(known);
            }
        }
    }
    return names;
}

ControllerMatcher::ControllerMatcher(const jet::TableDefinition& table, std::string_view name) {
    for (const std::string& known : controllerNamesOf(name)) {
        wanted_.emplace_back(known);
    }
    for (const std::string_view maker : kControllerMakerColumns) {
        makerPositions_.push_back(columnPosition(table, maker));
    }
}

std::vector<std::size_t> ControllerMatcher::matchingMakers(const jet::RowView& row) const {
    std::vector<std::size_t> makers;
    for (std::size_t maker = 0; maker < makerPositions_.size(); ++maker) {
        // Most controller cells are empty, which the engine tells from the stored bytes
        // without decoding the value.
        // Only a cell that holds the name somewhere is decoded, to see what surrounds it.
        for (const jet::TextKey& wanted : wanted_) {
            if (!row.textContains(makerPositions_[maker], wanted)) {
                continue;
            }
            const std::string stored = cellText(row, makerPositions_[maker]);
            const std::string_view name = trimBlanks(stored);
            if (!name.empty() && foldedEquals(name, wanted.folded())) {
                makers.push_back(maker);
                break;
            }
        }
    }
    return makers;
}

namespace {

std::vector<std::string> resultColumns(const jet::TableDefinition& table,
                                       std::initializer_list<const char*> leading) {
    std::vector<std::string> columns(leading.begin(), leading.end());
    for (const auto& column : table.columns) {
        columns.push_back(column.name);
    }
    return columns;
}

void appendFields(std::vector<Cell>& cells, const jet::RowView& row, std::size_t fieldCount) {
    cells.reserve(cells.size() + fieldCount);
    for (std::size_t position = 0; position < fieldCount; ++position) {
        cells.push_back(Cell::fromValue(row.value(position)));
    }
}

long long nextSequenceNumber(const ResultTable& result) {
    return static_cast<long long>(result.rows.size()) + 1;
}

template <typename Matcher>
ResultTable lookUpWhere(const jet::Table& table, const Matcher& matcher) {
    const jet::TableDefinition& definition = table.definition();
    ResultTable result{resultColumns(definition, {kSequenceColumn}), {}};
    table.scan([&](const jet::RowView& row) {
        if (matcher.matches(row)) {
            std::vector<Cell> cells{Cell::fromInteger(nextSequenceNumber(result))};
            appendFields(cells, row, definition.columns.size());
            result.rows.push_back(std::move(cells));
        }
        return jet::ScanControl::Continue;
    });
    return result;
}

// Where an index walk over stored ID values goes after `text`, which does not match: past every
// value that starts with the same pairs up to the first one that differs from the wanted
// bytes, when all of them are plain pairs (a pair with alternatives, "15/10", may still match);
// otherwise past the entries with the same key, which hold the same text (empty IDs are many).
jet::IndexWalkStep stepAfterMismatch(std::string_view text, std::span<const std::uint8_t> wanted) {
    const jet::IndexWalkStep pastSameText{jet::IndexWalkStep::Kind::SkipSameKey, {}};
    std::size_t groupStart = 0;
    for (const std::uint8_t byte : wanted) {
        const std::size_t groupEnd = text.find(' ', groupStart);
        if (groupEnd == std::string_view::npos) {
            return pastSameText;
        }
        const std::string_view group = text.substr(groupStart, groupEnd - groupStart);
        const std::optional<std::uint8_t> pair = hexPair(group);
        if (!pair) {
            return pastSameText;
        }
        if (*pair != byte) {
            return {jet::IndexWalkStep::Kind::SkipPast, std::string(text.substr(0, groupEnd + 1))};
        }
        groupStart = groupEnd + 1;
    }
    return pastSameText;
}

}  // namespace

ResultTable lookUpByModelPrefix(const jet::Table& table, std::string_view prefix) {
    return lookUpWhere(table, ModelPrefixMatcher(table.definition(), prefix));
}

ResultTable lookUpByIdBytes(const jet::Table& table, std::span<const std::uint8_t> wanted) {
    const jet::TableDefinition& definition = table.definition();
    const IdBytesMatcher matcher(definition, wanted);
    // Rows found through the index, by where they are stored: the order a scan lists them in.
    std::vector<std::pair<std::uint32_t, std::vector<Cell>>> found;
    // The first cell waits for the sequence number, known once the rows are in order.
    const auto keep = [&](std::uint32_t rowPointer, const jet::RowView& row) {
        std::vector<Cell> cells(1);
        appendFields(cells, row, definition.columns.size());
        found.emplace_back(rowPointer, std::move(cells));
    };
    const bool searched = table.walkTextIndex(
        columnPosition(definition, kIdBytesColumn), [&](const jet::IndexedRow& entry) {
            const std::optional<std::string>& text = entry.keyText();
            if (!text) {
                entry.readRow([&](const jet::RowView& row) {
                    if (matcher.matches(row)) {
                        keep(entry.rowPointer(), row);
                    }
                });
                return jet::IndexWalkStep{};
            }
            if (storedIdBeginsWith(*text, wanted)) {
                entry.readRow([&](const jet::RowView& row) { keep(entry.rowPointer(), row); });
                return jet::IndexWalkStep{};
            }
            return stepAfterMismatch(*text, wanted);
        });
    if (!searched) {
        return lookUpWhere(table, matcher);
    }
    std::sort(found.begin(), found.end(),
              [](const auto& left, const auto& right) { return left.first < right.first; });
    ResultTable result{resultColumns(definition, {kSequenceColumn}), {}};
    result.rows.reserve(found.size());
    for (auto& [rowPointer, cells] : found) {
        cells.front() = Cell::fromInteger(nextSequenceNumber(result));
        result.rows.push_back(std::move(cells));
    }
    return result;
}

ResultTable lookUpByController(const jet::Table& table, std::string_view name) {
    const jet::TableDefinition& definition = table.definition();
    const ControllerMatcher matcher(definition, name);
    ResultTable result{resultColumns(definition, {kSequenceColumn, kControllerMakerColumn}), {}};
    table.scan([&](const jet::RowView& row) {
        for (const std::size_t maker : matcher.matchingMakers(row)) {
            std::vector<Cell> cells{Cell::fromInteger(nextSequenceNumber(result)),
                                    Cell::fromText(std::string(kControllerMakerColumns[maker]))};
            appendFields(cells, row, definition.columns.size());
            result.rows.push_back(std::move(cells));
        }
        return jet::ScanControl::Continue;
    });
    return result;
}

LookupInput prepareLookupInput(LookupMode mode, std::string_view typed) {
    switch (mode) {
        case LookupMode::ExactModel:
            return {mode, modelKey(typed), {}};
        case LookupMode::ModelPrefix:
            return {mode, std::string(requireNonBlank(typed, "--prefix")), {}};
        case LookupMode::IdBytes:
            return {mode, {}, parseTypedIdBytes(typed)};
        case LookupMode::Controller:
            return {mode, std::string(requireNonBlank(typed, "--controller")), {}};
        case LookupMode::DecodeId:
        case LookupMode::Drives:
        case LookupMode::Probe:
            break;  // not database lookups: norvessa_query/drive_commands.h
    }
    throw std::logic_error("unknown lookup mode");
}

ResultTable runLookup(const jet::Database& database, const LookupInput& input) {
    switch (input.mode) {
        case LookupMode::ExactModel:
            return lookUpExactModel(database, input.text);
        case LookupMode::ModelPrefix:
            return lookUpByModelPrefix(database.table(kLookupTable), input.text);
        case LookupMode::IdBytes:
            return lookUpByIdBytes(database.table(kLookupTable), input.idBytes);
        case LookupMode::Controller:
            return lookUpByController(database.table(kLookupTable), input.text);
        case LookupMode::DecodeId:
        case LookupMode::Drives:
        case LookupMode::Probe:
            break;
    }
    throw std::logic_error("unknown lookup mode");
}

ResultTable runLookup(const QueryRequest& request, std::vector<std::string>* warnings) {
    const LookupInput input = prepareLookupInput(request.mode, request.text);
    const jet::Database database = openLookupDatabase(request.database);
    ResultTable result = runLookup(database, input);
    if (warnings != nullptr) {
        *warnings = database.warnings();
    }
    return result;
}

}  // namespace norvessa::query
