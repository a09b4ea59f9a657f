# stavlin_add_test_entries(<target>)
# Registers a test program's tests with ctest. A plain test is an entry of its
# own; a test run over a table of values is one entry that runs every value in
# one process, under the test's own name (its values' bytes never appear in a
# name). Starting a sanitized test program costs far more than most of its
# cases, so one process per value would spend the suite's time on start-up.
#
# The tests are listed when ctest starts (the program may have been rebuilt
# since cmake ran), and the listing is kept until the program changes.
function(stavlin_add_test_entries target)
  set(script "${CMAKE_CURRENT_BINARY_DIR}/${target}_entries.cmake")
  file(GENERATE OUTPUT "${script}" CONTENT
"set(stavlin_program [==[$<TARGET_FILE:${target}>]==])
set(stavlin_target [==[${target}]==])
set(stavlin_workdir [==[${CMAKE_CURRENT_BINARY_DIR}]==])
set(stavlin_entries [==[${CMAKE_CURRENT_BINARY_DIR}/${target}_entries_list.cmake]==])
include([==[${CMAKE_SOURCE_DIR}/cmake/TestEntriesList.cmake]==])
")
  set_property(DIRECTORY APPEND PROPERTY TEST_INCLUDE_FILES "${script}")
endfunction()
