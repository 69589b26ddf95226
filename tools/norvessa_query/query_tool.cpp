#include "tools/norvessa_query/query_tool.h"

#include <exception>

#include "tools/norvessa_query/lookups.h"
#include "tools/norvessa_query/result_formats.h"
#include "tools/norvessa_query/usage_error.h"

namespace norvessa::query {

ExitStatus runQueryTool(std::span<const std::string> arguments, std::ostream& out,
                        std::ostream& errors) {
    try {
        const CommandLine commandLine = parseCommandLine(arguments);
        if (commandLine.kind == CommandKind::ShowHelp) {
            out << usageText();
            return kRecordsFound;
        }
        if (commandLine.kind == CommandKind::ShowVersion) {
            out << kProgramName << ' ' << kProgramVersion << '\n';
            return kRecordsFound;
        }
        const QueryRequest& request = commandLine.request;
        const ResultTable result = runLookup(request);
        if (result.rows.empty() && request.format == OutputFormat::Table) {
            errors << kProgramName << ": no record found\n";
            return kNoRecordFound;
        }
        writeResult(out, result, request.format);
        out.flush();
        if (!out) {
            errors << kProgramName << ": cannot write the result to standard output\n";
            return kFailed;
        }
        return result.rows.empty() ? kNoRecordFound : kRecordsFound;
    } catch (const UsageError& error) {
        errors << kProgramName << ": " << error.what() << "\nTry '" << kProgramName
               << " --help' for more information.\n";
    } catch (const std::exception& error) {
        errors << kProgramName << ": " << error.what() << '\n';
    }
    return kFailed;
}

}  // namespace norvessa::query
