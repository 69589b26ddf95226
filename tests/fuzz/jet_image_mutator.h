#pragma once

// A structure-aware mutator for Jet 4.0 database images. Byte-level mutation of a whole file
// rarely gets past the header checks; this one keeps an image valid almost everywhere and
// changes one structure at a time: page kinds, slot tables, row offsets and null masks, table
// definition fields (each field of a column descriptor aimed at on purpose too), usage maps,
// long-value chains and catalog rows, plus whole-page moves
// (table definitions swapped between tables among them). An input that is not a Jet 4 image
// at all is left to the plain byte mutator.

#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace norvessa::fuzz {

// Mutates data[0, size) in place (data has room for maxSize bytes) and returns the new size.
using ByteMutator =
    std::function<std::size_t(std::uint8_t* data, std::size_t size, std::size_t maxSize)>;

// Applies one to three structural mutations chosen by `seed`; returns the new size, at most
// maxSize. `bytes` mutates small windows inside a page and inputs that are not images.
std::size_t mutateJetImage(std::uint8_t* data, std::size_t size, std::size_t maxSize, unsigned seed,
                           const ByteMutator& bytes);

// One aimed change to one field of one column descriptor: its `width` bytes, at these image
// offsets (a descriptor may straddle two definition pages), set to `value`, little-endian.
struct ColumnFieldMutation {
    std::string_view field;       // the field's name in layout::tdef::column
    std::size_t fieldOffset = 0;  // and its offset in the descriptor
    std::size_t column = 0;       // the descriptor's position in the definition
    std::array<std::size_t, 4> imageOffsets{};
    std::size_t width = 0;
    std::uint32_t value = 0;
    std::uint32_t original = 0;
    std::string describe() const;
    void applyTo(std::span<std::uint8_t> image) const;
};

// Every aimed mutation of every field of every column descriptor of the table definition that
// starts at `definitionPage`: each bit of one-byte fields, near and edge values, and values
// taken from the definition itself (the counts, other columns' numbers, var indexes and fixed
// offsets, the gaps deleted columns left). Empty when the page is no readable definition.
std::vector<ColumnFieldMutation> columnFieldMutations(std::span<const std::uint8_t> image,
                                                      std::size_t definitionPage);

}  // namespace norvessa::fuzz
