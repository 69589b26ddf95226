#pragma once

// A structure-aware mutator for Jet 4.0 database images. Byte-level mutation of a whole file
// rarely gets past the header checks; this one keeps an image valid almost everywhere and
// changes one structure at a time: page kinds, slot tables, row offsets and null masks, table
// definition fields, usage maps, long-value chains and catalog rows, plus whole-page moves
// (table definitions swapped between tables among them). An input that is not a Jet 4 image
// at all is left to the plain byte mutator.

#include <cstddef>
#include <cstdint>
#include <functional>

namespace norvessa::fuzz {

// Mutates data[0, size) in place (data has room for maxSize bytes) and returns the new size.
using ByteMutator =
    std::function<std::size_t(std::uint8_t* data, std::size_t size, std::size_t maxSize)>;

// Applies one to three structural mutations chosen by `seed`; returns the new size, at most
// maxSize. `bytes` mutates small windows inside a page and inputs that are not images.
std::size_t mutateJetImage(std::uint8_t* data, std::size_t size, std::size_t maxSize, unsigned seed,
                           const ByteMutator& bytes);

}  // namespace norvessa::fuzz
