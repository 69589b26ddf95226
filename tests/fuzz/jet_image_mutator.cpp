#include "jet_image_mutator.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <optional>
#include <random>
#include <span>
#include <string>
#include <vector>

#include "platform/jet/layout.h"

namespace norvessa::fuzz {
namespace {

namespace layout = norvessa::jet::layout;
constexpr std::size_t kPageSize = layout::kPageSize;

class Dice {
  public:
    explicit Dice(unsigned seed) : engine_(seed) {}
    std::size_t below(std::size_t bound) {
        return bound == 0 ? 0 : std::uniform_int_distribution<std::size_t>(0, bound - 1)(engine_);
    }
    bool oneIn(std::size_t chances) { return below(chances) == 0; }
    std::uint32_t any32() { return static_cast<std::uint32_t>(engine_()); }
    template <typename T>
    const T& pick(const std::vector<T>& choices) {
        return choices[below(choices.size())];
    }

  private:
    std::mt19937 engine_;
};

// The pages of an image, sorted by what they hold, and little-endian access inside a page that
// ignores any field running past the page end.
class Image {
  public:
    Image(std::uint8_t* data, std::size_t size) : data_(data), pageCount_(size / kPageSize) {
        for (std::size_t page = 1; page < pageCount_; ++page) {
            switch (kind(page)) {
                case layout::page_type::kData:
                    sortDataPage(page);
                    break;
                case layout::page_type::kTableDefinition:
                    definitionPages.push_back(page);
                    break;
                case layout::page_type::kUsageMap:
                    mapPages.push_back(page);
                    break;
                default:
                    break;
            }
        }
    }

    std::size_t pageCount() const { return pageCount_; }
    std::uint8_t* page(std::size_t number) { return data_ + number * kPageSize; }
    std::uint8_t kind(std::size_t number) const { return data_[number * kPageSize]; }

    std::uint32_t get(std::size_t page, std::size_t offset, std::size_t width) const {
        std::uint32_t value = 0;
        for (std::size_t i = 0; i < width && offset + i < kPageSize; ++i) {
            value |= std::uint32_t{data_[page * kPageSize + offset + i]} << (8 * i);
        }
        return value;
    }
    void set(std::size_t page, std::size_t offset, std::size_t width, std::uint32_t value) {
        for (std::size_t i = 0; i < width && offset + i < kPageSize; ++i) {
            data_[page * kPageSize + offset + i] = static_cast<std::uint8_t>(value >> (8 * i));
        }
    }

    std::size_t slotCount(std::size_t page) const {
        const std::size_t stored = get(page, layout::data_page::kRowCount.offset, 2);
        return std::min(stored, (kPageSize - layout::data_page::kSlotTable) / 2);
    }
    std::size_t slotOffset(std::size_t slot) const {
        return layout::data_page::kSlotTable + slot * layout::data_page::kSlotSize;
    }
    // Row `slot` spans [start, end): rows are packed downwards from the page end.
    struct RowSpan {
        std::size_t start = 0;
        std::size_t end = 0;
        std::size_t size() const { return end - start; }
    };
    std::optional<RowSpan> row(std::size_t page, std::size_t slot) const {
        const std::size_t start =
            get(page, slotOffset(slot), 2) & layout::data_page::kSlotOffsetMask;
        const std::size_t end =
            slot == 0 ? kPageSize
                      : get(page, slotOffset(slot - 1), 2) & layout::data_page::kSlotOffsetMask;
        if (start < slotOffset(slotCount(page)) || start >= end || end > kPageSize) {
            return std::nullopt;
        }
        return RowSpan{start, end};
    }

    std::vector<std::size_t> dataPages;
    std::vector<std::size_t> tableRowPages;
    std::vector<std::size_t> longValuePages;
    std::vector<std::size_t> usageMapRowPages;
    std::vector<std::size_t> catalogPages;
    std::vector<std::size_t> definitionPages;
    std::vector<std::size_t> mapPages;

