// norvessa-nand-id-facts CSV OUTPUT: writes the C++ source of the compiled-in NAND ID facts.

#include <cstdio>
#include <exception>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>

#include "tools/nand_id_facts/nand_id_facts_source.h"

int main(int argc, char** argv) {
    if (argc != 3) {
        std::cerr << "usage: norvessa-nand-id-facts NAND_IDS_CSV OUTPUT_CPP\n";
        return 2;
    }
    try {
        std::ifstream in(argv[1], std::ios::binary);
        if (!in) {
            std::cerr << "norvessa-nand-id-facts: cannot open " << argv[1] << '\n';
            return 1;
        }
        std::ostringstream text;
        text << in.rdbuf();
        const std::string source =
            norvessa::nand_id_facts::generateFactsSource(text.str(), "nand_ids.csv");
        // Written to a side file first, so that a failed write never leaves half a source.
        const std::string partial = std::string(argv[2]) + ".partial";
        {
            std::ofstream out(partial, std::ios::binary | std::ios::trunc);
            out << source;
            out.flush();
            if (!out) {
                std::cerr << "norvessa-nand-id-facts: cannot write " << partial << '\n';
                return 1;
            }
        }
        if (std::rename(partial.c_str(), argv[2]) != 0) {
            std::cerr << "norvessa-nand-id-facts: cannot rename " << partial << '\n';
            return 1;
        }
    } catch (const std::exception& error) {
        std::cerr << "norvessa-nand-id-facts: " << error.what() << '\n';
        return 1;
    }
    return 0;
}
