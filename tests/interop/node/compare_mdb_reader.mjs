// Reads a database another program wrote with mdb-reader and compares it with what our engine
// read from it: the same user tables, and in each the same rows (in any order: the readers
// visit moved rows at different places), value by value.
//   node compare_mdb_reader.mjs <database file> <ours.json>
// ours.json: {"tables": [{"name", "types": [Jet type code per column], "columns": [names],
// "rows": [[cell...]]}]}, cells as our engine's text, except null, booleans, numbers, and
// dates as OLE days. mdb-reader needs no password for Jet 4 files. Exit status 0 when
// everything matches; otherwise the differences.
import { readFileSync } from "node:fs";
import MDBReader from "mdb-reader";

const [databasePath, oursPath] = process.argv.slice(2);
const ours = JSON.parse(readFileSync(oursPath, "utf8"));
const reader = new MDBReader(readFileSync(databasePath));
const problems = [];

const kCurrency = 0x05;
const kDateTime = 0x08;
const kBinary = 0x09;
const kOle = 0x0b;
const kGuid = 0x0f;
const kNumeric = 0x10;

// A decimal without trailing fraction zeros, and zero without a sign.
function decimal(text) {
    let canonical = String(text);
    if (canonical.includes(".")) {
        canonical = canonical.replace(/0+$/, "").replace(/\.$/, "");
    }
    return canonical === "-0" ? "0" : canonical;
}

function ourCell(type, value) {
    if (value === null) {
        return null;
    }
    switch (type) {
        case kDateTime:
            return Math.round((value - 25569) * 86400 * 1000);
        case kCurrency:
        case kNumeric:
            return decimal(value);
        default:
            return value;
    }
}

function theirCell(type, value) {
    if (value === null || value === undefined) {
        return null;
    }
    switch (type) {
        case kDateTime:
            return value.getTime();
        case kCurrency:
        case kNumeric:
            return decimal(value);
        case kGuid:
            return `{${value.toUpperCase()}}`;
        case kBinary:
        case kOle:
            return value.toString("hex").toUpperCase();
        default:
            return value;
    }
}

function sortedRows(rows) {
    return rows.map((row) => JSON.stringify(row)).sort();
}

const theirNames = reader.getTableNames();
const ourNames = ours.tables.map((table) => table.name);
if (JSON.stringify(theirNames) !== JSON.stringify(ourNames)) {
    problems.push(`tables: mdb-reader ${JSON.stringify(theirNames)}, ours ${JSON.stringify(ourNames)}`);
}
let rowsCompared = 0;
for (const table of ours.tables) {
    if (!theirNames.includes(table.name)) {
        continue;
    }
    const data = reader.getTable(table.name).getData();
    const theirs = sortedRows(data.map((row) =>
        table.columns.map((column, i) => theirCell(table.types[i], row[column]))));
    const mine = sortedRows(table.rows.map((row) => row.map((cell, i) => ourCell(table.types[i], cell))));
    if (theirs.length !== mine.length) {
        problems.push(`${table.name}: mdb-reader ${theirs.length} rows, ours ${mine.length}`);
        continue;
    }
    theirs.forEach((row, i) => {
        if (row !== mine[i]) {
            problems.push(`${table.name}: mdb-reader ${row}\n${" ".repeat(table.name.length)}  ours       ${mine[i]}`);
        }
    });
    rowsCompared += mine.length;
}

if (problems.length > 0) {
    console.log(problems.slice(0, 20).join("\n"));
    process.exit(1);
}
console.log(`${ours.tables.length} tables, ${rowsCompared} rows as mdb-reader reads them`);
