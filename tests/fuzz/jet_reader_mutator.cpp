// libFuzzer's hook for the reader's fuzzer: structure-aware mutation of database images, with
// libFuzzer's own byte mutator for small windows and for inputs that are not images.

#include <cstddef>
#include <cstdint>

#include "jet_image_mutator.h"

extern "C" std::size_t LLVMFuzzerMutate(std::uint8_t* data, std::size_t size, std::size_t maxSize);

extern "C" std::size_t LLVMFuzzerCustomMutator(std::uint8_t* data, std::size_t size,
                                               std::size_t maxSize, unsigned int seed) {
    return norvessa::fuzz::mutateJetImage(data, size, maxSize, seed, LLVMFuzzerMutate);
}
