#pragma once

// The checks of one data-set row against the flash decoders and the controller facts. Each rule
// compares what both sides say; where either side is empty or says nothing, the rule is unknown
// for that row rather than failed.

#include <optional>
#include <string>
#include <string_view>

#include "tools/dataset/flash_dataset.h"
#include "tools/dataset_check/side_files.h"

namespace norvessa::dataset::check {

enum class Verdict { Unknown, Pass, Fail };

struct Outcome {
    Verdict verdict = Verdict::Unknown;
    std::string detail;  // why it failed

    static Outcome unknown() { return {}; }
    static Outcome pass() { return {Verdict::Pass, {}}; }
    static Outcome fail(std::string detail) { return {Verdict::Fail, std::move(detail)}; }
};

// Rule names as the report and known_exceptions.csv spell them.
namespace rule {
inline constexpr std::string_view kIdMaker = "id-maker";
inline constexpr std::string_view kIdCapacity = "id-capacity";
inline constexpr std::string_view kIdType = "id-type";
inline constexpr std::string_view kIdWidth = "id-width";
inline constexpr std::string_view kPartMaker = "pn-maker";
inline constexpr std::string_view kPartCapacity = "pn-capacity";
inline constexpr std::string_view kPartType = "pn-type";
inline constexpr std::string_view kPartWidth = "pn-width";
inline constexpr std::string_view kPartChipEnables = "pn-ce";
inline constexpr std::string_view kControllerKnown = "controller-known";
inline constexpr std::string_view kControllerCapability = "controller-capability";
inline constexpr std::string_view kSource = "source";
inline constexpr std::string_view kModelWritten = "model-written";
inline constexpr std::string_view kIdCrosscheck = "id-crosscheck";
inline constexpr std::string_view kNameFlags = "name-flags";
inline constexpr std::string_view kPairing = "pairing";
inline constexpr std::string_view kSourcesFile = "sources-file";
inline constexpr std::string_view kFactsFile = "facts-file";
inline constexpr std::string_view kExceptionsFile = "exceptions-file";
}  // namespace rule

// The ID rules: the maker code against 品牌; the density per chip enable times 片选 against 容量;
// cell type and page size against 类型; the bus width against 位宽.
Outcome checkIdMaker(const FlashRecord& row);
Outcome checkIdCapacity(const FlashRecord& row);
Outcome checkIdType(const FlashRecord& row);
Outcome checkIdWidth(const FlashRecord& row);
// Dies per chip enable (ID byte 3) times 片选 against the die count of the part number.

// The part-number rules: what FLASH型号 decodes to against 品牌, 容量, 类型, 位宽 and 片选.
Outcome checkPartMaker(const FlashRecord& row);
Outcome checkPartCapacity(const FlashRecord& row);
Outcome checkPartType(const FlashRecord& row);
Outcome checkPartWidth(const FlashRecord& row);
Outcome checkPartChipEnables(const FlashRecord& row);

// Every controller the row names has a line in the facts (nothing known when `facts` is absent:
// then every named controller fails), and each can drive the flash: its cell type, page size,
// ECC need, chip enables, and a Toggle (Samsung, Toshiba, SanDisk) or ONFI DDR interface where
// 位宽 says DDR; a flash without DDR needs an asynchronous interface.
Outcome checkControllersKnown(const FlashRecord& row, const ControllerFactsTable* facts);
Outcome checkControllerCapability(const FlashRecord& row, const ControllerFactsTable* facts);

}  // namespace norvessa::dataset::check
