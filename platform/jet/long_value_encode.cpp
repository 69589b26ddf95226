#include "platform/jet/long_value_encode.h"

#include <algorithm>
#include <string>
#include <utility>

#include "platform/jet/byte_cursor.h"
#include "platform/jet/data_page_encode.h"
#include "platform/jet/errors.h"
#include "platform/jet/layout.h"

namespace norvessa::jet {
namespace {

namespace lv = layout::long_value;

// The most data one row of a chain carries after its next-row pointer.
constexpr std::size_t kChainPartSize = layout::data_page::kMaxRowSize - lv::kChainData;

std::uint32_t rowPointer(std::uint32_t page, std::uint8_t row) {
    return page << layout::kRowPointerPageShift | row;
}

std::vector<std::uint8_t> reference(std::uint8_t kind, std::size_t length, std::uint32_t pointer,
                                    std::span<const std::uint8_t> inlineData) {
    std::vector<std::uint8_t> bytes;
    ByteWriter out(bytes, Location{"new long value reference", std::nullopt, std::nullopt});
    out.u32(lv::kLengthAndKind,
            static_cast<std::uint32_t>(length) | std::uint32_t{kind} << lv::kKindShift);
    out.u32(lv::kRowPointer, pointer);
    out.u32(lv::kUnknown8, 0);
    out.bytes(inlineData);
    out.check();
    return bytes;
}

}  // namespace

PackedLongValues packLongValues(std::span<const std::vector<std::uint8_t>> values,
                                std::uint32_t firstPage) {
    // The rows each value needs, in order: data alone for one row, or chain parts.
    struct Part {
        std::size_t value;
        std::span<const std::uint8_t> data;
        bool chained;
    };
    std::vector<Part> parts;
    for (std::size_t i = 0; i < values.size(); ++i) {
        const std::vector<std::uint8_t>& value = values[i];
        if (value.size() > lv::kLengthMask) {
            throw JetError(ErrorKind::InvalidArgument,
                           "a long value of " + std::to_string(value.size()) +
                               " bytes is longer than the format allows");
        }
        if (value.size() <= lv::kMaxInlineLength) {
            continue;
        }
        if (value.size() <= layout::data_page::kMaxRowSize) {
            parts.push_back({i, value, false});
            continue;
        }
        for (std::size_t offset = 0; offset < value.size(); offset += kChainPartSize) {
            parts.push_back(
                {i,
                 std::span(value).subspan(offset, std::min(kChainPartSize, value.size() - offset)),
                 true});
        }
    }

    // Where each part goes; the rows' sizes alone decide it.
    std::vector<std::pair<std::uint32_t, std::uint8_t>> places;
    DataPageBuilder sizing(layout::data_page::kOwnerLongValue);
    std::uint32_t page = firstPage;
    for (const Part& part : parts) {
        const std::size_t size = part.data.size() + (part.chained ? lv::kChainData : 0);
        if (!sizing.fits(size)) {
            sizing = DataPageBuilder(layout::data_page::kOwnerLongValue);
            ++page;
        }
        places.emplace_back(page, sizing.add(std::vector<std::uint8_t>(size)));
    }

    PackedLongValues packed;
    DataPageBuilder current(layout::data_page::kOwnerLongValue);
    std::uint32_t currentPage = firstPage;
    for (std::size_t k = 0; k < parts.size(); ++k) {
        if (places[k].first != currentPage) {
            packed.pages.push_back(current.encode());
            current = DataPageBuilder(layout::data_page::kOwnerLongValue);
            currentPage = places[k].first;
        }
        std::vector<std::uint8_t> row;
        if (parts[k].chained) {
            const bool last = k + 1 == parts.size() || parts[k + 1].value != parts[k].value;
            ByteWriter out(row, Location{"new long value row", std::nullopt, std::nullopt});
            out.u32(last ? 0 : rowPointer(places[k + 1].first, places[k + 1].second));
            out.bytes(parts[k].data);
            out.check();
        } else {
            row.assign(parts[k].data.begin(), parts[k].data.end());
        }
        current.add(row);
    }
    if (!current.empty()) {
        packed.pages.push_back(current.encode());
    }

    std::size_t part = 0;
    for (std::size_t i = 0; i < values.size(); ++i) {
        const std::vector<std::uint8_t>& value = values[i];
        if (value.size() <= lv::kMaxInlineLength) {
            packed.references.push_back(reference(lv::kKindInline, value.size(), 0, value));
            continue;
        }
        const std::uint32_t pointer = rowPointer(places[part].first, places[part].second);
        const bool chained = parts[part].chained;
        packed.references.push_back(
            reference(chained ? lv::kKindChain : lv::kKindSingleRow, value.size(), pointer, {}));
        while (part < parts.size() && parts[part].value == i) {
            ++part;
        }
    }
    return packed;
}

}  // namespace norvessa::jet
