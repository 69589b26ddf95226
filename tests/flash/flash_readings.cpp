// Prints what the flash decoders read from each line of standard input, one line each, so that
// the data set generator's Python readings are compared with them (tests/dataset/):
//   flash_readings part-numbers: name|maker|Mbit|bits per cell|width|chip enables|dies|
//                                generation|page|process|ddr
//   flash_readings ids:          ID|bits per cell|page bytes|bus width|Mbit per chip enable|
//                                dies per chip enable
// A field the decoder leaves unknown is empty.
#include <iostream>
#include <optional>
#include <string>
#include <string_view>

#include "flash/id_decoder.h"
#include "flash/part_number.h"

namespace {

using namespace norvessa::flash;

template <typename T>
std::string text(const std::optional<T>& value) {
    return value ? std::to_string(*value) : std::string();
}

std::string megabits(const std::optional<std::uint64_t>& bits) {
    return bits ? std::to_string(*bits / kMegabit) : std::string();
}

std::string partNumberReading(const std::string& name) {
    const PartDecode read = decodePartNumber(name);
    return (read.maker ? std::string(makerName(*read.maker)) : "") + '|' +
           megabits(read.densityBits) + '|' + text(read.bitsPerCell) + '|' +
           text(read.busWidthBits) + '|' + text(read.chipEnables) + '|' + text(read.dies) + '|' +
           text(read.generation) + '|' + text(read.pageBytes) + '|' + read.process.value_or("") +
           '|' + (read.ddrInterface ? (*read.ddrInterface ? "1" : "0") : "");
}

std::string idReading(const std::string& id) {
    const auto pattern = parseIdText(id);
    const IdDecode read = pattern ? decodeIdPattern(*pattern) : IdDecode{};
    return text(read.bitsPerCell) + '|' + text(read.pageBytes) + '|' + text(read.busWidthBits) +
           '|' + megabits(read.ceDensityBits) + '|' + text(read.diesPerCe);
}

}  // namespace

int main(int argc, char** argv) {
    const std::string_view mode = argc == 2 ? argv[1] : "";
    if (mode != "part-numbers" && mode != "ids") {
        std::cerr << "usage: flash_readings part-numbers|ids < lines\n";
        return 2;
    }
    std::string line;
    while (std::getline(std::cin, line)) {
        std::cout << line << '|' << (mode == "ids" ? idReading(line) : partNumberReading(line))
                  << '\n';
    }
    return 0;
}
