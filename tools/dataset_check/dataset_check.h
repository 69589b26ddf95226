#pragma once

// Runs every rule of the data check over the data set and its side files and tallies, per rule,
// how many rows (models for the source rule, lines for the side files' own format) it checked,
// how many failed, how many of those failures known_exceptions.csv accepts, and on how many it
// could say nothing.

#include <cstddef>
#include <filesystem>
#include <map>
#include <optional>
#include <ostream>
#include <set>
#include <string>
#include <vector>

#include "tools/dataset/flash_dataset.h"
#include "tools/dataset_check/provenance_files.h"
#include "tools/dataset_check/side_files.h"

namespace norvessa::dataset::check {

struct Finding {
    std::string file;
    std::size_t line = 0;
    std::string rule;
    std::string model;  // empty for a side-file line that names no model
    std::string detail;
    std::optional<std::string> acceptedBecause;  // the known exception's reason
};

struct RuleTally {
    std::string rule;
    std::string unit;  // "rows", "models" or "lines"
    std::size_t checked = 0;
    std::size_t failed = 0;
    std::size_t accepted = 0;
    std::size_t unknown = 0;
};

// A model whose ID bytes one table family alone gives and its part number reads otherwise, and
// how the generator settled it.
struct IdDisagreement {
    std::size_t line = 0;  // the model's first row in the data set
    IdCheck check;
};

struct DatasetSummary {
    std::size_t rows = 0;
    std::size_t models = 0;
    std::size_t modelsWithId = 0;
    std::size_t idsConfirmedByFamilies = 0;  // given alike by two or more independent families
    std::map<std::size_t, std::size_t> idsByFamilyCount;  // families giving a kept ID -> models
    std::vector<IdDisagreement> disagreements;
    std::vector<IdDisagreement> listDisagreements;  // lists writing the name give other IDs
    std::map<std::string, std::size_t> flaggedByReason;
    std::map<std::string, std::size_t> pairingsByKind;                // controller cells per kind
    std::map<std::string, std::set<std::string>> pairedChipsByMaker;  // maker column -> chips
};

struct CheckReport {
    std::vector<Finding> findings;  // failures, accepted or not, in file and line order
    std::vector<RuleTally> tallies;
    std::vector<std::string> notes;  // missing side files, exceptions that no longer apply
    DatasetSummary summary;
    std::size_t unacceptedFailures() const;
};

// What to check; a side file given as nothing is treated as missing.
struct CheckInput {
    const std::vector<FlashRecord>* rows = nullptr;
    std::string datasetName = "flash_data.csv";
    const SourceList* sources = nullptr;
    std::string sourcesName = "flash_sources.csv";
    const ControllerFactsTable* controllerFacts = nullptr;
    std::string controllerFactsName = "controller_facts.csv";
    const KnownExceptions* exceptions = nullptr;
    std::string exceptionsName = "known_exceptions.csv";
    const WrittenNames* writtenNames = nullptr;  // nothing: the model-written rule is not run
    const IdChecks* idChecks = nullptr;          // nothing: the id-crosscheck rule is not run
    std::string idChecksName = "id_crosscheck.csv";
    const NameFlags* nameFlags = nullptr;  // nothing: the name-flags rule is not run
    std::string nameFlagsName = "name_flags.csv";
    const Pairings* pairings = nullptr;  // nothing: the pairing rule is not run
    std::string pairingsName = "pairings.csv";
};

CheckReport checkDataset(const CheckInput& input);

struct CheckPaths {
    std::filesystem::path dataset;
    std::filesystem::path sources;
    std::filesystem::path controllerFacts;
    std::optional<std::filesystem::path> exceptions;
    std::optional<std::filesystem::path> facts;      // the folder of the generator's facts
    std::optional<std::filesystem::path> idChecks;   // the generator's id_crosscheck.csv
    std::optional<std::filesystem::path> nameFlags;  // the generator's name_flags.csv
    std::optional<std::filesystem::path> pairings;   // the generator's pairings.csv
};

// Reads the files and checks them. A missing sources or controller-facts file is a note and
// fails the rules that need it; a missing data set or exceptions file, or one that is not CSV of
// the expected columns, throws DatasetError.
CheckReport runDatasetCheck(const CheckPaths& paths);

// Every failure on a line of its own ("flash_data.csv line 58: id-capacity: K9HCG08U5M: …"),
// accepted ones marked with their reason, then the notes, a table of the tallies, and the
// summary: rows, models, IDs confirmed by independent families, and each disagreement between
// an ID and its part number with how it was settled.
void printReport(const CheckReport& report, std::ostream& out);

}  // namespace norvessa::dataset::check
