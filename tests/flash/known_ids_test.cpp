// The decode on IDs with known answers (tests/flash/data/known_flash_ids.csv): every field is
// right or unknown, never wrong; the same table norvessa-id-decode-table prints.

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "tools/id_decode_table/known_ids.h"

namespace norvessa::tools {
namespace {

TEST(KnownIds, EveryDecodedFieldIsRightOrUnknown) {
    std::ifstream in(std::string(NORVESSA_SOURCE_DIR) + "/tests/flash/data/known_flash_ids.csv");
    ASSERT_TRUE(in);
    std::stringstream text;
    text << in.rdbuf();
    const auto ids = readKnownIds(text.str());
    ASSERT_GE(ids.size(), 40u);
    std::size_t right = 0;
    for (const KnownId& known : ids) {
        for (const FieldVerdict& verdict : scoreDecode(known, flash::decodeId(known.id))) {
            EXPECT_NE(verdict.verdict, Verdict::Wrong)
                << known.text << " (" << known.part << "): " << verdict.field << " decoded as "
                << verdict.decoded;
            right += verdict.verdict == Verdict::Right;
        }
    }
    // Unknown is allowed, but most of what the sources give is decoded.
    EXPECT_GE(right, 200u);
}

TEST(KnownIds, ReaderNamesTheBadLine) {
    EXPECT_THROW(readKnownIds("h\nEC D3,p,m,SLC,x,,,s\n"), std::runtime_error);
    EXPECT_THROW(readKnownIds("h\nEC,p,m,SLC,,,,s\n"), std::runtime_error);
    EXPECT_THROW(readKnownIds("h\nEC D3,p\n"), std::runtime_error);
}

}  // namespace
}  // namespace norvessa::tools