  private:
    void sortDataPage(std::size_t page) {
        dataPages.push_back(page);
        const std::uint32_t owner = get(page, layout::data_page::kOwner.offset, 4);
        if (owner == layout::data_page::kOwnerLongValue) {
            longValuePages.push_back(page);
        } else if (owner == layout::data_page::kOwnerUsageMaps) {
            usageMapRowPages.push_back(page);
        } else if (owner == layout::catalog::kDefinitionPage) {
            catalogPages.push_back(page);
        } else {
            tableRowPages.push_back(page);
        }
    }

    std::uint8_t* data_;
    std::size_t pageCount_;
};

// A table definition's logical buffer (its first page whole, then bytes 8.. of each
// continuation page), as the image offset of each of its bytes.
std::vector<std::size_t> definitionBytes(std::span<const std::uint8_t> image,
                                         std::size_t firstPage) {
    std::vector<std::size_t> offsets;
    const std::size_t pages = image.size() / kPageSize;
    std::vector<bool> seen(pages);
    for (std::size_t page = firstPage; page != 0 && page < pages && !seen[page];) {
        seen[page] = true;
        const std::size_t start = page * kPageSize;
        if (image[start] != layout::page_type::kTableDefinition) {
            break;
        }
        for (std::size_t i = offsets.empty() ? 0 : layout::tdef::kPageHeaderSize; i < kPageSize;
             ++i) {
            offsets.push_back(start + i);
        }
        page = 0;
        for (std::size_t i = 0; i < layout::tdef::kNextPage.size; ++i) {
            page |= std::size_t{image[start + layout::tdef::kNextPage.offset + i]} << (8 * i);
        }
    }
    return offsets;
}

// Flips of each bit of the low byte and of the lowest and highest bit of every other byte.
std::vector<std::uint32_t> bitFlips(std::uint32_t value, std::size_t width) {
    std::vector<std::uint32_t> flips;
    for (unsigned bit = 0; bit < 8; ++bit) {
        flips.push_back(value ^ (1U << bit));
    }
    for (unsigned byte = 1; byte < width; ++byte) {
        flips.push_back(value ^ (1U << (8 * byte)));
        flips.push_back(value ^ (0x80U << (8 * byte)));
    }
    return flips;
}

class Mutator {
  public:
    Mutator(std::uint8_t* data, std::size_t size, std::size_t maxSize, unsigned seed,
            const ByteMutator& bytes)
        : data_(data),
          size_(size),
          maxSize_(maxSize),
          dice_(seed),
          bytes_(bytes),
          image_(data, size) {}

    std::size_t run() {
        const std::size_t rounds = 1 + dice_.below(3);
        for (std::size_t round = 0; round < rounds; ++round) {
            mutateOnce();
        }
        return size_;
    }

  private:
    // A value near the current one, any value, or one at the edges of what the reader checks.
    std::uint32_t interesting(std::uint32_t current, std::uint32_t mask,
                              std::span<const std::uint32_t> edges) {
        switch (dice_.below(4)) {
            case 0:
                return current + 1;
            case 1:
                return current - 1;
            case 2:
                return dice_.any32() & mask;
            default:
                return edges[dice_.below(edges.size())];
        }
    }
    std::uint32_t interesting16(std::uint32_t current) {
        static constexpr std::array<std::uint32_t, 17> kEdges{
            0,      1,      2,      0x7F,   0x80,   0xFF,   0x100,  0x0FFF, 0x1000,
            0x1FFF, 0x3FFF, 0x4000, 0x7FFF, 0x8000, 0xC000, 0xFFFE, 0xFFFF};
        return interesting(current, 0xFFFF, kEdges);
    }
    std::uint32_t interesting32(std::uint32_t current) {
        const auto pages = static_cast<std::uint32_t>(image_.pageCount());
        const std::array<std::uint32_t, 14> edges{
            0,          1,          2,          0xFF,  0x100,     0xFFFF,     0x00FFFFFF,
            0x7FFFFFFF, 0x80000000, 0xFFFFFFFF, pages, pages - 1, pages << 8, anyRowPointer()};
        return interesting(current, 0xFFFFFFFF, edges);
    }
    std::uint32_t anyPage() { return static_cast<std::uint32_t>(dice_.below(image_.pageCount())); }
    std::uint32_t anyRowPointer() {
        return anyPage() << layout::kRowPointerPageShift |
               static_cast<std::uint32_t>(dice_.below(8));
    }
    void mutateField(std::size_t page, std::size_t offset, std::size_t width) {
        const std::uint32_t current = image_.get(page, offset, width);
        std::uint32_t value = width == 4 ? interesting32(current) : interesting16(current);
        if (width == 1) {
            value = dice_.oneIn(2) ? current ^ (1U << dice_.below(8)) : value;
        }
        image_.set(page, offset, width, value);
    }
    void mutateLayoutField(std::size_t page, const layout::Field& field, std::size_t base = 0) {
        mutateField(page, base + field.offset, std::min<std::size_t>(field.size, 4));
    }

