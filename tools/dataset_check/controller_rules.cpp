#include <vector>

#include "flash/flash_traits.h"
#include "flash/maker.h"
#include "tools/dataset_check/flash_fields.h"
#include "tools/dataset_check/rules.h"

namespace norvessa::dataset::check {

namespace {

struct NamedController {
    std::string maker;
    std::string chip;
};

std::vector<NamedController> namedControllers(const FlashRecord& row) {
    std::vector<NamedController> named;
    for (std::size_t column = column::kFirstController; column < kColumnCount; ++column) {
        const auto chip = trimmed(row.fields[column]);
        if (!chip.empty()) {
            named.push_back({std::string(kColumnNames[column]), std::string(chip)});
        }
    }
    return named;
}

std::string joined(const std::vector<std::string>& parts, std::string_view separator) {
    std::string text;
    for (const auto& part : parts) {
        text += text.empty() ? "" : std::string(separator);
        text += part;
    }
    return text;
}

const ControllerFacts* factsOf(const ControllerFactsTable& table, const NamedController& named) {
    const auto found = table.byMakerAndChip.find({named.maker, named.chip});
    return found == table.byMakerAndChip.end() ? nullptr : &found->second;
}

// What the row says about the flash that a controller must cope with.
struct FlashNeeds {
    std::optional<CellType> type;
    std::optional<int> eccPerKiB;
    std::optional<BusWidth> width;
    std::optional<int> chipEnables;
    std::optional<flash::Maker> maker;
};

bool usesToggle(flash::Maker maker) {
    return maker == flash::Maker::Samsung || maker == flash::Maker::Toshiba ||
           maker == flash::Maker::SanDisk;
}

std::string cellsText(const std::set<int>& bitsPerCell) {
    std::vector<std::string> names;
    for (const int bits : bitsPerCell) {
        names.emplace_back(flash::cellName(bits));
    }
    return joined(names, " ");
}

// The shortfalls of one controller, and whether anything could be compared.
void compareController(const FlashNeeds& flash, const ControllerFacts& facts, bool& compared,
                       std::vector<std::string>& shortfalls) {
    const auto require = [&](bool known, bool met, const std::string& shortfall) {
        if (!known) {
            return;
        }
        compared = true;
        if (!met) {
            shortfalls.push_back(shortfall);
        }
    };
    if (flash.type) {
        require(!facts.bitsPerCell.empty(), facts.bitsPerCell.contains(flash.type->bitsPerCell),
                "handles " + cellsText(facts.bitsPerCell) + ", not " +
                    std::string(flash::cellName(flash.type->bitsPerCell)));
        if (flash.type->pageBytes) {
            const auto pageKiB = static_cast<int>((*flash.type->pageBytes + 1023) / 1024);
            require(facts.maxPageKiB.has_value(), pageKiB <= facts.maxPageKiB.value_or(0),
                    "pages up to " + std::to_string(facts.maxPageKiB.value_or(0)) + "K, not " +
                        std::to_string(pageKiB) + "K");
        }
    }
    if (flash.eccPerKiB) {
        require(facts.eccBitsPerKiB.has_value(),
                *flash.eccPerKiB <= facts.eccBitsPerKiB.value_or(0),
                "corrects " + std::to_string(facts.eccBitsPerKiB.value_or(0)) +
                    " bits per 1KB, the flash needs " + std::to_string(*flash.eccPerKiB));
    }
    if (flash.chipEnables) {
        require(facts.maxChipEnables.has_value(),
                *flash.chipEnables <= facts.maxChipEnables.value_or(0),
                "drives " + std::to_string(facts.maxChipEnables.value_or(0)) + " CE, not " +
                    std::to_string(*flash.chipEnables));
    }
    // Every controller of the era drives asynchronous flash, and ONFI DDR parts start up
    // asynchronous: only a Toggle DDR flash asks for an interface a controller may lack.
    if (flash.width && flash.width->ddr && flash.maker && usesToggle(*flash.maker) &&
        !facts.interfaces.empty()) {
        require(true, facts.interfaces.contains("toggle"),
                "has no Toggle interface for this DDR flash");
    }
}

}  // namespace

Outcome checkControllersKnown(const FlashRecord& row, const ControllerFactsTable* facts) {
    const auto named = namedControllers(row);
    if (named.empty()) {
        return Outcome::unknown();
    }
    std::vector<std::string> missing;
    for (const auto& controller : named) {
        if (facts == nullptr || factsOf(*facts, controller) == nullptr) {
            missing.push_back(controller.maker + " " + controller.chip);
        }
    }
    if (missing.empty()) {
        return Outcome::pass();
    }
    return Outcome::fail("no line in controller_facts.csv for " + joined(missing, ", "));
}

Outcome checkControllerCapability(const FlashRecord& row, const ControllerFactsTable* facts) {
    if (facts == nullptr) {
        return Outcome::unknown();
    }
    const FlashNeeds needs{
        cellType(row.fields[column::kCellType]), eccBitsPerKiB(row.fields[column::kEcc]),
        busWidth(row.fields[column::kBusWidth]), chipEnables(row.fields[column::kChipEnables]),
        flash::makerOfBrand(row.fields[column::kMaker])};
    bool compared = false;
    std::vector<std::string> failures;
    for (const auto& controller : namedControllers(row)) {
        const ControllerFacts* known = factsOf(*facts, controller);
        if (known == nullptr) {
            continue;
        }
        std::vector<std::string> shortfalls;
        compareController(needs, *known, compared, shortfalls);
        if (!shortfalls.empty()) {
            failures.push_back(controller.maker + " " + controller.chip + " " +
                               joined(shortfalls, ", "));
        }
    }
    if (!failures.empty()) {
        return Outcome::fail(joined(failures, "; "));
    }
    return compared ? Outcome::pass() : Outcome::unknown();
}

}  // namespace norvessa::dataset::check
