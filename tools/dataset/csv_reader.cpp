#include "tools/dataset/csv_reader.h"

#include "tools/dataset/dataset_error.h"

namespace norvessa::dataset {

namespace {

class CsvParser {
  public:
    CsvParser(std::string_view text, std::string_view source) : text_(text), source_(source) {}

    std::vector<CsvRecord> parseAll() {
        std::vector<CsvRecord> records;
        while (!atEnd()) {
            records.push_back(parseRecord());
        }
        return records;
    }

  private:
    bool atEnd() const { return position_ >= text_.size(); }
    char current() const { return text_[position_]; }
    bool nextIs(char expected) const {
        return position_ + 1 < text_.size() && text_[position_ + 1] == expected;
    }

    CsvRecord parseRecord() {
        CsvRecord record;
        record.line = line_;
        for (;;) {
            record.fields.push_back(parseField());
            if (atEnd()) {
                return record;
            }
            if (current() == ',') {
                ++position_;
                continue;
            }
            consumeLineBreak();
            return record;
        }
    }

    // At a CR LF or LF (anything else was rejected by the field parsers).
    void consumeLineBreak() {
        position_ += current() == '\r' ? std::size_t{2} : std::size_t{1};
        ++line_;
    }

    std::string parseField() {
        if (!atEnd() && current() == '"') {
            return parseQuotedField();
        }
        return parseUnquotedField();
    }

    std::string parseUnquotedField() {
        const std::size_t start = position_;
        while (!atEnd()) {
            const char c = current();
            if (c == ',' || c == '\n') {
                break;
            }
            if (c == '\r') {
                if (!nextIs('\n')) {
                    throw errorAtLine(source_, line_, "carriage return without a line feed");
                }
                break;
            }
            if (c == '"') {
                throw errorAtLine(source_, line_,
                                  "quote inside an unquoted field (quote the whole field and "
                                  "double the quote)");
            }
            ++position_;
        }
        return std::string(text_.substr(start, position_ - start));
    }

    std::string parseQuotedField() {
        const std::size_t openingLine = line_;
        ++position_;
        std::string value;
        for (;;) {
            if (atEnd()) {
                throw errorAtLine(source_, openingLine, "quoted field is never closed");
            }
            const char c = current();
            if (c == '"') {
                if (nextIs('"')) {
                    value += '"';
                    position_ += 2;
                    continue;
                }
                ++position_;
                break;
            }
            if (c == '\n') {
                ++line_;
            }
            value += c;
            ++position_;
        }
        if (!atEnd() && current() != ',' && current() != '\n' &&
            !(current() == '\r' && nextIs('\n'))) {
            throw errorAtLine(source_, line_, "text after the closing quote of a field");
        }
        return value;
    }

    std::string_view text_;
    std::string_view source_;
    std::size_t position_ = 0;
    std::size_t line_ = 1;
};

}  // namespace

std::vector<CsvRecord> parseCsv(std::string_view text, std::string_view source) {
    return CsvParser(text, source).parseAll();
}

}  // namespace norvessa::dataset
