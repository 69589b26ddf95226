// norvessa-id-decode-table FILE: the decode of every ID in FILE (tests/flash/data/
// known_flash_ids.csv) against its known answers, as a Markdown table with a count of right,
// wrong and unknown fields.

#include <fstream>
#include <iostream>
#include <sstream>

#include "tools/id_decode_table/known_ids.h"

int main(int argc, char** argv) {
    using namespace norvessa;
    if (argc != 2) {
        std::cerr << "usage: norvessa-id-decode-table KNOWN_IDS.csv\n";
        return 2;
    }
    std::ifstream in(argv[1], std::ios::binary);
    if (!in) {
        std::cerr << "cannot read " << argv[1] << '\n';
        return 2;
    }
    std::stringstream text;
    text << in.rdbuf();
    try {
        const auto ids = tools::readKnownIds(text.str());
        std::size_t right = 0;
        std::size_t wrong = 0;
        std::size_t unknown = 0;
        std::cout << "| ID | part | maker | cell | page | block | density/CE |\n"
                  << "|---|---|---|---|---|---|---|\n";
        for (const auto& known : ids) {
            const auto verdicts = tools::scoreDecode(known, flash::decodeId(known.id));
            std::cout << "| " << known.text << " | " << known.part;
            for (const auto& verdict : verdicts) {
                std::cout << " | " << tools::verdictText(verdict.verdict);
                if (verdict.verdict == tools::Verdict::Wrong) {
                    std::cout << " (" << verdict.decoded << ")";
                }
                right += verdict.verdict == tools::Verdict::Right;
                wrong += verdict.verdict == tools::Verdict::Wrong;
                unknown += verdict.verdict == tools::Verdict::Unknown;
            }
            std::cout << " |\n";
        }
        std::cout << "\n"
                  << ids.size() << " IDs; fields right " << right << ", wrong " << wrong
                  << ", unknown " << unknown << "\n";
        return wrong == 0 ? 0 : 1;
    } catch (const std::exception& error) {
        std::cerr << argv[1] << ": " << error.what() << '\n';
        return 2;
    }
}
