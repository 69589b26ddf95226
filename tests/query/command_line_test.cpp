#include "norvessa_query/command_line.h"

#include <gtest/gtest.h>

namespace norvessa::query {
namespace {

CommandLine parse(std::vector<std::string> arguments) {
    return parseCommandLine(arguments);
}

std::string usageMessage(std::vector<std::string> arguments) {
    try {
        parse(std::move(arguments));
    } catch (const UsageError& error) {
        return error.what();
    }
    return "(accepted)";
}

TEST(QueryCommandLine, EachLookupWithItsOptions) {
    const CommandLine exact = parse({"k9hcg08u5m"});
    EXPECT_EQ(exact.kind, CommandKind::Lookup);
    EXPECT_EQ(exact.request.mode, LookupMode::ExactModel);
    EXPECT_EQ(exact.request.text, "k9hcg08u5m");
    EXPECT_EQ(exact.request.format, OutputFormat::Table);
    EXPECT_FALSE(exact.request.database.file);
    EXPECT_FALSE(exact.request.database.password);

    const CommandLine prefix = parse({"--format", "csv", "--prefix", "MT29F64G08"});
    EXPECT_EQ(prefix.request.mode, LookupMode::ModelPrefix);
    EXPECT_EQ(prefix.request.text, "MT29F64G08");
    EXPECT_EQ(prefix.request.format, OutputFormat::Csv);

    const CommandLine id =
        parse({"--id=EC D5 14 B6", "--format=json", "--database", "a b.mdb", "--password", ""});
    EXPECT_EQ(id.request.mode, LookupMode::IdBytes);
    EXPECT_EQ(id.request.text, "EC D5 14 B6");
    EXPECT_EQ(id.request.format, OutputFormat::Json);
    EXPECT_EQ(id.request.database.file, std::filesystem::path("a b.mdb"));
    EXPECT_EQ(id.request.database.password, "");

    const CommandLine controller = parse({"--controller", "CBM2093", "--format", "table"});
    EXPECT_EQ(controller.request.mode, LookupMode::Controller);
    EXPECT_EQ(controller.request.text, "CBM2093");

    // After "--" everything is a model, even when it looks like an option.
    const CommandLine dashed = parse({"--", "-K9"});
    EXPECT_EQ(dashed.request.mode, LookupMode::ExactModel);
    EXPECT_EQ(dashed.request.text, "-K9");
}

TEST(QueryCommandLine, HelpAndVersionNeedNoLookup) {
    EXPECT_EQ(parse({"--help"}).kind, CommandKind::ShowHelp);
    EXPECT_EQ(parse({"K9", "-h"}).kind, CommandKind::ShowHelp);
    EXPECT_EQ(parse({"--version"}).kind, CommandKind::ShowVersion);
}

TEST(QueryCommandLine, UnusableCommandLinesAreRefusedWithTheReason) {
    EXPECT_EQ(usageMessage({}),
              "nothing to look up: give a MODEL, --prefix, --id, --controller, --decode, --drives "
              "or --probe");
    EXPECT_EQ(usageMessage({"K9", "--prefix", "MT"}),
              "more than one lookup (--prefix after another): give exactly one of MODEL, "
              "--prefix, --id, --controller, --decode, --drives and --probe");
    EXPECT_NE(usageMessage({"K9", "H27"}).find("more than one lookup"), std::string::npos);
    EXPECT_EQ(usageMessage({"--model", "K9"}), "unknown option --model");
    EXPECT_EQ(usageMessage({"K9", "--format"}), "--format needs a value");
    EXPECT_EQ(usageMessage({"K9", "--format", "xml"}),
              "--format \"xml\": choose table, csv or json");
    EXPECT_EQ(usageMessage({"K9", "--format", "csv", "--format=json"}),
              "--format given more than once");
    EXPECT_EQ(usageMessage({"K9", "--password", "1"}),
              "--password applies to a file given with --database");
    EXPECT_EQ(usageMessage({"K9", "--database="}), "--database needs a file name");
}

}  // namespace
}  // namespace norvessa::query
