#include "drive/nand_id_facts.h"

#include <algorithm>

namespace norvessa::drive {

std::vector<FactMatch> factsMatchingId(std::span<const std::uint8_t> id,
                                       std::span<const NandIdFact> facts) {
    std::vector<FactMatch> matches;
    for (const NandIdFact& fact : facts) {
        const std::size_t compared = std::min<std::size_t>(id.size(), fact.idLength);
        if (compared < 2) {
            continue;
        }
        bool same = true;
        for (std::size_t index = 0; index < compared && same; ++index) {
            same = (fact.anyByteMask & (1u << index)) != 0 || fact.id[index] == id[index];
        }
        if (same) {
            matches.push_back({&fact, compared});
        }
    }
    std::stable_sort(matches.begin(), matches.end(), [](const FactMatch& a, const FactMatch& b) {
        return a.comparedBytes > b.comparedBytes;
    });
    return matches;
}

}  // namespace norvessa::drive
