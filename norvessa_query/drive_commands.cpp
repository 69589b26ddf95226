#include "norvessa_query/drive_commands.h"

#include <sstream>
#include <stdexcept>
#include <string>

#include "drive/id_answer.h"
#include "drive/json_writer.h"
#include "drive/units.h"
#include "norvessa_query/result_formats.h"

namespace norvessa::query {

namespace {

void writeRecordsText(std::ostream& out, const ResultTable& records,
                      std::span<const std::uint8_t> id) {
    if (records.rows.empty()) {
        out << "Records: none in the lookup database begins with " << drive::idText(id) << '\n';
        return;
    }
    out << "Records in the lookup database whose ID号 begins with " << drive::idText(id) << " ("
        << records.rows.size() << "):\n";
    writeTable(out, records);
}

std::string recordsJson(const ResultTable& records) {
    std::ostringstream text;
    writeJson(text, records);
    return text.str();
}

ExitStatus runDecode(const QueryRequest& request, std::ostream& out) {
    std::vector<std::uint8_t> id;
    try {
        id = drive::parseIdBytes(request.text);
    } catch (const std::invalid_argument& error) {
        throw UsageError("--decode \"" + request.text + "\": " + error.what());
    }
    const drive::IdAnswer answer = drive::answerId(id);
    const ResultTable records = recordsForId(request.database, id);
    if (request.format == OutputFormat::Json) {
        drive::JsonWriter json(out);
        json.beginObject();
        drive::writeIdAnswerJson(json, answer);
        json.raw("records", recordsJson(records));
        json.endObject();
    } else {
        drive::writeIdAnswerText(out, answer);
        out << '\n';
        writeRecordsText(out, records, id);
    }
    return answer.parts.empty() && records.rows.empty() ? kNoRecordFound : kRecordsFound;
}

}  // namespace

ResultTable recordsForId(const DatabaseChoice& database, std::span<const std::uint8_t> id) {
    LookupInput input;
    input.mode = LookupMode::IdBytes;
    input.idBytes.assign(id.begin(), id.end());
    return runLookup(openLookupDatabase(database), input);
}

ExitStatus runDriveCommand(const QueryRequest& request, std::ostream& out, std::ostream& errors) {
    (void)errors;
    switch (request.mode) {
        case LookupMode::DecodeId:
            return runDecode(request, out);
        default:
            throw UsageError("--drives and --probe are not available in this build");
    }
}

}  // namespace norvessa::query
