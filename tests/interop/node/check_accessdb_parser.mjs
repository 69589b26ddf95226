// Reads a database written by our writer with accessdb-parser and compares the tables named in
// the expectation with what the writer was asked to write. accessdb-parser returns every value as
// text and Null as the empty text.
//   node check_accessdb_parser.mjs <database file> <expected.json>
// Exit status 0 when everything matches; otherwise the differences are printed.
import { readFileSync } from "node:fs";
import { createRequire } from "node:module";

const require = createRequire(import.meta.url);
const { AccessParser } = require("accessdb-parser");

const [databasePath, expectedPath] = process.argv.slice(2);
const expected = JSON.parse(readFileSync(expectedPath, "utf8"));
const parser = new AccessParser(readFileSync(databasePath));
const problems = [];

function check(what, actual, wanted) {
    const actualText = JSON.stringify(actual);
    const wantedText = JSON.stringify(wanted);
    if (actualText !== wantedText) {
        problems.push(`${what}: got ${actualText}, expected ${wantedText}`);
    }
}

check("tables", [...parser.getTables()].sort(), [...expected.tables].sort());
for (const table of expected.contents) {
    const parsed = parser.parseTable(table.name);
    check(`${table.name}: fields`, parsed.fields, table.columns);
    check(`${table.name}: rows read`, parsed.lines.length, table.rows.length);
    parsed.lines.forEach((line, index) => check(`${table.name}: row ${index + 1}`, line, table.rows[index]));
}

if (problems.length > 0) {
    console.log(problems.slice(0, 20).join("\n"));
    process.exit(1);
}
console.log("accessdb-parser read every row as written");
