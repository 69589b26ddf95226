#include "platform/sql/parser.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/sql/sql_error.h"

namespace norvessa::sql {
namespace {

SelectQuery equalsQuery(std::string table, std::string column, std::string text) {
    return SelectQuery{std::move(table),
                       TextCondition{std::move(column), TextComparison::Equals, std::move(text)}};
}

struct Accepted {
    std::string statement;
    SelectQuery expected;
};

TEST(ParseSelect, AcceptsTheLookupStatementInJetSpellings) {
    const std::vector<Accepted> cases = {
        // Exactly what the lookup sends: the compared text keeps its trailing blank.
        {"select * from velthorn42 where FLASH型号 ='K9HCG08U5M '",
         equalsQuery("velthorn42", "FLASH型号", "K9HCG08U5M ")},
        {"SELECT * FROM VELTHORN42 WHERE flash型号 = 'k9'",
         equalsQuery("VELTHORN42", "flash型号", "k9")},
        {"SeLeCt*FrOm velthorn42 WhErE FLASH型号='x'", equalsQuery("velthorn42", "FLASH型号", "x")},
        {"select * from [velthorn42] where [FLASH型号] = 'x'",
         equalsQuery("velthorn42", "FLASH型号", "x")},
        {"select * from [my table] where [select] = 'x'", equalsQuery("my table", "select", "x")},
        {"select * from 品牌表 where 品牌 = '三星'", equalsQuery("品牌表", "品牌", "三星")},
        {"select * from t_1 where _c2 = 'x'", equalsQuery("t_1", "_c2", "x")},
        // '' is one apostrophe, also next to the closing quote and as the whole value.
        {"select * from t where c ='O''BRIEN '", equalsQuery("t", "c", "O'BRIEN ")},
        {"select * from t where c = ''''", equalsQuery("t", "c", "'")},
        {"select * from t where c = ''", equalsQuery("t", "c", "")},
        // Inside the quotes nothing is syntax.
        {"select * from t where c = ' where [x] = \"y\"; -- '",
         equalsQuery("t", "c", " where [x] = \"y\"; -- ")},
        {"select * from t where c = 'line\r\nbreak'", equalsQuery("t", "c", "line\r\nbreak")},
        // Any blanks between tokens, and Jet's optional closing semicolon.
        {"\t select\n*\r\nfrom t where c = 'x' ; ", equalsQuery("t", "c", "x")},
        {"select * from t where c = 'x';", equalsQuery("t", "c", "x")},
        // A prefix: a text followed by one wildcard of either syntax.
        {"select * from t where [ID号] like 'EC D3*'",
         SelectQuery{"t", TextCondition{"ID号", TextComparison::StartsWith, "EC D3"}}},
        {"select * from t where c LIKE '%'",
         SelectQuery{"t", TextCondition{"c", TextComparison::StartsWith, ""}}},
    };
    for (const Accepted& accepted : cases) {
        SCOPED_TRACE(accepted.statement);
        EXPECT_EQ(parseSelect(accepted.statement), accepted.expected);
    }
}

struct Rejected {
    std::string statement;
    SqlErrorKind kind;
    std::size_t position;
    std::string detailPart;
};

TEST(ParseSelect, RejectsEverythingOutsideTheSubsetWithKindAndPosition) {
    using enum SqlErrorKind;
    const std::vector<Rejected> cases = {
        {"", Syntax, 1, "the statement is empty"},
        {"selct * from t where c = 'x'", Syntax, 1, "expected SELECT"},
        {"delete from t where c = 'x'", NotSupported, 1, "DELETE statements"},
        {"select c from t where c = 'x'", NotSupported, 8, "a list of columns"},
        {"select distinct * from t where c = 'x'", NotSupported, 8, "SELECT DISTINCT"},
        {"select from t where c = 'x'", Syntax, 8,
         "expected \"*\" after SELECT, found the keyword FROM"},
        {"select * form t where c = 'x'", Syntax, 10, "expected FROM"},
        {"select * from where c = 'x'", Syntax, 15,
         "expected a table name after FROM, found the keyword WHERE"},
        {"select * from (select * from t) where c = 'x'", NotSupported, 15, "subquery"},
        {"select * from db.t where c = 'x'", NotSupported, 17, "qualified name"},
        {"select * from t, u where c = 'x'", NotSupported, 16, "more than one table"},
        {"select * from t a where c = 'x'", NotSupported, 17, "a table alias"},
        {"select * from t wher c = 'x'", Syntax, 17,
         "expected WHERE after the table name, found the name wher"},
        {"select * from t", NotSupported, 16, "without WHERE"},
        {"select * from t order by c", NotSupported, 17, "ORDER BY"},
        {"select * from t where not c = 'x'", NotSupported, 23, "NOT"},
        {"select * from t where (c = 'x')", NotSupported, 23, "parentheses"},
        {"select * from t where 'x' = c", NotSupported, 23, "a value left of the comparison"},
        {"select * from t where c like 'x%y'", NotSupported, 30, "only a text followed by one"},
        {"select * from t where c like 'x_%'", NotSupported, 30, "only a text followed by one"},
        {"select * from t where c like 'x *'", NotSupported, 30, "ends in a blank"},
        {"select * from t where c is null", NotSupported, 25, "IS; only = and LIKE"},
        {"select * from t where c <> 'x'", NotSupported, 25, "the comparison <>"},
        {"select * from t where c 'x'", Syntax, 25,
         "expected \"=\" after the column name, found the text 'x'"},
        {"select * from t where c = 5", NotSupported, 27, "comparing with a number"},
        {"select * from t where c = \"x\"", NotSupported, 27, "double quotes"},
        {"select * from t where c =", Syntax, 26, "found the end of the statement"},
        {"select * from t where c = 'x' and d = 'y'", NotSupported, 31, "joined with AND"},
        {"select * from t where c = 'x' 'y'", Syntax, 31, "expected the end of the statement"},
        {"select * from t where c = 'x'; select", Syntax, 32, "after \";\""},
        // Unclosed quotes and brackets point at where they begin.
        {"select * from t where c = 'O'BRIEN '", Syntax, 36, "no closing apostrophe"},
        {"select * from t where c = 'x", Syntax, 27, "no closing apostrophe"},
        {"select * from [t where c = 'x'", Syntax, 15, "no closing \"]\""},
        {"select * from [] where c = 'x'", Syntax, 15, "the name in brackets is empty"},
        {"select * from [a[b] where c = 'x'", Syntax, 17, "must not contain \"[\""},
        {"select * from [a\nb] where c = 'x'", Syntax, 17, "control character U+000A"},
        {"select * from 1t where c = 'x'", Syntax, 15, "must not begin with a digit"},
        {"select * from t where c = 'x' -- note", Syntax, 31, "unexpected character \"-\""},
        // Positions count characters, not bytes: 型号 are two characters of three bytes each.
        {"select * from t where 型号 == 'x'", Syntax, 27, "expected a text in single quotes"},
    };
    for (const Rejected& rejected : cases) {
        SCOPED_TRACE(rejected.statement);
        try {
            parseSelect(rejected.statement);
            ADD_FAILURE() << "accepted";
        } catch (const SqlError& error) {
            EXPECT_EQ(error.kind(), rejected.kind) << error.what();
            EXPECT_EQ(error.position(), rejected.position) << error.what();
            EXPECT_NE(error.detail().find(rejected.detailPart), std::string::npos) << error.what();
        }
    }
}

TEST(ParseSelect, RejectsInvalidUtf8AnywhereInTheStatement) {
    const std::vector<std::string> broken = {
        "select * from t where c = '\xFF'",              // never valid
        "select * from t\xE5\x9E where c = 'x'",         // sequence cut short
        "select * from t where c = '\xC0\xAF'",          // overlong "/"
        "select * from t where c = '\xED\xA0\x80'",      // surrogate
        "select * from t where c = '\xF4\x90\x80\x80'",  // beyond U+10FFFF
        "select * from t where c = 'ab\xE5",             // ends inside a sequence
    };
    for (const std::string& statement : broken) {
        SCOPED_TRACE(statement);
        try {
            parseSelect(statement);
            ADD_FAILURE() << "accepted";
        } catch (const SqlError& error) {
            EXPECT_EQ(error.kind(), SqlErrorKind::Syntax);
            EXPECT_NE(error.detail().find("not valid UTF-8"), std::string::npos) << error.what();
        }
    }
}

}  // namespace
}  // namespace norvessa::sql
