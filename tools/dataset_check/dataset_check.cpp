#include "tools/dataset_check/dataset_check.h"

#include <algorithm>
#include <array>
#include <functional>
#include <iomanip>
#include <map>
#include <set>
#include <tuple>

#include "tools/dataset_check/rules.h"

namespace norvessa::dataset::check {

namespace {

using RowRule = std::function<Outcome(const FlashRecord&)>;

struct Tallies {
    std::vector<RuleTally> list;

    RuleTally& of(std::string_view rule, std::string_view unit) {
        const auto found = std::find_if(list.begin(), list.end(), [rule](const RuleTally& tally) {
            return tally.rule == rule;
        });
        if (found != list.end()) {
            return *found;
        }
        list.push_back(RuleTally{std::string(rule), std::string(unit)});
        return list.back();
    }
};

class Checker {
  public:
    explicit Checker(const CheckInput& input) : input_(input) {}

    CheckReport run() {
        checkRows();
        checkSources();
        checkWrittenNames();
        checkIdChecks();
        checkNameFlags();
        checkPairings();
        checkFactsFile();
        applyExceptions();
        std::stable_sort(report_.findings.begin(), report_.findings.end(),
                         [](const Finding& a, const Finding& b) {
                             return std::tie(a.file, a.line) < std::tie(b.file, b.line);
                         });
        report_.tallies = std::move(tallies_.list);
        return std::move(report_);
    }

  private:
    void record(std::string_view rule, std::string_view unit, const Outcome& outcome,
                const std::string& file, std::size_t line, const std::string& model) {
        RuleTally& tally = tallies_.of(rule, unit);
        switch (outcome.verdict) {
            case Verdict::Unknown:
                ++tally.unknown;
                return;
            case Verdict::Pass:
                ++tally.checked;
                return;
            case Verdict::Fail:
                ++tally.checked;
                ++tally.failed;
                report_.findings.push_back(
                    {file, line, std::string(rule), model, outcome.detail, {}});
                return;
        }
    }

    void checkRows() {
        const ControllerFactsTable* facts = input_.controllerFacts;
        const std::array<std::pair<std::string_view, RowRule>, 11> rules = {{
            {rule::kIdMaker, checkIdMaker},
            {rule::kIdCapacity, checkIdCapacity},
            {rule::kIdType, checkIdType},
            {rule::kIdWidth, checkIdWidth},
            {rule::kPartMaker, checkPartMaker},
            {rule::kPartCapacity, checkPartCapacity},
            {rule::kPartType, checkPartType},
            {rule::kPartWidth, checkPartWidth},
            {rule::kPartChipEnables, checkPartChipEnables},
            {rule::kControllerKnown,
             [facts](const FlashRecord& row) { return checkControllersKnown(row, facts); }},
            {rule::kControllerCapability,
             [facts](const FlashRecord& row) { return checkControllerCapability(row, facts); }},
        }};
        for (const auto& [name, check] : rules) {
            tallies_.of(name, "rows");
        }
        for (const auto& row : *input_.rows) {
            for (const auto& [name, check] : rules) {
                record(name, "rows", check(row), input_.datasetName, row.line,
                       row.fields[column::kModel]);
            }
        }
    }

    void checkSources() {
        std::map<std::string, const FlashRecord*> firstRowOfModel;
        std::map<std::string, bool> modelHasId;
        for (const auto& row : *input_.rows) {
            const std::string& model = row.fields[column::kModel];
            firstRowOfModel.emplace(model, &row);
            if (row.fields[column::kIdBytes].find_first_not_of(" \r\n") != std::string::npos) {
                modelHasId[model] = true;
            }
        }
        for (const auto& [model, row] : firstRowOfModel) {
            record(rule::kSource, "models", sourceOutcome(model, modelHasId[model]),
                   input_.datasetName, row->line, model);
        }
        if (input_.sources == nullptr) {
            report_.notes.push_back(input_.sourcesName + " does not exist: every model fails " +
                                    std::string(rule::kSource));
            return;
        }
        tallies_.of(rule::kSourcesFile, "lines");
        for (const auto& problem : input_.sources->problems) {
            record(rule::kSourcesFile, "lines", Outcome::fail(problem.detail), input_.sourcesName,
                   problem.line, {});
        }
        for (const auto& [model, sources] : input_.sources->byModel) {
            const bool inDataset = firstRowOfModel.contains(model);
            record(rule::kSourcesFile, "lines",
                   inDataset ? Outcome::pass()
                             : Outcome::fail(model + " is not a model of " + input_.datasetName),
                   input_.sourcesName, sources.line, model);
        }
    }

