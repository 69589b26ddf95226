#pragma once

#include <array>
#include <string_view>

namespace norvessa::testing {

// Row 57 of the shipped data set, K9HCG08U5M's only row, every field in table order.
inline constexpr std::array<std::string_view, 23> kRow57 = {"57",
                                                            "K9HCG08U5M",
                                                            "Samsung 三星",
                                                            "8GB",
                                                            "MLC-4K",
                                                            "8bit",
                                                            "4CE",
                                                            "EC D3 14 A5",
                                                            "51nm",
                                                            "4b/512B",
                                                            "2.7-3.6V",
                                                            "第一代芯片",
                                                            "",
                                                            "SM325AC",
                                                            "",
                                                            "UT165",
                                                            "AU6985",
                                                            "",
                                                            "",
                                                            "",
                                                            "CBM2093",
                                                            "",
                                                            ""};

}  // namespace norvessa::testing
