// Searching a table through an index on a text column, falling back to a scan where no index
// serves: Table::findText, Table::seeksText and Table::walkTextIndex.

#include <optional>

#include "platform/jet/database.h"
#include "platform/jet/index_cursor.h"
#include "platform/jet/index_key.h"
#include "platform/jet/stored_table.h"
#include "platform/jet/text_codec.h"

namespace norvessa::jet {
namespace {

// Keys hold at most this many characters of a text value.
constexpr std::size_t kMaxKeyCharacters = 255;

// The index that can search the text column at `position`: one whose first column it is, in
// ascending order, under a sort order whose keys we can build.
const RealIndexDescriptor* textIndexOn(const StoredTable& table, std::size_t position) {
    if (position >= table.definition.columns.size()) {
        return nullptr;
    }
    const Column& column = table.definition.columns[position];
    if (column.type != ColumnType::Text || !textKeysSupported(column.sortOrder)) {
        return nullptr;
    }
    for (const RealIndexDescriptor& index : table.realIndexes) {
        if (!index.columns.empty() && index.columns.front().columnNumber == column.number &&
            index.columns.front().ascending && index.rootPage != 0) {
            return &index;
        }
    }
    return nullptr;
}

// The keys of every value that can match: from `low` up to, not including, `high`. Values the
// range holds that do not match (a hyphen, which has no inline code, is not in the key) are
// sorted out by comparing the rows themselves.
struct KeyRange {
    KeyBytes low;
    std::optional<KeyBytes> high;
};

std::optional<KeyRange> keyRange(TextMatch match, std::string_view text) {
    const std::u16string wide = utf8ToUtf16(text);
    std::optional<KeyBytes> prefix = textKeyPrefix(keyedText(wide));
    if (!prefix) {
        return std::nullopt;
    }
    if (match == TextMatch::Equals) {
        prefix->push_back(layout::index_page::kTextKeyEnd);
    }
    std::optional<KeyBytes> high = keyAfterPrefix(*prefix);
    return KeyRange{std::move(*prefix), std::move(high)};
}

class IndexedStoredRow final : public IndexedRow {
  public:
    IndexedStoredRow(const DatabaseFile& file, const StoredTable& table, std::uint32_t page,
                     std::uint8_t row, std::optional<std::string> keyText)
        : file_(file), table_(table), page_(page), row_(row), keyText_(std::move(keyText)) {}

    const std::optional<std::string>& keyText() const override { return keyText_; }
    std::uint32_t rowPointer() const override {
        return page_ << layout::kRowPointerPageShift | row_;
    }
    void readRow(const std::function<void(const RowView&)>& use) const override {
        visitRowAt(file_, table_, page_, row_, [&](const RowView& row) {
            use(row);
            return ScanControl::Continue;
        });
    }

  private:
    const DatabaseFile& file_;
    const StoredTable& table_;
    std::uint32_t page_;
    std::uint8_t row_;
    std::optional<std::string> keyText_;
};

// Where a walk goes on after a step that asks to skip: the first key after every key that
// starts with the step's prefix, when that lies ahead of `current`.
std::optional<KeyBytes> skipTarget(const IndexWalkStep& step,
                                   std::span<const std::uint8_t> current) {
    const std::u16string prefixText = utf8ToUtf16(step.prefix);
    if (prefixText.size() > kMaxKeyCharacters) {
        return std::nullopt;
    }
    const std::optional<KeyBytes> prefix = textKeyPrefix(prefixText);
    std::optional<KeyBytes> after = prefix ? keyAfterPrefix(*prefix) : std::nullopt;
    if (!after || compareIndexKeys(*after, current) <= 0) {
        return std::nullopt;
    }
    return after;
}

}  // namespace

void Table::findText(std::size_t position, TextMatch match, std::string_view text,
                     const std::function<ScanControl(const RowView&)>& visit) const {
    const TextKey key(text);
    const auto matching = [&](const RowView& row) {
        return row.textMatches(position, key, match) ? visit(row) : ScanControl::Continue;
    };
    const RealIndexDescriptor* index = textIndexOn(*stored_, position);
    const std::optional<KeyRange> range = index ? keyRange(match, text) : std::nullopt;
    if (!range) {
        scan(matching);
        return;
    }
    withFileName(*file_, [&] {
        IndexCursor cursor(*file_, index->rootPage, stored_->definition.definitionPage);
        for (bool at = cursor.seek(range->low); at; at = cursor.next()) {
            if (range->high && compareIndexKeys(cursor.key(), *range->high) >= 0) {
                return;
            }
            if (visitRowAt(*file_, *stored_, cursor.dataPage(), cursor.dataRow(), matching) ==
                ScanControl::Stop) {
                return;
            }
        }
    });
}

bool Table::seeksText(std::size_t position, std::string_view text) const {
    return textIndexOn(*stored_, position) != nullptr &&
           keyRange(TextMatch::Equals, text).has_value();
}

bool Table::walkTextIndex(std::size_t position,
                          const std::function<IndexWalkStep(const IndexedRow&)>& visit) const {
    const RealIndexDescriptor* index = textIndexOn(*stored_, position);
    if (index == nullptr) {
        return false;
    }
    withFileName(*file_, [&] {
        IndexCursor cursor(*file_, index->rootPage, stored_->definition.definitionPage);
        const KeyBytes firstValue{layout::index_page::kKeyPresentAscending};
        bool at = cursor.seek(firstValue);
        while (at) {
            if (cursor.key().empty() ||
                cursor.key().front() != layout::index_page::kKeyPresentAscending) {
                return;
            }
            const IndexedStoredRow entry(*file_, *stored_, cursor.dataPage(), cursor.dataRow(),
                                         readTextKey(cursor.key()));
            const IndexWalkStep step = visit(entry);
            if (step.kind == IndexWalkStep::Kind::Stop) {
                return;
            }
            if (step.kind == IndexWalkStep::Kind::SkipSameKey) {
                // The first key after this one is this key followed by the smallest byte.
                KeyBytes after(cursor.key().begin(), cursor.key().end());
                after.push_back(0);
                at = cursor.seek(after);
                continue;
            }
            if (step.kind == IndexWalkStep::Kind::SkipPast) {
                if (const std::optional<KeyBytes> target = skipTarget(step, cursor.key())) {
                    at = cursor.seek(*target);
                    continue;
                }
            }
            at = cursor.next();
        }
    });
    return true;
}

}  // namespace norvessa::jet