    void mutateOnce() {
        using Step = void (Mutator::*)();
        static constexpr std::array<Step, 10> kSteps{
            &Mutator::pageKind,   &Mutator::slotTable,       &Mutator::rowLayout,
            &Mutator::rowLayout,  &Mutator::tableDefinition, &Mutator::usageMap,
            &Mutator::longValue,  &Mutator::catalogRow,      &Mutator::wholePages,
            &Mutator::bytesInPage};
        (this->*kSteps[dice_.below(kSteps.size())])();
    }

    // A page turned into another kind: the reader must check a page's kind before use.
    void pageKind() {
        if (image_.pageCount() < 2) {
            return;
        }
        const std::size_t page = 1 + dice_.below(image_.pageCount() - 1);
        if (dice_.oneIn(8)) {
            image_.set(page, layout::kPageMarkerField.offset, 1, dice_.any32());
            return;
        }
        image_.set(page, layout::kPageType.offset, 1,
                   dice_.oneIn(8) ? dice_.any32() : static_cast<std::uint32_t>(dice_.below(6)));
    }

    void slotTable() {
        if (image_.dataPages.empty()) {
            return;
        }
        const std::size_t page = dice_.pick(image_.dataPages);
        const std::size_t slots = image_.slotCount(page);
        if (slots == 0 || dice_.oneIn(5)) {
            mutateLayoutField(page, layout::data_page::kRowCount);
            return;
        }
        const std::size_t slot = dice_.below(slots);
        const std::size_t offset = image_.slotOffset(slot);
        const std::uint32_t entry = image_.get(page, offset, 2);
        switch (dice_.below(4)) {
            case 0: {  // overflow, moved and deleted flags
                static constexpr std::array<std::uint32_t, 4> kFlags{
                    0, layout::data_page::kSlotOverflowPointer,
                    layout::data_page::kSlotMovedOrDeleted, layout::data_page::kSlotDeleted};
                image_.set(page, offset, 2,
                           (entry & layout::data_page::kSlotOffsetMask) |
                               kFlags[dice_.below(kFlags.size())]);
                return;
            }
            case 1: {  // two rows trade places
                const std::size_t other = image_.slotOffset(dice_.below(slots));
                const std::uint32_t otherEntry = image_.get(page, other, 2);
                image_.set(page, other, 2, entry);
                image_.set(page, offset, 2, otherEntry);
                return;
            }
            case 2: {  // a row start into the slot table, at the page end, or overlapping
                const std::array<std::uint32_t, 5> starts{
                    0, static_cast<std::uint32_t>(image_.slotOffset(slots) - 1),
                    static_cast<std::uint32_t>(kPageSize - 1),
                    static_cast<std::uint32_t>(kPageSize),
                    static_cast<std::uint32_t>(
                        image_.get(page, image_.slotOffset(dice_.below(slots)), 2) + 1)};
                image_.set(
                    page, offset, 2,
                    (entry & ~std::uint32_t{layout::data_page::kSlotOffsetMask}) |
                        (starts[dice_.below(starts.size())] & layout::data_page::kSlotOffsetMask));
                return;
            }
            default:
                mutateField(page, offset, 2);
                return;
        }
    }

