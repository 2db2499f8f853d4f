# nodra_test_area(NAME <area> SOURCES <file>... [LIBS <target>...] [DISCOVERY_OPTIONS <option>...])
# The test program <area>_tests from the sources, linked with the libraries, the test support and GoogleTest's
# main. Its cases are listed when ctest runs and are named "<area>_<Suite>.<Case>"; DISCOVERY_OPTIONS go on to
# gtest_discover_tests (PROPERTIES, DISCOVERY_TIMEOUT).
include(GoogleTest)

function(nodra_test_area)
  cmake_parse_arguments(PARSE_ARGV 0 AREA "" "NAME" "SOURCES;LIBS;DISCOVERY_OPTIONS")
  if(NOT AREA_NAME OR NOT AREA_SOURCES)
    message(FATAL_ERROR "nodra_test_area needs NAME and SOURCES")
  endif()
  set(target ${AREA_NAME}_tests)
  add_executable(${target} ${AREA_SOURCES})
  target_link_libraries(${target} PRIVATE ${AREA_LIBS} nodra_test_support GTest::gtest_main)
  gtest_discover_tests(${target} TEST_PREFIX "${AREA_NAME}_" DISCOVERY_MODE PRE_TEST ${AREA_DISCOVERY_OPTIONS})
endfunction()
