#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "tools/dataset/flash_dataset.h"

namespace norvessa::dataset::test {

// Checks the rules that every row of the lookup data set keeps and that a hand edit can break:
// - the maker named in 品牌 is the one whose JEDEC maker code is the first ID byte;
// - a Samsung K9 model's class letter (its third character) agrees with the cell type: in
//   "K9 C DD ..." the letters F, K, N, W and Q are SLC, G, L, M, H, S, P, R and U are MLC, and
//   A, B, C, O and D are TLC (the letter also gives the die count, which is not checked);
// - the indexed columns 位宽 and ID号 hold letters, digits, blanks and "/" only, the only
//   characters the index keys encode;
// - ID号 is four to seven hexadecimal byte pairs separated by one blank, where a pair may carry a
//   "/" alternative ("EC F1 80 15/10");
// - a model is 4 to 50 characters from A-Z, 0-9 and ( ) - / _;
// - no value is longer than its column's 50 characters, and the only control characters are
//   CR LF pairs;
// - all rows of one model name the same maker.
// Returns one message per breach, each naming the row's CSV line.
std::vector<std::string> findRuleBreaches(const std::vector<FlashRecord>& records,
                                          std::string_view source);

}  // namespace norvessa::dataset::test