    Outcome sourceOutcome(const std::string& model, bool hasId) const {
        if (input_.sources == nullptr) {
            return Outcome::fail(input_.sourcesName + " does not exist");
        }
        const auto found = input_.sources->byModel.find(model);
        if (found == input_.sources->byModel.end()) {
            return Outcome::fail("no line in " + input_.sourcesName);
        }
        const auto& entries = found->second.entries;
        const bool idSourced =
            std::any_of(entries.begin(), entries.end(),
                        [](const SourceEntry& e) { return e.fields.contains("ID号"); });
        if (hasId && !idSourced) {
            return Outcome::fail("no source in " + input_.sourcesName + " gives its ID号");
        }
        return Outcome::pass();
    }

    void checkWrittenNames() {
        if (input_.writtenNames == nullptr) {
            return;
        }
        for (const auto& note : input_.writtenNames->notes) {
            report_.notes.push_back(note);
        }
        tallies_.of(rule::kModelWritten, "models");
        std::set<std::string> seen;
        for (const auto& row : *input_.rows) {
            const std::string& model = row.fields[column::kModel];
            if (!seen.insert(model).second) {
                continue;
            }
            record(rule::kModelWritten, "models",
                   input_.writtenNames->writes(model)
                       ? Outcome::pass()
                       : Outcome::fail("no facts file writes this name"),
                   input_.datasetName, row.line, model);
        }
    }

    // The generator's record of each model's ID check against the data set: a kept ID is the
    // one the model's rows carry, an ID left out is in none of them.
    void checkIdChecks() {
        std::map<std::string, std::vector<const FlashRecord*>> rowsOfModel;
        for (const auto& row : *input_.rows) {
            rowsOfModel[row.fields[column::kModel]].push_back(&row);
        }
        DatasetSummary& summary = report_.summary;
        summary.rows = input_.rows->size();
        summary.models = rowsOfModel.size();
        summary.modelsWithId = static_cast<std::size_t>(
            std::count_if(rowsOfModel.begin(), rowsOfModel.end(), [](const auto& entry) {
                return !entry.second.front()->fields[column::kIdBytes].empty();
            }));
        if (input_.idChecks == nullptr) {
            return;
        }
        tallies_.of(rule::kIdCrosscheck, "models");
        for (const auto& problem : input_.idChecks->problems) {
            record(rule::kIdCrosscheck, "models", Outcome::fail(problem.detail),
                   input_.idChecksName, problem.line, {});
        }
        for (const auto& check : input_.idChecks->checks) {
            const auto found = rowsOfModel.find(check.model);
            if (found == rowsOfModel.end()) {
                record(rule::kIdCrosscheck, "models",
                       Outcome::fail(check.model + " is not a model of " + input_.datasetName),
                       input_.idChecksName, check.line, check.model);
                continue;
            }
            const bool kept = check.settled == "kept";
            const auto differs = std::find_if(
                found->second.begin(), found->second.end(), [&](const FlashRecord* row) {
                    const std::string& stored = row->fields[column::kIdBytes];
                    return kept ? stored != check.id : stored == check.id;
                });
            const FlashRecord& first = *found->second.front();
            record(
                rule::kIdCrosscheck, "models",
                differs == found->second.end()
                    ? Outcome::pass()
                    : Outcome::fail("ID号 \"" + (*differs)->fields[column::kIdBytes] + "\", but " +
                                    input_.idChecksName + " line " + std::to_string(check.line) +
                                    " has \"" + check.id + "\" " + check.settled),
                input_.datasetName, differs == found->second.end() ? first.line : (*differs)->line,
                check.model);
            if (kept && check.families.size() >= 2) {
                ++summary.idsConfirmedByFamilies;
            }
            if (kept) {
                ++summary.idsByFamilyCount[check.families.size()];
            }
            if (check.disagrees()) {
                summary.disagreements.push_back({first.line, check});
            }
            if (!check.otherIds.empty()) {
                summary.listDisagreements.push_back({first.line, check});
            }
        }
    }