    // A live row of any data page: the column count, the fixed area, the variable-column
    // offsets, the end-of-data offset, the variable-column count and the null mask.
    void rowLayout() {
        const std::vector<std::size_t>& pages =
            image_.tableRowPages.empty() ? image_.dataPages : image_.tableRowPages;
        if (pages.empty()) {
            return;
        }
        const std::size_t page = dice_.pick(pages);
        const std::size_t slots = image_.slotCount(page);
        if (slots == 0) {
            return;
        }
        const auto row = image_.row(page, dice_.below(slots));
        if (!row || row->size() < 4) {
            return;
        }
        const std::size_t columns = image_.get(page, row->start, 2);
        const std::size_t maskSize = (columns + 7) / 8;
        if (maskSize + 2 > row->size()) {
            mutateField(page, row->start, 2);
            return;
        }
        const std::size_t maskStart = row->end - maskSize;
        const std::size_t varCountAt = maskStart - 2;
        const std::size_t varCount = image_.get(page, varCountAt, 2);
        switch (dice_.below(5)) {
            case 0:
                mutateField(page, row->start, 2);
                return;
            case 1:
                if (maskSize > 0) {
                    page_byte(page, maskStart + dice_.below(maskSize)) ^=
                        static_cast<std::uint8_t>(1U << dice_.below(8));
                }
                return;
            case 2:
                mutateField(page, varCountAt, 2);
                return;
            case 3: {  // one of the variable-column offsets or the end-of-data offset
                const std::size_t offsets = varCount + 1;
                if (2 * offsets + 2 + maskSize > row->size()) {
                    return;
                }
                const std::size_t at = varCountAt - 2 * offsets + 2 * dice_.below(offsets);
                const std::uint32_t current = image_.get(page, at, 2);
                const std::array<std::uint32_t, 4> values{
                    static_cast<std::uint32_t>(row->size()),
                    static_cast<std::uint32_t>(row->size() + 1), current + 1, current - 1};
                if (dice_.oneIn(3)) {
                    mutateField(page, at, 2);
                } else {
                    image_.set(page, at, 2, values[dice_.below(values.size())]);
                }
                return;
            }
            default:  // a value in the fixed area
                if (row->size() > 2 + 4) {
                    mutateField(page, row->start + 2 + dice_.below(row->size() - 6),
                                dice_.oneIn(2) ? 4 : 2);
                }
                return;
        }
    }

    // A table definition: its header block, a column descriptor, a real index, or the link to
    // the next definition page.
    void tableDefinition() {
        if (image_.definitionPages.empty()) {
            return;
        }
        const std::size_t page = dice_.pick(image_.definitionPages);
        const std::size_t realIndexes =
            std::min<std::size_t>(image_.get(page, layout::tdef::kRealIndexCount.offset, 4), 64);
        const std::size_t columns =
            std::min<std::size_t>(image_.get(page, layout::tdef::kColumnCount.offset, 2), 255);
        const std::size_t columnsStart =
            layout::tdef::kHeaderBlockEnd + realIndexes * layout::tdef::real_index_count::kSize;
        switch (dice_.below(5)) {
            case 0: {
                static constexpr auto& kFields = layout::tdef::kFields;
                const layout::Field& field = kFields[2 + dice_.below(kFields.size() - 2)];
                mutateLayoutField(page, field);
                return;
            }
            case 1: {
                if (columns == 0) {
                    return;
                }
                if (dice_.oneIn(2)) {
                    const auto aimed =
                        columnFieldMutations(std::span<const std::uint8_t>(data_, size_), page);
                    if (!aimed.empty()) {
                        dice_.pick(aimed).applyTo(std::span<std::uint8_t>(data_, size_));
                    }
                    return;
                }
                const std::size_t base =
                    columnsStart + dice_.below(columns) * layout::tdef::column::kSize;
                static constexpr auto& kFields = layout::tdef::column::kFields;
                const layout::Field& field = kFields[dice_.below(kFields.size())];
                if (&field == &kFields[0] && dice_.oneIn(2)) {
                    image_.set(page, base, 1, static_cast<std::uint32_t>(dice_.below(20)));
                } else {
                    mutateLayoutField(page, field, base);
                }
                return;
            }
            case 2: {  // a column name's length
                std::size_t at = columnsStart + columns * layout::tdef::column::kSize;
                for (std::size_t skip = dice_.below(columns + 1); skip > 0 && at < kPageSize;
                     --skip) {
                    at += 2 + image_.get(page, at, 2);
                }
                mutateField(page, at, 2);
                return;
            }
            case 3: {  // a real-index descriptor, found after the column names
                std::size_t at = columnsStart + columns * layout::tdef::column::kSize;
                for (std::size_t name = 0; name < columns && at < kPageSize; ++name) {
                    at += 2 + image_.get(page, at, 2);
                }
                if (realIndexes == 0) {
                    return;
                }
                const std::size_t base =
                    at + dice_.below(realIndexes) * layout::tdef::real_index::kSize;
                static constexpr std::array<layout::Field, 4> kFields{
                    layout::tdef::real_index::kColumns, layout::tdef::real_index::kUsageMap,
                    layout::tdef::real_index::kRootPage, layout::tdef::real_index::kFlags};
                const layout::Field& field = kFields[dice_.below(kFields.size())];
                const std::size_t offset =
                    field.offset == layout::tdef::real_index::kColumns.offset
                        ? field.offset + layout::tdef::real_index::kColumnSlotSize *
                                             dice_.below(layout::tdef::real_index::kMaxColumns)
                        : field.offset;
                mutateField(page, base + offset, std::min<std::size_t>(field.size, 4));
                return;
            }
            default: {
                const std::array<std::uint32_t, 4> next{
                    0, static_cast<std::uint32_t>(page),
                    static_cast<std::uint32_t>(dice_.pick(image_.definitionPages)), anyPage()};
                image_.set(page, layout::tdef::kNextPage.offset, 4, next[dice_.below(next.size())]);
                return;
            }
        }
    }

