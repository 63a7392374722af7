# files_add_test(NAME <target> LABEL unit|integration|e2e SOURCES ... LIBS ...)
# Builds one GoogleTest executable and registers its tests with ctest under the label.
include(GoogleTest)
function(files_add_test)
  cmake_parse_arguments(T "" "NAME;LABEL" "SOURCES;LIBS" ${ARGN})
  add_executable(${T_NAME} ${T_SOURCES})
  target_link_libraries(${T_NAME} PRIVATE ${T_LIBS} GTest::gtest GTest::gmock files_test_main)
  gtest_discover_tests(${T_NAME}
    PROPERTIES LABELS ${T_LABEL}
    DISCOVERY_TIMEOUT 60)
endfunction()
