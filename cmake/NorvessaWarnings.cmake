# Every target of ours links this interface library to get the same warning set.
add_library(norvessa_warnings INTERFACE)
target_compile_options(norvessa_warnings INTERFACE
    -Wall -Wextra -Wpedantic -Wshadow -Wconversion -Wsign-conversion -Wnon-virtual-dtor
    -Wold-style-cast -Wcast-align -Woverloaded-virtual -Wnull-dereference -Wformat=2
    $<$<BOOL:${NORVESSA_WERROR}>:-Werror>)
