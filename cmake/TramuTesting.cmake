include(GoogleTest)
find_package(GTest REQUIRED)

# tramu_add_test(<target> SOURCES ... LIBRARIES ... [GUI])
#
# One GoogleTest executable per subsystem. Each test case becomes its own
# CTest test; labels come from the directory's LABELS property (set it in the
# folder's CMakeLists.txt), because gtest_discover_tests cannot pass a list of
# labels through its PROPERTIES argument. Executables that need a display are
# discovered when the tests run, not at build time.
function(tramu_add_test target)
    cmake_parse_arguments(ARG "GUI" "" "SOURCES;LIBRARIES" ${ARGN})
    add_executable(${target} ${ARG_SOURCES})
    target_link_libraries(${target} PRIVATE ${ARG_LIBRARIES} tramu_test_main GTest::gtest GTest::gmock)
    target_compile_definitions(${target} PRIVATE TRAMU_TEST_DATA="${CMAKE_CURRENT_SOURCE_DIR}/data")
    if(ARG_GUI)
        gtest_discover_tests(${target} DISCOVERY_MODE PRE_TEST DISCOVERY_TIMEOUT 60)
    else()
        gtest_discover_tests(${target} DISCOVERY_TIMEOUT 30)
    endif()
endfunction()
