#include "platform/sql/parser.h"

#include <algorithm>
#include <array>
#include <string>
#include <vector>

#include "platform/sql/sql_error.h"
#include "platform/sql/tokenizer.h"
#include "platform/text/utf8.h"

namespace norvessa::sql {
namespace {

// Jet's reserved words that may appear where this subset expects something else. A plain name
// spelled like one of them must be written in brackets, as in Jet.
constexpr std::array kReservedWords = {
    "ALL",      "ALTER",       "AND",       "AS",     "BETWEEN",    "BY",    "CREATE", "DELETE",
    "DISTINCT", "DISTINCTROW", "DROP",      "EXISTS", "FROM",       "GROUP", "HAVING", "IN",
    "INNER",    "INSERT",      "INTO",      "IS",     "JOIN",       "LEFT",  "LIKE",   "NOT",
    "NULL",     "ON",          "OR",        "ORDER",  "PARAMETERS", "PIVOT", "RIGHT",  "SELECT",
    "SET",      "TOP",         "TRANSFORM", "UNION",  "UPDATE",     "WHERE",
};

constexpr std::array kOtherStatements = {
    "ALTER", "CREATE", "DELETE", "DROP", "INSERT", "PARAMETERS", "TRANSFORM", "UPDATE",
};

constexpr std::array kComparisons = {"<", ">", "<=", ">=", "<>"};

std::string upperAscii(std::string_view text) {
    std::string upper(text);
    std::transform(upper.begin(), upper.end(), upper.begin(), [](char c) {
        return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
    });
    return upper;
}

template <std::size_t N>
bool contains(const std::array<const char*, N>& words, std::string_view word) {
    return std::find(words.begin(), words.end(), word) != words.end();
}

bool isKeyword(const Token& token) {
    return token.kind == TokenKind::Word && contains(kReservedWords, upperAscii(token.text));
}

bool isKeyword(const Token& token, std::string_view keyword) {
    return token.kind == TokenKind::Word && upperAscii(token.text) == keyword;
}

bool isSymbol(const Token& token, std::string_view symbol) {
    return token.kind == TokenKind::Symbol && token.text == symbol;
}

bool isName(const Token& token) {
    return token.kind == TokenKind::BracketedName ||
           (token.kind == TokenKind::Word && !isKeyword(token));
}

// Long literals are shortened so that a message stays readable.
std::string quoteText(const std::string& text) {
    constexpr std::size_t kShown = 40;
    if (text.size() <= kShown) {
        return "'" + text + "'";
    }
    std::size_t cut = kShown;
    while (cut > 0 && norvessa::text::isUtf8Continuation(text[cut])) {
        --cut;  // do not split a UTF-8 sequence
    }
    return "'" + text.substr(0, cut) + "...'";
}

std::string describe(const Token& token) {
    switch (token.kind) {
        case TokenKind::Word:
            return isKeyword(token) ? "the keyword " + upperAscii(token.text)
                                    : "the name " + token.text;
        case TokenKind::BracketedName:
            return "the name [" + token.text + "]";
        case TokenKind::Text:
            return "the text " + quoteText(token.text);
        case TokenKind::Number:
            return "the number " + token.text;
        case TokenKind::Symbol:
            return "\"" + token.text + "\"";
        case TokenKind::End:
            break;
    }
    return "the end of the statement";
}

// Clauses that may follow a table or a condition in Jet SQL but are not part of the subset.
std::string clauseName(const Token& token) {
    const std::string word = upperAscii(token.text);
    if (word == "ORDER" || word == "GROUP") {
        return word + " BY";
    }
    return word;
}

class Parser {
  public:
    explicit Parser(std::string_view statement) : tokens_(tokenize(statement)) {}

