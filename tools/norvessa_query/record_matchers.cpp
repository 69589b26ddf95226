#include "tools/norvessa_query/record_matchers.h"

#include <algorithm>

#include "platform/jet/text_codec.h"
#include "tools/norvessa_query/id_bytes.h"
#include "tools/norvessa_query/lookup_table.h"
#include "tools/norvessa_query/typed_input.h"

namespace norvessa::query {

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

// Whether `text`, folded as the engine folds it, begins with `folded`.
bool foldedStartsWith(std::string_view text, std::u16string_view folded) {
    if (isAscii(text)) {
        return asciiFoldsToStartWith(text, folded);
    }
    return jet::TextKey(text).folded().starts_with(folded);
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
    : modelPosition_(columnPosition(table, kModelColumn)),
      foldedPrefix_(jet::TextKey(prefix).folded()) {}

bool ModelPrefixMatcher::matches(const jet::RowView& row) const {
    return foldedStartsWith(cellText(row, modelPosition_), foldedPrefix_);
}

IdBytesMatcher::IdBytesMatcher(const jet::TableDefinition& table,
                               std::span<const std::uint8_t> wanted)
    : idPosition_(columnPosition(table, kIdBytesColumn)), wanted_(wanted.begin(), wanted.end()) {}

bool IdBytesMatcher::matches(const jet::RowView& row) const {
    return storedIdBeginsWith(cellText(row, idPosition_), wanted_);
}

ControllerMatcher::ControllerMatcher(const jet::TableDefinition& table, std::string_view name)
    : wanted_(name) {
    for (const std::string_view maker : kControllerMakerColumns) {
        makerPositions_.push_back(columnPosition(table, maker));
    }
}

std::vector<std::size_t> ControllerMatcher::matchingMakers(const jet::RowView& row) const {
    std::vector<std::size_t> makers;
    for (std::size_t maker = 0; maker < makerPositions_.size(); ++maker) {
        // Most controller cells are empty, which the engine tells from the stored bytes
        // without decoding the value.
        if (row.textEquals(makerPositions_[maker], empty_)) {
            continue;
        }
        const std::string stored = cellText(row, makerPositions_[maker]);
        const std::string_view name = trimBlanks(stored);
        if (!name.empty() && foldedEquals(name, wanted_.folded())) {
            makers.push_back(maker);
        }
    }
    return makers;
}

}  // namespace norvessa::query
