// Reads a database written by our writer with mdb-reader and compares what it finds with what
// the writer was asked to write.
//   node check_mdb_reader.mjs <database file> <expected.json>
// Exit status 0 when everything matches; otherwise the differences are printed.
import { readFileSync } from "node:fs";
import MDBReader from "mdb-reader";

const [databasePath, expectedPath] = process.argv.slice(2);
const expected = JSON.parse(readFileSync(expectedPath, "utf8"));
const reader = new MDBReader(readFileSync(databasePath));
const problems = [];

function check(what, actual, wanted) {
    const actualText = JSON.stringify(actual);
    const wantedText = JSON.stringify(wanted);
    if (actualText !== wantedText) {
        problems.push(`${what}: got ${actualText}, expected ${wantedText}`);
    }
}

// Binary data and dates as the expectation spells them.
function normalise(value) {
    if (Buffer.isBuffer(value)) {
        return { hex: value.toString("hex") };
    }
    if (value instanceof Date) {
        return { ms: value.getTime() };
    }
    return value;
}

check("password", reader.getPassword(), expected.password);
check("tables", reader.getTableNames(), expected.tables);
for (const table of expected.contents) {
    const read = reader.getTable(table.name);
    check(`${table.name}: row count`, read.rowCount, table.rows.length);
    check(`${table.name}: columns`,
          read.getColumns().map((column) => ({ name: column.name, type: column.type, size: column.size })),
          table.columns);
    const rows = read.getData().map((row) => table.columns.map((column) => normalise(row[column.name])));
    check(`${table.name}: rows read`, rows.length, table.rows.length);
    rows.forEach((row, index) => check(`${table.name}: row ${index + 1}`, row, table.rows[index]));
}

if (problems.length > 0) {
    console.log(problems.slice(0, 20).join("\n"));
    process.exit(1);
}
console.log("mdb-reader read every table, column and row as written");
