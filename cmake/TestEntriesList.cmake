# Run by ctest (see TestEntries.cmake): lists the tests of ${stavlin_program}
# and declares one entry for each test, a test over a table of values being
# one entry for all its values.

# An entry is skipped when every test it ran was skipped: gtest's summary then
# passes none and lists only skipped tests, with no failure after them.
set(stavlin_skipped
  "\\[  PASSED  \\] 0 tests\\.\n\\[  SKIPPED \\] [0-9]+ tests?, listed below:\n(\\[  SKIPPED \\] [^\n]*\n)*$")

if(NOT EXISTS "${stavlin_entries}" OR NOT "${stavlin_entries}" IS_NEWER_THAN "${stavlin_program}")
  set(ENV{QT_QPA_PLATFORM} offscreen)
  execute_process(COMMAND "${stavlin_program}" --gtest_list_tests
    WORKING_DIRECTORY "${stavlin_workdir}"
    OUTPUT_VARIABLE listing ERROR_VARIABLE listing_errors RESULT_VARIABLE listed TIMEOUT 120)
  set(text "")
  if(NOT listed EQUAL 0)
    # A program that cannot list its tests fails as an entry of its own,
    # rather than silently running nothing.
    string(APPEND text "add_test([==[${stavlin_target} lists its tests]==] [==[${stavlin_program}]==] --gtest_list_tests)\n")
  else()
    string(REPLACE ";" "," listing "${listing}")
    string(REPLACE "\n" ";" lines "${listing}")
    set(suite "")
    set(seen "")
    foreach(line IN LISTS lines)
      if(line MATCHES "^([A-Za-z0-9_/]+)\\.")
        set(suite "${CMAKE_MATCH_1}")
      elseif(line MATCHES "^  ([A-Za-z0-9_]+)(/[^ ]*)?" AND NOT suite STREQUAL "")
        set(test "${CMAKE_MATCH_1}")
        set(values "${CMAKE_MATCH_2}")
        if(test MATCHES "^DISABLED_" OR suite MATCHES "(^|/)DISABLED_")
          continue()
        endif()
        set(name "${suite}.${test}")
        list(FIND seen "${name}" at)
        if(NOT at EQUAL -1)
          continue()
        endif()
        list(APPEND seen "${name}")
        set(filter "${name}")
        if(NOT values STREQUAL "")
          set(filter "${name}/*")
        endif()
        string(APPEND text
          "add_test([==[${name}]==] [==[${stavlin_program}]==] [==[--gtest_filter=${filter}]==])\n"
          "set_tests_properties([==[${name}]==] PROPERTIES WORKING_DIRECTORY [==[${stavlin_workdir}]==]"
          " ENVIRONMENT QT_QPA_PLATFORM=offscreen SKIP_REGULAR_EXPRESSION \"\${stavlin_skipped}\")\n")
      endif()
    endforeach()
  endif()
  file(WRITE "${stavlin_entries}" "${text}")
endif()
include("${stavlin_entries}")