    // Opens the rule's tally and fails each malformed line of the side file it reads.
    void recordProblems(std::string_view rule, std::string_view unit,
                        const std::vector<LineProblem>& problems, const std::string& file) {
        tallies_.of(rule, unit);
        for (const auto& problem : problems) {
            record(rule, unit, Outcome::fail(problem.detail), file, problem.line, {});
        }
    }

    std::set<std::string> models() const {
        std::set<std::string> names;
        for (const auto& row : *input_.rows) {
            names.insert(row.fields[column::kModel]);
        }
        return names;
    }

    // A name the generator flagged as no chip's name is no model; the real name a misprint
    // stands for is one.
    void checkNameFlags() {
        if (input_.nameFlags == nullptr) {
            return;
        }
        recordProblems(rule::kNameFlags, "lines", input_.nameFlags->problems, input_.nameFlagsName);
        const auto names = models();
        for (const auto& flag : input_.nameFlags->flags) {
            ++report_.summary.flaggedByReason[flag.reason];
            std::string detail;
            if (names.contains(flag.name)) {
                detail = "flagged " + flag.reason + " but a model of " + input_.datasetName;
            }
            for (const auto& real : flag.standsFor) {
                if (flag.reason == "misprint" && !names.contains(real)) {
                    detail = "a misprint of " + real + ", which is no model";
                }
            }
            record(rule::kNameFlags, "lines",
                   detail.empty() ? Outcome::pass() : Outcome::fail(detail), input_.nameFlagsName,
                   flag.line, flag.name);
        }
    }

    // Every controller cell of the data set was reached by a pairing the generator recorded,
    // and every recorded pairing is a cell of its model's rows.
    void checkPairings() {
        if (input_.pairings == nullptr) {
            return;
        }
        recordProblems(rule::kPairing, "rows", input_.pairings->problems, input_.pairingsName);
        std::map<std::tuple<std::string, std::string, std::string>, const Pairing*> recorded;
        for (const auto& pairing : input_.pairings->pairings) {
            recorded.emplace(std::tuple{pairing.model, pairing.maker, pairing.chip}, &pairing);
        }
        std::set<std::tuple<std::string, std::string, std::string>> cells;
        for (const auto& row : *input_.rows) {
            std::string missing;
            for (std::size_t c = column::kFirstController; c < kColumnCount; ++c) {
                const std::string& chip = row.fields[c];
                if (chip.empty()) {
                    continue;
                }
                const std::tuple cell{row.fields[column::kModel], std::string(kColumnNames[c]),
                                      chip};
                cells.insert(cell);
                if (!recorded.contains(cell)) {
                    missing += (missing.empty() ? "" : ", ") + chip;
                }
            }
            record(rule::kPairing, "rows",
                   missing.empty()
                       ? Outcome::pass()
                       : Outcome::fail(missing + ": no pairing in " + input_.pairingsName),
                   input_.datasetName, row.line, row.fields[column::kModel]);
        }
        for (const auto& [cell, pairing] : recorded) {
            if (!cells.contains(cell)) {
                record(rule::kPairing, "rows",
                       Outcome::fail(pairing->chip + " (" + pairing->maker +
                                     ") is in no row of the model"),
                       input_.pairingsName, pairing->line, pairing->model);
                continue;
            }
            ++report_.summary.pairingsByKind[pairing->kind];
            report_.summary.pairedChipsByMaker[pairing->maker].insert(pairing->chip);
        }
    }

