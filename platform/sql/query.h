#pragma once

// The value a parsed statement becomes. It holds names and text only; finding the table and
// column and comparing the rows is the job of whoever runs the query.

#include <string>

namespace norvessa::sql {

// How a text column is compared with the literal. Jet compares text without regard to letter
// case and ignores trailing blanks on both sides.
enum class TextComparison {
    Equals,
    StartsWith,  // LIKE 'X*' or LIKE 'X%': the literal holds X alone
};

struct TextCondition {
    std::string column;  // as written, without brackets
    TextComparison comparison = TextComparison::Equals;
    std::string text;  // the literal's value: quotes removed, '' turned into '

    friend bool operator==(const TextCondition&, const TextCondition&) = default;
};

// SELECT * FROM table WHERE condition: every column of the table, in table order.
struct SelectQuery {
    std::string table;  // as written, without brackets
    TextCondition condition;

    friend bool operator==(const SelectQuery&, const SelectQuery&) = default;
};

}  // namespace norvessa::sql
