#pragma once

// The command line of norvessa-build-database:
//   norvessa-build-database --input <data set .csv> --output <database file>
//                           --password <text> --creation-date <OLE days>
// Reads the data set, writes the database image (the same input gives the same bytes) and
// returns the exit status: 0 written, 1 the data set or the database could not be written,
// 2 the command line is wrong. Messages go to `errors`.

#include <ostream>
#include <string>
#include <vector>

namespace norvessa::build_database {

int runBuildDatabase(const std::vector<std::string>& arguments, std::ostream& errors);

}  // namespace norvessa::build_database
