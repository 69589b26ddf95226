# Runs norvessa-dataset-check over the checkout's data set. Until resources/flash_sources.csv
# exists every model fails the source rule, so the test is skipped (by the message below) rather
# than failed.
#   cmake -DCHECK=<program> -DSOURCE_DIR=<checkout> [-DEMULATOR=<program|argument...>]
#         -P run_dataset_check.cmake
# EMULATOR runs a cross-built program (Wine), its words separated by "|".
if(NOT EXISTS "${SOURCE_DIR}/resources/flash_sources.csv")
    message(STATUS "dataset check skipped: resources/flash_sources.csv does not exist yet")
    return()
endif()
string(REPLACE "|" ";" emulator "${EMULATOR}")
execute_process(COMMAND ${emulator} "${CHECK}" WORKING_DIRECTORY "${SOURCE_DIR}" RESULT_VARIABLE result)
if(NOT result EQUAL 0)
    message(FATAL_ERROR "the data check found failures that known_exceptions.csv does not list")
endif()
