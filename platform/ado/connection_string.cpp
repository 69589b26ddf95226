#include "platform/ado/connection_string.h"

#include <algorithm>
#include <cstddef>

#include "platform/ado/ado_error.h"

namespace norvessa::ado {
namespace {

bool isBlank(char c) {
    return c == ' ' || c == '\t';
}

std::string_view trimBlanks(std::string_view text) {
    while (!text.empty() && isBlank(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && isBlank(text.back())) {
        text.remove_suffix(1);
    }
    return text;
}

std::string lowerAscii(std::string_view text) {
    std::string lower(text);
    std::transform(lower.begin(), lower.end(), lower.begin(), [](char c) {
        return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
    });
    return lower;
}

[[noreturn]] void refuse(const std::string& reason) {
    throw AdoError("connection string: " + reason);
}

}  // namespace

std::vector<ConnectionStringPair> splitConnectionString(std::string_view text) {
    std::vector<ConnectionStringPair> pairs;
    std::size_t pairNumber = 0;
    while (true) {
        ++pairNumber;
        const std::size_t separator = text.find(';');
        const bool last = separator == std::string_view::npos;
        const std::string_view pair = trimBlanks(text.substr(0, separator));
        if (pair.empty()) {
            if (last) {
                return pairs;
            }
            refuse("pair " + std::to_string(pairNumber) + " is empty");
        }
        const std::size_t equals = pair.find('=');
        if (equals == std::string_view::npos) {
            refuse("pair " + std::to_string(pairNumber) + " has no \"=\"");
        }
        const std::string_view key = trimBlanks(pair.substr(0, equals));
        if (key.empty()) {
            refuse("pair " + std::to_string(pairNumber) + " has no key before \"=\"");
        }
        pairs.push_back({std::string(key), std::string(trimBlanks(pair.substr(equals + 1)))});
        if (last) {
            return pairs;
        }
        text.remove_prefix(separator + 1);
    }
}

JetConnectionSettings readJetConnectionString(std::string_view text) {
    JetConnectionSettings settings;
    bool providerGiven = false;
    bool dataSourceGiven = false;
    std::vector<std::string> seen;
    for (const ConnectionStringPair& pair : splitConnectionString(text)) {
        const std::string key = lowerAscii(pair.key);
        if (std::find(seen.begin(), seen.end(), key) != seen.end()) {
            refuse("the key " + pair.key + " is given twice");
        }
        seen.push_back(key);
        if (key == "provider") {
            if (lowerAscii(pair.value) != lowerAscii(kJetProvider)) {
                refuse("the provider " + pair.value + " is not supported; only " +
                       std::string(kJetProvider) + " is");
            }
            providerGiven = true;
        } else if (key == "data source") {
            settings.dataSource = pair.value;
            dataSourceGiven = !pair.value.empty();
        } else if (key == "persist security info") {
            // Whether the password may be read back from the connection: nothing reads it back.
            const std::string flag = lowerAscii(pair.value);
            if (flag != "true" && flag != "false") {
                refuse("Persist Security Info must be True or False, not " + pair.value);
            }
        } else if (key == "jet oledb:database password") {
            settings.databasePassword = pair.value;
        } else {
            refuse("the key " + pair.key + " is not supported");
        }
    }
    if (!providerGiven) {
        refuse("no Provider; it must be " + std::string(kJetProvider));
    }
    if (!dataSourceGiven) {
        refuse("no Data Source; it must name the database file");
    }
    return settings;
}

}  // namespace norvessa::ado
