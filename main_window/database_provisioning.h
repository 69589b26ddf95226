#pragma once

// The first two steps of the Load handler, writing the carried database image to the database
// file, run on a thread of their own from the program's first moment: the write then takes place
// beside the building of the application and the windows instead of before the window can show.
// Form_Load waits for it, so the file is complete before the window first shows, and a failed
// write still ends the start before any window shows.

namespace norvessa::main_window {

// Starts writing the database file in the background. Where no thread can be started, nothing
// is started and finishDatabaseProvisioning writes the file itself.
void startDatabaseProvisioning();

// Waits for the write that startDatabaseProvisioning began, or writes the file now when none is
// under way. Throws platform::ExplainedError, with the failure nested in it, when the file could
// not be written.
void finishDatabaseProvisioning();

}  // namespace norvessa::main_window