    SelectQuery parse() {
        SelectQuery query;
        expectSelect();
        expectStar();
        query.table = expectTableName();
        expectWhere();
        query.condition.column = expectColumnName();
        query.condition.comparison = expectComparison();
        const Token& literal = peek();
        query.condition.text = expectText();
        if (query.condition.comparison == TextComparison::StartsWith) {
            query.condition.text = likePrefix(literal, query.condition.text);
        }
        expectEnd();
        return query;
    }

  private:
    const Token& peek() const { return tokens_[next_]; }

    const Token& take() {
        const Token& token = tokens_[next_];
        if (token.kind != TokenKind::End) {
            ++next_;
        }
        return token;
    }

    [[noreturn]] static void syntaxError(const Token& found, const std::string& expected) {
        throw SqlError(SqlErrorKind::Syntax, found.position,
                       "expected " + expected + ", found " + describe(found));
    }

    [[noreturn]] static void notSupported(const Token& at, const std::string& what) {
        throw SqlError(SqlErrorKind::NotSupported, at.position, what);
    }

    void expectSelect() {
        const Token& token = take();
        if (isKeyword(token, "SELECT")) {
            return;
        }
        if (token.kind == TokenKind::End) {
            throw SqlError(SqlErrorKind::Syntax, token.position, "the statement is empty");
        }
        if (token.kind == TokenKind::Word && contains(kOtherStatements, upperAscii(token.text))) {
            notSupported(token, upperAscii(token.text) + " statements; only SELECT is supported");
        }
        syntaxError(token, "SELECT at the start of the statement");
    }

    void expectStar() {
        const Token& token = take();
        if (isSymbol(token, "*")) {
            if (isSymbol(peek(), ",")) {
                notSupported(peek(), "a list of columns; only SELECT * is supported");
            }
            return;
        }
        if (isKeyword(token, "DISTINCT") || isKeyword(token, "DISTINCTROW") ||
            isKeyword(token, "TOP") || isKeyword(token, "ALL")) {
            notSupported(token,
                         "SELECT " + upperAscii(token.text) + "; only SELECT * is supported");
        }
        if (isName(token)) {
            notSupported(token, "a list of columns; only SELECT * is supported");
        }
        syntaxError(token, "\"*\" after SELECT");
    }

    std::string expectTableName() {
        const Token& from = take();
        if (isKeyword(from, "INTO")) {
            notSupported(from, "SELECT ... INTO");
        }
        if (!isKeyword(from, "FROM")) {
            syntaxError(from, "FROM after SELECT *");
        }
        const Token& table = take();
        if (isSymbol(table, "(")) {
            notSupported(table, "a subquery in FROM");
        }
        if (!isName(table)) {
            syntaxError(table, "a table name after FROM");
        }
        rejectQualifiedName();
        const Token& after = peek();
        if (isSymbol(after, ",") || isKeyword(after, "JOIN") || isKeyword(after, "INNER") ||
            isKeyword(after, "LEFT") || isKeyword(after, "RIGHT")) {
            notSupported(after, "more than one table; the statement must read one table");
        }
        // A name between the table and WHERE is an alias; anything else is left to expectWhere.
        if (isKeyword(after, "AS") || (isName(after) && isKeyword(tokens_[next_ + 1], "WHERE"))) {
            notSupported(after, "a table alias");
        }
        return table.text;
    }

    void expectWhere() {
        const Token& token = take();
        if (isKeyword(token, "WHERE")) {
            return;
        }
        if (token.kind == TokenKind::End || isSymbol(token, ";")) {
            notSupported(token, "a SELECT without WHERE; the statement must name a condition");
        }
        rejectClause(token);
        syntaxError(token, "WHERE after the table name");
    }

    std::string expectColumnName() {
        const Token& column = take();
        if (isKeyword(column, "NOT")) {
            notSupported(column, "NOT; the condition must be column = 'text'");
        }
        if (isSymbol(column, "(")) {
            notSupported(column,
                         "a condition in parentheses; the condition must be column = 'text'");
        }
        if (column.kind == TokenKind::Text || column.kind == TokenKind::Number) {
            notSupported(column,
                         "a value left of the comparison; the condition must be column = 'text'");
        }
        if (!isName(column)) {
            syntaxError(column, "a column name after WHERE");
        }
        rejectQualifiedName();
        return column.text;
    }

