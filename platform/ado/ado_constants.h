#pragma once

// The ADO enumeration values the lookup passes, under ADO's own names and numbers.

#include <cstdint>

namespace norvessa::ado {

// Where the cursor lives. A record set starts with adUseServer, as in ADO; this component runs
// only client-side cursors, which the lookup selects before every query.
enum CursorLocationEnum : std::int32_t {
    adUseServer = 2,
    adUseClient = 3,
};

// A static cursor: the record set is a snapshot taken when it is opened.
enum CursorTypeEnum : std::int32_t {
    adOpenStatic = 3,
};

enum LockTypeEnum : std::int32_t {
    adLockOptimistic = 3,
};

// The component recognises the source as a statement by itself.
enum CommandTypeEnum : std::int32_t {
    adCmdUnspecified = -1,
};

// Whether a connection or record set is open.
enum ObjectStateEnum : std::int32_t {
    adStateClosed = 0,
    adStateOpen = 1,
};

// No connect options: Open completes before it returns.
enum ConnectOptionEnum : std::int32_t {
    adConnectUnspecified = -1,
};

}  // namespace norvessa::ado
