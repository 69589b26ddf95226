// The one JSON writer and the checker that reads JSON back: what the writer writes parses,
// commas and nesting included, and stays valid UTF-8 whatever bytes it is given.

#include <gtest/gtest.h>

#include <sstream>

#include "platform/json/json_check.h"
#include "platform/json/json_writer.h"

namespace norvessa::json {
namespace {

TEST(JsonWriter, NestedValuesAreSeparatedAndIndented) {
    std::ostringstream out;
    {
        JsonWriter json(out);
        json.beginObject();
        json.string("a", "x");
        json.number("b", 2);
        json.beginArray("c");
        json.number({}, 1);
        json.null({});
        json.beginObject({}, Layout::OneLine);
        json.boolean("d", true);
        json.decimal("e", "-12");
        json.decimal("f", "012");  // no JSON number: written as a string
        json.endObject();
        json.endArray();
        json.stringArray("g", {});
        json.endObject();
    }
    EXPECT_EQ(out.str(),
              "{\n  \"a\": \"x\",\n  \"b\": 2,\n  \"c\": [\n    1,\n    null,\n    {\"d\": true, "
              "\"e\": -12, \"f\": \"012\"}\n  ],\n  \"g\": []\n}\n");
    EXPECT_FALSE(jsonError(out.str()).has_value());
}

TEST(JsonWriter, EveryStringIsValidUtf8WithControlsEscaped) {
    std::ostringstream out;
    JsonWriter json(out);
    json.beginArray();
    json.string({}, std::string("Te\xFF\xFEst \x01\x7F \"q\" \\ \xE6\x85\xA7"));
    json.string({}, "\xC3");  // a sequence cut short
    json.endArray();
    EXPECT_TRUE(json.wasReplaced());
    EXPECT_FALSE(jsonError(out.str()).has_value()) << out.str();
    EXPECT_NE(out.str().find("\\u0001\\u007f \\\"q\\\" \\\\ \xE6\x85\xA7"), std::string::npos)
        << out.str();
    EXPECT_NE(out.str().find("Te\xEF\xBF\xBD\xEF\xBF\xBDst"), std::string::npos);
    EXPECT_TRUE(isPlainText("慧荣 SM3257"));
    EXPECT_FALSE(isPlainText("a\x01"));
    EXPECT_FALSE(isPlainText("\xFF"));
}

TEST(JsonCheck, RefusesWhatIsNotJson) {
    for (const char* good : {"[]", "{}", " [1, 2.5e3, -0, \"\\u00e9\", true, false, null] ",
                             "{\"a\": {\"b\": [{}]}}"}) {
        EXPECT_FALSE(jsonError(good).has_value()) << good;
    }
    for (const char* bad :
         {"", "[1 2]", "{\"a\": 1 \"b\": 2}", "[1,]", "{\"a\"}", "[01]", "\"a", "[\"\x01\"]",
          "[\"\\x\"]", "[\"\xFF\"]", "[1] [2]", "{a: 1}", "[.5]", "[1.]", "[-]"}) {
        EXPECT_TRUE(jsonError(bad).has_value()) << bad;
    }
    EXPECT_NE(jsonError("[1 2]")->find("expected ',' or ']'"), std::string::npos);
    EXPECT_TRUE(jsonError(std::string(300, '[') + std::string(300, ']')).has_value());
}

}  // namespace
}  // namespace norvessa::json
