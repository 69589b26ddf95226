// Column definitions damaged one field at a time, by the image mutator's aimed mutations: in
// this program's file and in files Access wrote. Each mutant is refused, read with a warning
// and every value as before, or read exactly as before; a silent difference is a failure,
// except for the changes listed in whyUnseen(), which nothing in the file can reveal. The test
// prints, per field, how the mutants ended.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <map>
#include <optional>

#include "fixture_support.h"
#include "fuzz/jet_image_mutator.h"
#include "intact_image.h"
#include "platform/jet/database.h"
#include "platform/jet/database_file.h"
#include "platform/jet/errors.h"
#include "platform/jet/layout.h"
#include "platform/jet/table_definition_page.h"
#include "platform/jet/text_codec.h"

namespace norvessa::jet {
namespace {

using fuzz::ColumnFieldMutation;
using testing::Image;
namespace c = layout::tdef::column;

struct Subject {
    std::string file;  // a fixture's name, or "" for this program's image
    std::string password;
    std::string table;
    WrittenBy writer = WrittenBy::AnyProgram;
};

// Every subject's table read whole: the catalog, then each row as column name, type and
// value, Null told apart from empty text. Warnings end it.
struct Reading {
    bool refused = false;
    std::string error;
    std::string rows;
    std::vector<std::string> warnings;
};

Reading readTable(const Image& image, const Subject& subject) {
    Reading reading;
    try {
        const Database database =
            Database::fromBytes(image, subject.password, "damaged.mdb", subject.writer);
        for (const std::string& name : database.tableNames(true)) {
            reading.rows += name + ";";
        }
        const Table table = database.table(subject.table);
        const auto& columns = table.definition().columns;
        table.scan([&](const RowView& row) {
            reading.rows += "\n";
            for (std::size_t i = 0; i < columns.size(); ++i) {
                const Value value = row.value(i);
                reading.rows += columns[i].name + ":" +
                                std::to_string(static_cast<int>(columns[i].type)) + "=" +
                                (isNull(value) ? std::string("(null)") : toText(value)) + "|";
            }
            return ScanControl::Continue;
        });
        reading.warnings = database.warnings();
    } catch (const JetError& error) {
        reading.refused = true;
        reading.error = error.what();
    }
    return reading;
}

std::uint32_t definitionPage(const Image& image, const Subject& subject) {
    return Database::fromBytes(image, subject.password)
        .table(subject.table)
        .definition()
        .definitionPage;
}

// The four ways a mutant can end; the last is a fault unless whyUnseen() names a reason.
enum Outcome { kRefused, kWarned, kIdentical, kSilentDifference, kOutcomes };

// Whether a column's descriptor, with its length and fixed flag, could as well describe a
// column of type `to`: then a type code changed to it reads other values from the same bytes,
// and nothing in the file records the old type. Text and binary, and memo and OLE, share their
// storage (binary also with the binary-like 0x0D); fixed types share it with the others of
// their size (a byte with a yes/no column, whose one recorded byte Access writes too). Access
// also writes fixed text and binary columns, so in its files any fixed column may have been
// one.
bool sameShape(const ColumnDescriptor& column, std::uint8_t to, WrittenBy writer) {
    const auto type = static_cast<ColumnType>(to);
    const auto binary = [](std::uint8_t code) {
        return code == static_cast<std::uint8_t>(ColumnType::Binary) ||
               code == c::kTypeUnknownBinary;
    };
    const bool toTextOrBinary = type == ColumnType::Text || binary(to);
    if (column.fixedLength()) {
        const std::size_t size = type == ColumnType::Boolean ? 1 : fixedValueSize(type);
        const bool textLength = binary(to) || (type == ColumnType::Text && column.length % 2 == 0);
        return size == column.length || (writer == WrittenBy::AnyProgram && textLength);
    }
    const auto from = static_cast<ColumnType>(column.type);
    if (from == ColumnType::Text || binary(column.type)) {
        return toTextOrBinary;
    }
    return (from == ColumnType::Memo || from == ColumnType::Ole) &&
           (type == ColumnType::Memo || type == ColumnType::Ole);
}

// Why a mutation that changed values without a word could not have been noticed, or none.
std::optional<std::string> whyUnseen(const ColumnFieldMutation& mutation,
                                     const TableDefinitionBlock& block, const Subject& subject) {
    const ColumnDescriptor& column = block.columns[mutation.column];
    const bool fixed = column.fixedLength();
    const auto freeInFixedArea = [&](std::uint32_t offset, std::uint32_t length) {
        std::uint32_t areaEnd = 0;
        for (std::size_t i = 0; i < block.columns.size(); ++i) {
            const ColumnDescriptor& other = block.columns[i];
            if (!other.fixedLength() || other.type == 0x01) {
                continue;
            }
            areaEnd = std::max<std::uint32_t>(areaEnd, other.fixedOffset + other.length);
            if (i != mutation.column && offset < other.fixedOffset + other.length &&
                other.fixedOffset < offset + length) {
                return false;
            }
        }
        return offset + length <= areaEnd;
    };
    const std::string field(mutation.field);
    if (field == c::kType.name &&
        sameShape(column, static_cast<std::uint8_t>(mutation.value), subject.writer)) {
        return "another type stored in the same bytes";
    }
    if (field == c::kSortOrder.name && column.type == 0x10) {
        const std::uint32_t precision = mutation.value & 0xFF;
        const std::uint32_t scale = mutation.value >> 8;
        if (precision >= 1 && precision <= 28 && scale <= precision) {
            return "a numeric scale within the precision";
        }
    }
    // This program's writer leaves no gaps and stores the column number twice: there a moved
    // number, var index or fixed field is always seen.
    if (subject.writer == WrittenBy::ThisProgram) {
        return std::nullopt;
    }
    if (field == c::kNumber.name && mutation.value < block.maxColumns) {
        return "a deleted column's number, where the table keeps no other copy alike";
    }
    if (field == c::kVarIndex.name && !fixed && mutation.value < block.variableColumns) {
        return "a deleted column's var index";
    }
    if (field == c::kFixedOffset.name && fixed && freeInFixedArea(mutation.value, column.length)) {
        return "a fixed place no other column uses";
    }
    if (field == c::kLength.name && fixed && column.type == 0x0A && mutation.value % 2 == 0 &&
        mutation.value > 0 && freeInFixedArea(column.fixedOffset, mutation.value)) {
        return "a fixed text length that stays in free fixed space";
    }
    return std::nullopt;
}

struct Tally {
    std::array<std::size_t, kOutcomes> counts{};
    std::map<std::string, std::size_t> unseen;  // silent differences by reason
};

TEST(ColumnDefinitionDamage, EveryFieldIsRefusedWarnedOrReadExactly) {
    const std::vector<Subject> subjects{
        {"", "12345678", "parts", WrittenBy::ThisProgram},
        {"numericV2000.mdb", "", "test"},
        {"fixedTextTestV2000.mdb", "", "users"},
        {"delColTestV2000.mdb", "", "Table1"},
        {"indexTestV2000.mdb", "", "Table1"},
        {"V2000_no-password.mdb", "", "MSysObjects"},
        {"V2000_no-password.mdb", "", "MSysACEs"},
    };
    std::map<std::size_t, Tally> tallies;  // by the field's offset in the descriptor
    std::size_t faults = 0;
    for (const Subject& subject : subjects) {
        SCOPED_TRACE(subject.file + " " + subject.table);
        const Image image = subject.file.empty()
                                ? testing::intactImage()
                                : testing::readBytes(testing::fixturePath(subject.file));
        const Reading intact = readTable(image, subject);
        ASSERT_FALSE(intact.refused) << intact.error;
        const std::uint32_t page = definitionPage(image, subject);
        const auto file = DatabaseFile::fromBytes(image, "intact");
        const TableDefinitionBlock block =
            decodeTableDefinition(readTableDefinitionBuffer(*file, page), page);
        const auto mutations = fuzz::columnFieldMutations(image, page);
        ASSERT_FALSE(mutations.empty());
        for (const ColumnFieldMutation& mutation : mutations) {
            Image mutant = image;
            mutation.applyTo(mutant);
            const Reading read = readTable(mutant, subject);
            const bool sameRows = !read.refused && read.rows == intact.rows;
            const Outcome outcome = read.refused                       ? kRefused
                                    : !sameRows                        ? kSilentDifference
                                    : read.warnings != intact.warnings ? kWarned
                                                                       : kIdentical;
            Tally& tally = tallies[mutation.fieldOffset];
            ++tally.counts[outcome];
            if (outcome != kSilentDifference) {
                continue;
            }
            if (const auto reason = whyUnseen(mutation, block, subject)) {
                ++tally.unseen[*reason];
                continue;
            }
            if (++faults <= 40) {
                ADD_FAILURE() << subject.table << " \""
                              << utf16ToUtf8(block.columns[mutation.column].name) << "\" "
                              << mutation.describe() << ": read differently without a word";
            }
        }
    }
    EXPECT_EQ(faults, 0U);

    std::printf("%-25s %7s  %7s  %9s  %6s (unseen)\n", "column field", "refused", "warned",
                "identical", "silent");
    for (const auto& [offset, tally] : tallies) {
        const auto field = std::find_if(c::kFields.begin(), c::kFields.end(),
                                        [&](const layout::Field& f) { return f.offset == offset; });
        const std::string label = std::to_string(offset) + " " + std::string(field->name);
        std::size_t unseen = 0;
        for (const auto& [reason, count] : tally.unseen) {
            unseen += count;
        }
        std::printf("%-25s %7zu  %7zu  %9zu  %6zu (%zu)\n", label.c_str(), tally.counts[kRefused],
                    tally.counts[kWarned], tally.counts[kIdentical],
                    tally.counts[kSilentDifference], unseen);
        for (const auto& [reason, count] : tally.unseen) {
            std::printf("    unseen: %s: %zu\n", reason.c_str(), count);
        }
    }
}

// The image with one field of the named column's descriptor set to `value`.
Image changed(const Image& image, const Subject& subject, std::string_view columnName,
              const layout::Field& field, std::uint32_t value) {
    const std::uint32_t page = definitionPage(image, subject);
    const auto file = DatabaseFile::fromBytes(image, "intact");
    const TableDefinitionBlock block =
        decodeTableDefinition(readTableDefinitionBuffer(*file, page), page);
    for (ColumnFieldMutation mutation : fuzz::columnFieldMutations(image, page)) {
        if (utf16ToUtf8(block.columns[mutation.column].name) == columnName &&
            mutation.fieldOffset == field.offset) {
            mutation.value = value;
            Image mutant = image;
            mutation.applyTo(mutant);
            return mutant;
        }
    }
    ADD_FAILURE() << "no column " << columnName;
    return image;
}

TEST(ColumnDefinitionDamage, RefusalsNameTheTableColumnAndFaultWarningsKeepEveryRow) {
    const Image& intact = testing::intactImage();
    const Subject ours{"", "12345678", "parts", WrittenBy::ThisProgram};
    Subject elsewhere = ours;
    elsewhere.writer = WrittenBy::AnyProgram;
    const std::string damaged = "damaged.mdb: table definition " +
                                std::to_string(definitionPage(intact, ours)) +
                                ": the file is damaged: table \"parts\", column ";

    // A yes/no column's number beyond the column places used to read False in every row, an
    // unknown type code as hexadecimal bytes.
    EXPECT_EQ(readTable(changed(intact, ours, "checked", c::kNumber, 255), elsewhere).error,
              damaged +
                  "\"checked\": its column number 255 lies beyond the table's 11 column "
                  "places");
    EXPECT_EQ(readTable(changed(intact, ours, "count", c::kType, 0x14), elsewhere).error,
              damaged + "\"count\": its type code 0x14 is no Jet 4 type");

    // A bit Jet does not write, in flags reading does not use: every row as before, with a
    // warning, in another program's file; damage in this program's.
    const Image flagged = changed(intact, ours, "maker", c::kFlags, 0x0A);
    const Reading warned = readTable(flagged, elsewhere);
    EXPECT_EQ(warned.rows, readTable(intact, elsewhere).rows);
    EXPECT_EQ(warned.warnings,
              std::vector<std::string>{
                  "damaged.mdb: table \"parts\", column \"maker\": its flags 0x0A and 0x00 hold "
                  "bits Jet does not write; reading does not depend on it, every row is read"});
    EXPECT_EQ(readTable(flagged, ours).error,
              damaged + "\"maker\": its flags 0x0A and 0x00 hold bits Jet does not write");
}

}  // namespace
}  // namespace norvessa::jet