    // Usage-map rows (inline bitmaps and references to map pages) and the map pages themselves.
    void usageMap() {
        if (!image_.mapPages.empty() && dice_.oneIn(4)) {
            const std::size_t page = dice_.pick(image_.mapPages);
            page_byte(page, layout::map_page::kBitmap +
                                dice_.below(kPageSize - layout::map_page::kBitmap)) ^=
                static_cast<std::uint8_t>(1U << dice_.below(8));
            return;
        }
        if (image_.usageMapRowPages.empty()) {
            return;
        }
        const std::size_t page = dice_.pick(image_.usageMapRowPages);
        const std::size_t slots = image_.slotCount(page);
        const auto row = slots == 0 ? std::nullopt : image_.row(page, dice_.below(slots));
        if (!row || row->size() < layout::usage_map::kInlineBitmap) {
            return;
        }
        switch (dice_.below(4)) {
            case 0:
                image_.set(page, row->start + layout::usage_map::kMapType.offset, 1,
                           static_cast<std::uint32_t>(dice_.below(3)));
                return;
            case 1:  // the first page of an inline map, or a map page of a reference map
                mutateField(page,
                            row->start + layout::usage_map::kStartPage.offset +
                                4 * dice_.below((row->size() - 1) / 4),
                            4);
                return;
            default: {
                const std::size_t bitmap = row->size() - layout::usage_map::kInlineBitmap;
                if (bitmap > 0) {
                    page_byte(page, row->start + layout::usage_map::kInlineBitmap +
                                        dice_.below(bitmap)) ^=
                        static_cast<std::uint8_t>(1U << dice_.below(8));
                }
                return;
            }
        }
    }

