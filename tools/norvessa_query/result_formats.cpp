#include "tools/norvessa_query/result_formats.h"

namespace norvessa::query {

void writeResult(std::ostream& out, const ResultTable& result, OutputFormat format) {
    switch (format) {
        case OutputFormat::Table:
            writeTable(out, result);
            return;
        case OutputFormat::Csv:
            writeCsv(out, result);
            return;
        case OutputFormat::Json:
            writeJson(out, result);
            return;
    }
}

}  // namespace norvessa::query
