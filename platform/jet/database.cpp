#include "platform/jet/database.h"

#include "platform/jet/catalog.h"
#include "platform/jet/database_file.h"
#include "platform/jet/stored_table.h"
#include "platform/jet/text_codec.h"

namespace norvessa::jet {

TextKey::TextKey(std::string_view utf8) : folded_(utf8ToUtf16(utf8)) {
    for (char16_t& unit : folded_) {
        unit = foldCase(unit);
    }
    while (!folded_.empty() && folded_.back() == u' ') {
        folded_.pop_back();
    }
}

Table::Table(std::shared_ptr<const DatabaseFile> file, std::shared_ptr<const StoredTable> stored,
             std::shared_ptr<ReadFindings> findings)
    : file_(std::move(file)), stored_(std::move(stored)), findings_(std::move(findings)) {}

const TableDefinition& Table::definition() const {
    return stored_->definition;
}

void Table::scan(const std::function<ScanControl(const RowView&)>& visit) const {
    scanStoredTable(*file_, *stored_, *findings_, visit);
}

Database::Database(std::shared_ptr<const DatabaseFile> file, std::string_view password,
                   WrittenBy writer)
    : file_(std::move(file)),
      findings_(std::make_shared<ReadFindings>(writer, file_->displayName())) {
    const HeaderPage& page = file_->header();
    if (!page.password.empty() && utf8ToUtf16(password) != page.password) {
        throw JetError(ErrorKind::WrongPassword,
                       file_->displayName() + ": the database password is not valid");
    }
    header_.jetVersion = static_cast<int>(layout::header::kVersionJet4);
    header_.codePage = page.codePage;
    header_.sortOrder = page.sortOrder;
    header_.creationDate = page.creationDate;
    if (!page.password.empty()) {
        header_.password = utf16ToUtf8(page.password);
    }
}

Database Database::open(const std::filesystem::path& file, std::string_view password,
                        WrittenBy writer) {
    return Database(DatabaseFile::open(file), password, writer);
}

Database Database::fromStaticImage(std::span<const std::uint8_t> image, std::string_view password,
                                   std::string displayName, WrittenBy writer) {
    return Database(DatabaseFile::fromStaticImage(image, std::move(displayName)), password, writer);
}

Database Database::fromBytes(std::vector<std::uint8_t> image, std::string_view password,
                             std::string displayName, WrittenBy writer) {
    return Database(DatabaseFile::fromBytes(std::move(image), std::move(displayName)), password,
                    writer);
}

const DatabaseHeader& Database::header() const {
    return header_;
}

std::vector<std::string> Database::warnings() const {
    return findings_->warnings();
}

std::vector<std::string> Database::tableNames(bool includeSystemTables) const {
    std::vector<std::string> names;
    for (const CatalogEntry& entry : readCatalog(*file_, *findings_)) {
        if (entry.isTable() && (includeSystemTables || !entry.isSystem())) {
            names.push_back(entry.name);
        }
    }
    return names;
}

Table Database::table(std::string_view name) const {
    const std::optional<CatalogEntry> entry = findTable(*file_, name, *findings_);
    if (!entry) {
        throw JetError(ErrorKind::NotFound, file_->displayName() + ": there is no table named \"" +
                                                std::string(name) + "\"");
    }
    auto stored = withFileName(*file_, [&] {
        return loadStoredTable(*file_, entry->definitionPage(), entry->name, *findings_);
    });
    return Table(file_, std::make_shared<const StoredTable>(std::move(stored)), findings_);
}

}  // namespace norvessa::jet
