// Runs the reader's fuzz entry on structure-aware mutants of every database file in the given
// folders, with fixed mutation seeds, so that each test run reaches deep reader code with any
// compiler. The byte mutator stands in for libFuzzer's with random bytes.

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <random>
#include <vector>

#include "jet_image_mutator.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

int main(int argc, char** argv) {
    if (argc < 3) {
        std::cerr << "usage: jet_reader_mutants MUTANTS_PER_FILE FOLDER...\n";
        return 2;
    }
    const auto mutantsPerFile = std::stoul(argv[1]);
    std::mt19937 random(20261207);
    const norvessa::fuzz::ByteMutator randomBytes = [&](std::uint8_t* data, std::size_t size,
                                                        std::size_t) {
        for (std::size_t i = 0; i < size; ++i) {
            data[i] = static_cast<std::uint8_t>(random());
        }
        return size;
    };
    std::size_t mutants = 0;
    for (int folder = 2; folder < argc; ++folder) {
        for (const auto& entry : std::filesystem::directory_iterator(argv[folder])) {
            const auto extension = entry.path().extension();
            if (extension != ".mdb" && extension != ".accdb") {
                continue;
            }
            std::ifstream in(entry.path(), std::ios::binary);
            const std::vector<std::uint8_t> original{std::istreambuf_iterator<char>(in),
                                                     std::istreambuf_iterator<char>()};
            const std::size_t maxSize = original.size() + 4 * 4096;
            for (unsigned seed = 0; seed < mutantsPerFile; ++seed) {
                std::vector<std::uint8_t> mutant(original);
                mutant.resize(maxSize);
                const std::size_t size = norvessa::fuzz::mutateJetImage(
                    mutant.data(), original.size(), maxSize, seed, randomBytes);
                if (size > maxSize) {
                    std::cerr << entry.path() << ": mutant " << seed << " outgrew its buffer\n";
                    return 1;
                }
                LLVMFuzzerTestOneInput(mutant.data(), size);
                ++mutants;
            }
        }
    }
    std::cout << "read " << mutants << " mutants\n";
    return mutants > 0 ? 0 : 1;
}
