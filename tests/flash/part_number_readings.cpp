// Prints what flash/part_number reads from each part number given on standard input, one line
// per name: name|maker|Mbit|bits per cell|width|chip enables|dies|generation|page|process|ddr,
// each empty where the decoder leaves it unknown. The generator's Python decoder is compared
// with these lines, so that both read every written name alike.
#include <iostream>
#include <optional>
#include <string>

#include "flash/part_number.h"

namespace {

template <typename T>
std::string text(const std::optional<T>& value) {
    return value ? std::to_string(*value) : std::string();
}

}  // namespace

int main() {
    using namespace norvessa::flash;
    std::string name;
    while (std::getline(std::cin, name)) {
        const PartDecode read = decodePartNumber(name);
        std::cout << name << '|' << (read.maker ? std::string(makerName(*read.maker)) : "") << '|'
                  << (read.densityBits ? std::to_string(*read.densityBits / (1024 * 1024)) : "")
                  << '|' << text(read.bitsPerCell) << '|' << text(read.busWidthBits) << '|'
                  << text(read.chipEnables) << '|' << text(read.dies) << '|'
                  << text(read.generation) << '|' << text(read.pageBytes) << '|'
                  << read.process.value_or("") << '|'
                  << (read.ddrInterface ? (*read.ddrInterface ? "1" : "0") : "") << '\n';
    }
    return 0;
}