    void checkFactsFile() {
        if (input_.controllerFacts == nullptr) {
            report_.notes.push_back(input_.controllerFactsName +
                                    " does not exist: no controller can be checked");
            return;
        }
        RuleTally& tally = tallies_.of(rule::kFactsFile, "lines");
        tally.checked += input_.controllerFacts->byMakerAndChip.size();
        for (const auto& problem : input_.controllerFacts->problems) {
            record(rule::kFactsFile, "lines", Outcome::fail(problem.detail),
                   input_.controllerFactsName, problem.line, {});
        }
    }

    void applyExceptions() {
        if (input_.exceptions == nullptr) {
            return;
        }
        tallies_.of(rule::kExceptionsFile, "lines").checked += input_.exceptions->entries.size();
        for (const auto& problem : input_.exceptions->problems) {
            record(rule::kExceptionsFile, "lines", Outcome::fail(problem.detail),
                   input_.exceptionsName, problem.line, {});
        }
        for (const auto& exception : input_.exceptions->entries) {
            bool used = false;
            for (auto& finding : report_.findings) {
                if (finding.model == exception.model && finding.rule == exception.rule &&
                    !finding.acceptedBecause) {
                    finding.acceptedBecause = exception.reason;
                    ++tallies_.of(finding.rule, "rows").accepted;
                    used = true;
                }
            }
            if (!used) {
                report_.notes.push_back(input_.exceptionsName + " line " +
                                        std::to_string(exception.line) + ": " + exception.model +
                                        " no longer fails " + exception.rule);
            }
        }
    }