    // Long values: the next-part pointer of a chained row, or a memo reference inside a table
    // row (found as a row pointer to a long-value page, preceded by its length and kind).
    void longValue() {
        if (image_.longValuePages.empty()) {
            return;
        }
        if (dice_.oneIn(2)) {
            const std::size_t page = dice_.pick(image_.longValuePages);
            const std::size_t slots = image_.slotCount(page);
            const std::size_t slot = dice_.below(slots);
            const auto row = slots == 0 ? std::nullopt : image_.row(page, slot);
            if (!row) {
                return;
            }
            const auto self =
                static_cast<std::uint32_t>(page << layout::kRowPointerPageShift | slot);
            const std::array<std::uint32_t, 4> next{
                0, self,
                static_cast<std::uint32_t>(dice_.pick(image_.longValuePages))
                        << layout::kRowPointerPageShift |
                    static_cast<std::uint32_t>(dice_.below(4)),
                anyRowPointer()};
            image_.set(page, row->start + layout::long_value::kNextRow.offset, 4,
                       next[dice_.below(next.size())]);
            return;
        }
        const std::vector<std::size_t> references = memoReferences();
        if (references.empty()) {
            return;
        }
        const std::size_t at = dice_.pick(references);
        const std::size_t page = at / kPageSize;
        const std::size_t offset = at % kPageSize;
        const std::uint32_t lengthAndKind = image_.get(page, offset, 4);
        static constexpr std::array<std::uint32_t, 4> kKinds{layout::long_value::kKindInline,
                                                             layout::long_value::kKindSingleRow,
                                                             layout::long_value::kKindChain, 0x20};
        if (dice_.oneIn(2)) {
            image_.set(page, offset, 4,
                       (lengthAndKind & layout::long_value::kLengthMask) |
                           kKinds[dice_.below(kKinds.size())] << layout::long_value::kKindShift);
        } else {
            const std::uint32_t length =
                interesting32(lengthAndKind & layout::long_value::kLengthMask) &
                layout::long_value::kLengthMask;
            image_.set(page, offset, 4,
                       (lengthAndKind & ~layout::long_value::kLengthMask) | length);
        }
    }

    // Image offsets of memo references on a few table-row pages.
    std::vector<std::size_t> memoReferences() {
        std::vector<std::size_t> found;
        for (std::size_t tries = 0; tries < 4 && !image_.tableRowPages.empty(); ++tries) {
            const std::size_t page = dice_.pick(image_.tableRowPages);
            for (std::size_t offset = layout::data_page::kSlotTable; offset + 8 <= kPageSize;
                 ++offset) {
                const std::uint32_t pointer = image_.get(page, offset + 4, 4);
                const std::size_t target = pointer >> layout::kRowPointerPageShift;
                if (target > 0 && target < image_.pageCount() &&
                    std::binary_search(image_.longValuePages.begin(), image_.longValuePages.end(),
                                       target)) {
                    found.push_back(page * kPageSize + offset);
                }
            }
        }
        return found;
    }

    // A row of the catalog (MSysObjects): its fixed area holds the table's definition page,
    // its type and its flags; its variable area holds the name.
    void catalogRow() {
        if (image_.catalogPages.empty()) {
            return;
        }
        const std::size_t page = dice_.pick(image_.catalogPages);
        const std::size_t slots = image_.slotCount(page);
        const auto row = slots == 0 ? std::nullopt : image_.row(page, dice_.below(slots));
        if (!row || row->size() < 8) {
            return;
        }
        const std::size_t at = row->start + 2 + dice_.below(row->size() - 6);
        if (dice_.oneIn(3)) {
            page_byte(page, at) = static_cast<std::uint8_t>(dice_.any32());
        } else if (dice_.oneIn(2) && !image_.definitionPages.empty()) {
            image_.set(page, at, 4, static_cast<std::uint32_t>(dice_.pick(image_.definitionPages)));
        } else {
            mutateField(page, at, dice_.oneIn(2) ? 4 : 2);
        }
    }

    // Pages copied over others, swapped, appended or cut off.
    void wholePages() {
        const std::size_t pages = image_.pageCount();
        if (pages < 2) {
            return;
        }
        // `from` and `to` may be the same page, and an earlier cut may have left the end of the
        // data inside page `from`: every copy is a memmove. Table definitions traded between
        // tables (a misplaced page) are picked on purpose: at random they are rarely met.
        const bool definitions = image_.definitionPages.size() >= 2 && dice_.oneIn(3);
        const std::size_t from =
            definitions ? dice_.pick(image_.definitionPages) : 1 + dice_.below(pages - 1);
        const std::size_t to =
            definitions ? dice_.pick(image_.definitionPages) : 1 + dice_.below(pages - 1);
        if (definitions) {
            swapOrCopy(from, to);
            return;
        }
        switch (dice_.below(5)) {
            case 0:
            case 1:
                swapOrCopy(from, to);
                return;
            case 2:
                if (size_ + kPageSize <= maxSize_) {
                    std::memmove(data_ + size_, image_.page(from), kPageSize);
                    size_ += kPageSize;
                }
                return;
            case 3:
                size_ = std::min(size_, from * kPageSize);
                return;
            default:  // a file whose length is not a whole number of pages
                if (size_ >= 2 * kPageSize) {
                    size_ -= 1 + dice_.below(kPageSize - 1);
                }
                return;
        }
    }

