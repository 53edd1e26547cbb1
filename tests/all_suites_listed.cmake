# Fails when a test of a GoogleTest executable is run by none of its ctest entries: every
# test's full name ("Prefix/Suite.Test/Param") must match one of the entries' filters
# ("*WORD*" for each WORD given to morvanta_add_suites). Under Wine, EMULATOR runs the
# Windows build.
#   cmake -DEXE=... -DEMULATOR=... -DWORDS=Word1,Word2 -P this
cmake_minimum_required(VERSION 3.20)
foreach(var EXE WORDS)
  if(NOT DEFINED ${var})
    message(FATAL_ERROR "${var} is not set")
  endif()
endforeach()

execute_process(COMMAND ${EMULATOR} "${EXE}" --gtest_list_tests
                RESULT_VARIABLE status OUTPUT_VARIABLE listing ERROR_VARIABLE errors)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "${EXE} --gtest_list_tests: exit status ${status}\n${listing}${errors}")
endif()

# One anchored regular expression per filter, with gtest's wildcards: '*' any text, '?' one
# character.
string(REPLACE "," ";" words "${WORDS}")
set(patterns "")
foreach(word IN LISTS words)
  string(REGEX REPLACE "([][.+^$(){}|\\\\])" "\\\\\\1" escaped "*${word}*")
  string(REPLACE "*" ".*" escaped "${escaped}")
  string(REPLACE "?" "." escaped "${escaped}")
  list(APPEND patterns "^${escaped}$")
endforeach()

# The listing: a suite line "Suite." (maybe followed by "  # TypeParam = ..."), then its
# tests indented by two blanks (maybe followed by "  # GetParam() = ..."). Lines before the
# first suite (gtest_main's greeting) are not part of it.
string(REPLACE "\r" "" listing "${listing}")
string(REPLACE ";" "\\;" listing "${listing}")
string(REPLACE "\n" ";" lines "${listing}")
set(suite "")
set(tests 0)
set(missed_suites "")
foreach(line IN LISTS lines)
  string(REGEX REPLACE "  # .*$" "" line "${line}")
  if(line MATCHES "^([^ ].*)\\.$")
    set(suite "${CMAKE_MATCH_1}")
  elseif(suite AND line MATCHES "^  ([^ ]+)$")
    set(test "${CMAKE_MATCH_1}")
    math(EXPR tests "${tests} + 1")
    if(suite MATCHES "(^|/)DISABLED_" OR test MATCHES "(^|/)DISABLED_")
      continue()  # never run, whatever the filter
    endif()
    set(run FALSE)
    foreach(pattern IN LISTS patterns)
      if("${suite}.${test}" MATCHES "${pattern}")
        set(run TRUE)
        break()
      endif()
    endforeach()
    if(NOT run)
      list(APPEND missed_${suite} "${test}")
      if(NOT suite IN_LIST missed_suites)
        list(APPEND missed_suites "${suite}")
      endif()
    endif()
  endif()
endforeach()

if(tests EQUAL 0)
  message(FATAL_ERROR "${EXE} lists no tests:\n${listing}${errors}")
endif()
if(missed_suites)
  set(report "")
  foreach(suite IN LISTS missed_suites)
    list(JOIN missed_${suite} ", " names)
    string(APPEND report "  suite ${suite}: ${names}\n")
  endforeach()
  message(FATAL_ERROR "Tests that no ctest entry runs (add the suite to morvanta_add_suites "
                      "in tests/):\n${report}")
endif()
list(LENGTH words count)
message(STATUS "all ${tests} tests are run by the ${count} suite entries")