    const CheckInput& input_;
    CheckReport report_;
    Tallies tallies_;
};

std::string percent(std::size_t part, std::size_t whole) {
    if (whole == 0) {
        return "-";
    }
    const auto tenths = (part * 1000 + whole / 2) / whole;
    return std::to_string(tenths / 10) + "." + std::to_string(tenths % 10) + "%";
}

}  // namespace

std::size_t CheckReport::unacceptedFailures() const {
    return static_cast<std::size_t>(std::count_if(
        findings.begin(), findings.end(), [](const Finding& f) { return !f.acceptedBecause; }));
}

CheckReport checkDataset(const CheckInput& input) {
    return Checker(input).run();
}

CheckReport runDatasetCheck(const CheckPaths& paths) {
    const auto rows = readFlashDataset(paths.dataset);
    std::optional<SourceList> sources;
    if (std::filesystem::exists(paths.sources)) {
        sources = parseSourceList(readTextFile(paths.sources), paths.sources.filename().string());
    }
    std::optional<ControllerFactsTable> facts;
    if (std::filesystem::exists(paths.controllerFacts)) {
        facts = parseControllerFacts(readTextFile(paths.controllerFacts),
                                     paths.controllerFacts.filename().string());
    }
    std::optional<WrittenNames> written;
    if (paths.facts) {
        written = readWrittenNames(*paths.facts);
    }
    std::optional<IdChecks> idChecks;
    if (paths.idChecks) {
        idChecks =
            parseIdChecks(readTextFile(*paths.idChecks), paths.idChecks->filename().string());
    }
    std::optional<NameFlags> nameFlags;
    if (paths.nameFlags) {
        nameFlags =
            parseNameFlags(readTextFile(*paths.nameFlags), paths.nameFlags->filename().string());
    }
    std::optional<Pairings> pairings;
    if (paths.pairings) {
        pairings =
            parsePairings(readTextFile(*paths.pairings), paths.pairings->filename().string());
    }
    std::optional<KnownExceptions> exceptions;
    if (paths.exceptions) {
        exceptions = parseKnownExceptions(readTextFile(*paths.exceptions),
                                          paths.exceptions->filename().string());
    }
    CheckInput input;
    input.rows = &rows;
    input.datasetName = paths.dataset.filename().string();
    input.sources = sources ? &*sources : nullptr;
    input.sourcesName = paths.sources.filename().string();
    input.controllerFacts = facts ? &*facts : nullptr;
    input.controllerFactsName = paths.controllerFacts.filename().string();
    input.exceptions = exceptions ? &*exceptions : nullptr;
    input.writtenNames = written ? &*written : nullptr;
    input.idChecks = idChecks ? &*idChecks : nullptr;
    input.nameFlags = nameFlags ? &*nameFlags : nullptr;
    input.pairings = pairings ? &*pairings : nullptr;
    if (paths.idChecks) {
        input.idChecksName = paths.idChecks->filename().string();
    }
    if (paths.exceptions) {
        input.exceptionsName = paths.exceptions->filename().string();
    }
    return checkDataset(input);
}

void printReport(const CheckReport& report, std::ostream& out) {
    for (const auto& finding : report.findings) {
        if (finding.acceptedBecause) {
            out << "accepted: ";
        }
        out << finding.file << " line " << finding.line << ": " << finding.rule << ": ";
        if (!finding.model.empty()) {
            out << finding.model << ": ";
        }
        out << finding.detail;
        if (finding.acceptedBecause) {
            out << " (known exception: " << *finding.acceptedBecause << ")";
        }
        out << '\n';
    }
    for (const auto& note : report.notes) {
        out << "note: " << note << '\n';
    }
    out << '\n'
        << std::left << std::setw(23) << "rule" << std::setw(8) << "of" << std::right
        << std::setw(9) << "checked" << std::setw(8) << "failed" << std::setw(10) << "accepted"
        << std::setw(9) << "unknown" << std::setw(16) << "failed/checked" << '\n';
    for (const auto& tally : report.tallies) {
        out << std::left << std::setw(23) << tally.rule << std::setw(8) << tally.unit << std::right
            << std::setw(9) << tally.checked << std::setw(8) << tally.failed << std::setw(10)
            << tally.accepted << std::setw(9) << tally.unknown << std::setw(16)
            << percent(tally.failed, tally.checked) << '\n';
    }
    const DatasetSummary& summary = report.summary;
    out << "\nrows: " << summary.rows << "\nmodels: " << summary.models
        << "\nmodels with ID bytes: " << summary.modelsWithId
        << ", confirmed by two or more independent table families: "
        << summary.idsConfirmedByFamilies
        << "\nID bytes that disagree with their part number: " << summary.disagreements.size()
        << '\n';
    for (const auto& [line, check] : summary.disagreements) {
        std::string families;
        for (const auto& family : check.families) {
            families += (families.empty() ? "" : ", ") + family;
        }
        out << "flash_data.csv line " << line << ": id-disagreement: " << check.model << ": ID "
            << check.id << " (" << families << ") reads " << check.idReading
            << "; the part number reads " << check.partReading << " (" << check.agrees.substr(4)
            << "); settled: ID " << check.settled << "; sources: " << check.sources << '\n';
    }
    out << "IDs kept, by the number of independent families that give them:";
    for (const auto& [families, count] : summary.idsByFamilyCount) {
        out << ' ' << families << ": " << count;
    }
    out << "\nnames the lists write that are no model, by reason:";
    for (const auto reason : kFlagReasons) {
        const auto found = summary.flaggedByReason.find(std::string(reason));
        out << ' ' << reason << ' ' << (found == summary.flaggedByReason.end() ? 0 : found->second);
    }
    out << "\ncontroller cells by how the list reaches the model:";
    for (const auto kind : kPairingKinds) {
        const auto found = summary.pairingsByKind.find(std::string(kind));
        out << ' ' << kind << ' ' << (found == summary.pairingsByKind.end() ? 0 : found->second)
            << ';';
    }
    out << "\ncontroller chips with pairings, by maker:";
    for (const auto& [maker, chips] : summary.pairedChipsByMaker) {
        out << ' ' << maker << ' ' << chips.size();
    }
    out << "\nmodels whose lists give other IDs than the one kept: "
        << summary.listDisagreements.size() << '\n';
    for (const auto& [line, check] : summary.listDisagreements) {
        std::string others;
        for (const auto& other : check.otherIds) {
            others += (others.empty() ? "" : ", ") + other;
        }
        out << "flash_data.csv line " << line << ": id-list-disagreement: " << check.model
            << ": kept " << check.id << "; also given: " << others << '\n';
    }
    const auto failures = report.unacceptedFailures();
    out << '\n'
        << (failures == 0 ? "data check passed" : "data check failed") << ": " << failures
        << " failure(s) not listed as known exceptions\n";
}

}  // namespace norvessa::dataset::check