    // Page `from` copied over page `to`, or the two swapped.
    void swapOrCopy(std::size_t from, std::size_t to) {
        if (dice_.oneIn(2)) {
            std::memmove(image_.page(to), image_.page(from), kPageSize);
            return;
        }
        std::array<std::uint8_t, kPageSize> kept;
        std::memmove(kept.data(), image_.page(to), kPageSize);
        std::memmove(image_.page(to), image_.page(from), kPageSize);
        std::memmove(image_.page(from), kept.data(), kPageSize);
    }

    // The plain byte mutator, inside a small window of one page.
    void bytesInPage() {
        const std::size_t page = dice_.below(image_.pageCount());
        const std::size_t window = 1 + dice_.below(32);
        const std::size_t offset = dice_.below(kPageSize - window);
        bytes_(image_.page(page) + offset, window, window);
    }

    std::uint8_t& page_byte(std::size_t page, std::size_t offset) {
        return image_.page(page)[std::min(offset, kPageSize - 1)];
    }

    std::uint8_t* data_;
    std::size_t size_;
    std::size_t maxSize_;
    Dice dice_;
    const ByteMutator& bytes_;
    Image image_;
};

bool looksLikeJet4Image(const std::uint8_t* data, std::size_t size) {
    if (size < 2 * kPageSize || data[0] != layout::page_type::kHeader) {
        return false;
    }
    const auto& signature = layout::header::kJetSignature;
    return std::memcmp(data + layout::header::kSignature.offset, signature.data(),
                       signature.size()) == 0;
}

}  // namespace

std::size_t mutateJetImage(std::uint8_t* data, std::size_t size, std::size_t maxSize, unsigned seed,
                           const ByteMutator& bytes) {
    if (!looksLikeJet4Image(data, size) || maxSize < size) {
        return bytes(data, size, maxSize);
    }
    // Trailing bytes past the last whole page stay as they are; the mutations work on pages.
    return Mutator(data, size, maxSize, seed, bytes).run();
}

std::string ColumnFieldMutation::describe() const {
    return "column " + std::to_string(column) + " " + std::string(field) + " " +
           std::to_string(original) + " -> " + std::to_string(value);
}

void ColumnFieldMutation::applyTo(std::span<std::uint8_t> image) const {
    for (std::size_t i = 0; i < width; ++i) {
        image[imageOffsets[i]] = static_cast<std::uint8_t>(value >> (8 * i));
    }
}

std::vector<ColumnFieldMutation> columnFieldMutations(std::span<const std::uint8_t> image,
                                                      std::size_t definitionPage) {
    namespace t = layout::tdef;
    namespace c = layout::tdef::column;
    const std::vector<std::size_t> at = definitionBytes(image, definitionPage);
    const auto read = [&](std::size_t logical, std::size_t width) {
        std::uint32_t value = 0;
        for (std::size_t i = 0; i < width && logical + i < at.size(); ++i) {
            value |= std::uint32_t{image[at[logical + i]]} << (8 * i);
        }
        return value;
    };
    if (at.size() < t::kHeaderBlockEnd) {
        return {};
    }
    const std::uint32_t maxColumns = read(t::kMaxColumns.offset, 2);
    const std::uint32_t variableColumns = read(t::kVariableColumns.offset, 2);
    const std::size_t columns = read(t::kColumnCount.offset, 2);
    const std::size_t first = t::kHeaderBlockEnd + std::size_t{read(t::kRealIndexCount.offset, 4)} *
                                                       t::real_index_count::kSize;
    if (first + columns * c::kSize > at.size()) {
        return {};
    }
    const auto field = [&](std::size_t column, const layout::Field& which) {
        return read(first + column * c::kSize + which.offset, which.size);
    };
    std::vector<std::uint32_t> numbers, varIndexes, fixedOffsets;
    for (std::size_t column = 0; column < columns; ++column) {
        numbers.push_back(field(column, c::kNumber));
        if ((field(column, c::kFlags) & c::kFlagFixedLength) != 0) {
            fixedOffsets.push_back(field(column, c::kFixedOffset));
        } else {
            varIndexes.push_back(field(column, c::kVarIndex));
        }
    }
    // Values below `count` that no column holds: the places deleted columns left.
    const auto gaps = [](const std::vector<std::uint32_t>& used, std::uint32_t count) {
        std::vector<std::uint32_t> free;
        for (std::uint32_t value = 0; value < count && value < 1024; ++value) {
            if (std::find(used.begin(), used.end(), value) == used.end()) {
                free.push_back(value);
            }
        }
        return free;
    };

    std::vector<ColumnFieldMutation> mutations;
    for (std::size_t column = 0; column < columns; ++column) {
        const std::size_t base = first + column * c::kSize;
        const auto add = [&](const layout::Field& which, std::vector<std::uint32_t> values) {
            ColumnFieldMutation mutation;
            mutation.field = which.name;
            mutation.fieldOffset = which.offset;
            mutation.column = column;
            mutation.width = which.size;
            for (std::size_t i = 0; i < which.size; ++i) {
                mutation.imageOffsets[i] = at[base + which.offset + i];
            }
            mutation.original = read(base + which.offset, which.size);
            const std::uint32_t mask = which.size >= 4 ? 0xFFFFFFFFU : (1U << (8 * which.size)) - 1;
            const std::vector<std::uint32_t> flips = bitFlips(mutation.original, which.size);
            values.insert(values.end(), flips.begin(), flips.end());
            values.push_back(mutation.original + 1);
            values.push_back(mutation.original - 1);
            for (std::uint32_t& value : values) {
                value &= mask;
            }
            std::sort(values.begin(), values.end());
            values.erase(std::unique(values.begin(), values.end()), values.end());
            for (const std::uint32_t value : values) {
                if (value != mutation.original) {
                    mutation.value = value;
                    mutations.push_back(mutation);
                }
            }
        };
        const std::uint32_t number = field(column, c::kNumber);
        const std::uint32_t fixedOffset = field(column, c::kFixedOffset);
        const std::uint32_t length = field(column, c::kLength);
        const std::uint32_t sortOrder = field(column, c::kSortOrder);

        std::vector<std::uint32_t> types{0xFF};
        for (std::uint32_t type = 0; type <= 0x14; ++type) {
            types.push_back(type);
        }
        add(c::kType, types);
        add(c::kMagic, {0});
        std::vector<std::uint32_t> numberValues = gaps(numbers, maxColumns);
        numberValues.insert(numberValues.end(), numbers.begin(), numbers.end());
        numberValues.insert(numberValues.end(), {maxColumns, maxColumns + 1, 0xFF, 0x7FFF, 0xFFFF});
        add(c::kNumber, numberValues);
        std::vector<std::uint32_t> varValues = gaps(varIndexes, variableColumns);
        varValues.insert(varValues.end(), varIndexes.begin(), varIndexes.end());
        varValues.insert(varValues.end(), {variableColumns, variableColumns + 1, 0xFF, 0xFFFF});
        add(c::kVarIndex, varValues);
        add(c::kNumberAgain, {0, number, 0xFF, 0xFFFF});
        // Numeric columns hold precision and scale here: a scale above the precision, and 28.
        add(c::kSortOrder, {0, 1033, 2052, 0xFFFF, (sortOrder & 0xFF) | 28U << 8,
                            (sortOrder & 0xFF) | ((sortOrder & 0xFF) + 1) << 8});
        add(c::kUnknown13, {0xFF});
        add(c::kSortOrderVersion, {0xFF});
        add(c::kFlags, {});
        add(c::kExtendedFlags, {});
        add(c::kUnknown17, {0xFFFFFFFF});
        std::vector<std::uint32_t> offsets = fixedOffsets;
        offsets.insert(offsets.end(), {0, fixedOffset + length, fixedOffset + 2 * length + 1,
                                       layout::data_page::kMaxRowSize, 0xFFFF});
        add(c::kFixedOffset, offsets);
        add(c::kLength,
            {0, 1, 2 * length, length + 2, 510, 511, layout::data_page::kMaxRowSize, 0xFFFF});
    }
    return mutations;
}

}  // namespace norvessa::fuzz