    TextComparison expectComparison() {
        const Token& token = take();
        if (isSymbol(token, "=")) {
            return TextComparison::Equals;
        }
        if (isKeyword(token, "LIKE")) {
            return TextComparison::StartsWith;
        }
        if (token.kind == TokenKind::Symbol && contains(kComparisons, token.text)) {
            notSupported(token, "the comparison " + token.text + "; only = is supported");
        }
        if (isKeyword(token, "IS") || isKeyword(token, "IN") || isKeyword(token, "BETWEEN") ||
            isKeyword(token, "NOT")) {
            notSupported(token, upperAscii(token.text) + "; only = and LIKE are supported");
        }
        syntaxError(token, "\"=\" after the column name");
    }

    std::string expectText() {
        const Token& value = take();
        if (value.kind == TokenKind::Text) {
            return value.text;
        }
        if (value.kind == TokenKind::Number) {
            notSupported(value,
                         "comparing with a number; write the value as text in single quotes");
        }
        if (isKeyword(value, "NULL")) {
            notSupported(value, "comparing with NULL; write the value as text in single quotes");
        }
        if (isName(value)) {
            notSupported(value,
                         "comparing with a column; write the value as text in single quotes");
        }
        syntaxError(value, "a text in single quotes after \"=\"");
    }

    // The text before the one wildcard that ends a LIKE pattern. Both wildcard sets count (* ? #
    // and [ of Jet's own syntax, % and _ of ANSI SQL), so that no pattern is run as something
    // other than it says; nor is a prefix that ends in a blank, which the comparison would drop.
    static std::string likePrefix(const Token& literal, const std::string& pattern) {
        constexpr std::string_view kWildcards = "*%?#[_";
        const std::size_t wildcard = pattern.find_first_of(kWildcards);
        if (wildcard == std::string::npos || wildcard + 1 != pattern.size() ||
            (pattern.back() != '*' && pattern.back() != '%')) {
            notSupported(literal, "the LIKE pattern '" + pattern +
                                      "'; only a text followed by one * or % is supported");
        }
        std::string prefix = pattern.substr(0, wildcard);
        if (!prefix.empty() && prefix.back() == ' ') {
            notSupported(literal, "the LIKE pattern '" + pattern +
                                      "'; a prefix that ends in a blank is not supported");
        }
        return prefix;
    }

    void expectEnd() {
        const Token& token = take();
        if (token.kind == TokenKind::End) {
            return;
        }
        if (isSymbol(token, ";")) {
            const Token& last = take();
            if (last.kind != TokenKind::End) {
                syntaxError(last, "the end of the statement after \";\"");
            }
            return;
        }
        if (isKeyword(token, "AND") || isKeyword(token, "OR")) {
            notSupported(token, "conditions joined with " + upperAscii(token.text) +
                                    "; the statement must name one condition");
        }
        rejectClause(token);
        syntaxError(token, "the end of the statement after the condition");
    }

    static void rejectClause(const Token& token) {
        if (isKeyword(token, "ORDER") || isKeyword(token, "GROUP") || isKeyword(token, "HAVING") ||
            isKeyword(token, "UNION")) {
            notSupported(token, clauseName(token) + "; the statement must end after its condition");
        }
    }

    // "table.column" and "[a].[b]" name a table or column through another object.
    void rejectQualifiedName() {
        if (isSymbol(peek(), ".")) {
            notSupported(peek(), "a qualified name (with \".\"); name the table or column alone");
        }
    }

    std::vector<Token> tokens_;
    std::size_t next_ = 0;
};

}  // namespace

SelectQuery parseSelect(std::string_view statement) {
    return Parser(statement).parse();
}

}  // namespace norvessa::sql
