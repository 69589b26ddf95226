// norvessa-dataset-check: checks the lookup data set against the flash decoders, the controller
// facts and the sources, and prints every failure and the rate of each rule.
//   norvessa-dataset-check [--data FILE] [--sources FILE] [--controller-facts FILE]
//                          [--exceptions FILE] [--facts FOLDER] [--id-crosscheck FILE]
//                          [--name-flags FILE] [--pairings FILE]
// Paths default to the files of a checkout, relative to the current folder. Exit status: 0 when
// every failure is a known exception, 1 when some are not, 2 when a file cannot be read.

#include <filesystem>
#include <iostream>
#include <string_view>

#include "tools/dataset/dataset_error.h"
#include "tools/dataset_check/dataset_check.h"

namespace {

constexpr std::string_view kUsage =
    "usage: norvessa-dataset-check [--data FILE] [--sources FILE] [--controller-facts FILE]\n"
    "                              [--exceptions FILE] [--facts FOLDER] [--id-crosscheck FILE]\n"
    "                              [--name-flags FILE] [--pairings FILE]\n"
    "defaults: resources/flash_data.csv, resources/flash_sources.csv,\n"
    "          resources/controller_facts.csv, tools/dataset/known_exceptions.csv,\n"
    "          tools/dataset/facts, resources/id_crosscheck.csv, resources/name_flags.csv,\n"
    "          resources/pairings.csv (the last five if present)\n";

}  // namespace

int main(int argc, char** argv) {
    using norvessa::dataset::check::CheckPaths;
    CheckPaths paths{"resources/flash_data.csv",
                     "resources/flash_sources.csv",
                     "resources/controller_facts.csv",
                     std::nullopt,
                     std::nullopt,
                     std::nullopt,
                     std::nullopt,
                     std::nullopt};
    const std::filesystem::path defaultExceptions = "tools/dataset/known_exceptions.csv";
    const std::filesystem::path defaultFacts = "tools/dataset/facts";
    const std::filesystem::path defaultIdChecks = "resources/id_crosscheck.csv";
    const std::filesystem::path defaultNameFlags = "resources/name_flags.csv";
    const std::filesystem::path defaultPairings = "resources/pairings.csv";
    bool exceptionsGiven = false;
    for (int i = 1; i < argc; ++i) {
        const std::string_view option = argv[i];
        if (option == "--help" || option == "-h") {
            std::cout << kUsage;
            return 0;
        }
        if (i + 1 >= argc) {
            std::cerr << "norvessa-dataset-check: " << option << ": unknown option or no value\n"
                      << kUsage;
            return 2;
        }
        const std::filesystem::path value = argv[++i];
        if (option == "--data") {
            paths.dataset = value;
        } else if (option == "--sources") {
            paths.sources = value;
        } else if (option == "--controller-facts") {
            paths.controllerFacts = value;
        } else if (option == "--exceptions") {
            paths.exceptions = value;
            exceptionsGiven = true;
        } else if (option == "--facts") {
            paths.facts = value;
        } else if (option == "--id-crosscheck") {
            paths.idChecks = value;
        } else if (option == "--name-flags") {
            paths.nameFlags = value;
        } else if (option == "--pairings") {
            paths.pairings = value;
        } else {
            std::cerr << "norvessa-dataset-check: unknown option " << option << '\n' << kUsage;
            return 2;
        }
    }
    if (!exceptionsGiven && std::filesystem::exists(defaultExceptions)) {
        paths.exceptions = defaultExceptions;
    }
    if (!paths.facts && std::filesystem::is_directory(defaultFacts)) {
        paths.facts = defaultFacts;
    }
    if (!paths.idChecks && std::filesystem::exists(defaultIdChecks)) {
        paths.idChecks = defaultIdChecks;
    }
    if (!paths.nameFlags && std::filesystem::exists(defaultNameFlags)) {
        paths.nameFlags = defaultNameFlags;
    }
    if (!paths.pairings && std::filesystem::exists(defaultPairings)) {
        paths.pairings = defaultPairings;
    }
    try {
        const auto report = norvessa::dataset::check::runDatasetCheck(paths);
        norvessa::dataset::check::printReport(report, std::cout);
        return report.unacceptedFailures() == 0 ? 0 : 1;
    } catch (const norvessa::dataset::DatasetError& error) {
        std::cerr << "norvessa-dataset-check: " << error.what() << '\n';
        return 2;
    } catch (const std::filesystem::filesystem_error& error) {
        std::cerr << "norvessa-dataset-check: " << error.what() << '\n';
        return 2;
    }
}
