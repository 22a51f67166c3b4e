# The test bench: a private Wine prefix per build tree, and helpers to
# register tests that run under it.
#
# Two trees share these sources: build/ holds the shipped i686 programs, and
# build/x86_64/ their x86_64 twin (BENCH_TWIN), which exists only so that the
# Wine bench also runs on machines that cannot start 32-bit programs.
option(BENCH_TWIN "This tree is the bench's x86_64 twin" OFF)
option(BENCH_I686_WINE "This machine runs 32-bit Wine: the i686 tree's Wine tests run too" ON)

if(BENCH_TWIN)
    set(BENCH_WINE ON)
    set(BENCH_TEST_PREFIX "x64.")
    set(WINE_ARCH win64)
    set(WINE_LOADER /usr/lib/wine/wine64)
else()
    set(BENCH_WINE ${BENCH_I686_WINE})
    set(BENCH_TEST_PREFIX "")
    set(WINE_ARCH win32)
    set(WINE_LOADER /usr/lib/wine/wine)
endif()

set(WINE_PREFIX ${CMAKE_BINARY_DIR}/wineprefix CACHE PATH "Private Wine prefix of this build tree")
configure_file(${PROJECT_SOURCE_DIR}/scripts/wine-run.in ${CMAKE_BINARY_DIR}/wine-run @ONLY
               FILE_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_BINARY_DIR}/wine-run)

# Windows paths of this tree as Wine's drive Z: shows them.
function(wine_path out unix_path)
    string(REPLACE "/" "\\\\" p "Z:${unix_path}")
    set(${out} "${p}" PARENT_SCOPE)
endfunction()

# A test that runs under this tree's prefix (registered only where this
# tree's Wine runs). Wine tests share one prefix and one desktop, so they run
# one at a time.
function(add_wine_command name)
    if(NOT BENCH_WINE)
        return()
    endif()
    cmake_parse_arguments(W "" "TIMEOUT" "ENVIRONMENT" ${ARGN})
    if(NOT W_TIMEOUT)
        set(W_TIMEOUT 300)
    endif()
    add_test(NAME ${BENCH_TEST_PREFIX}${name} COMMAND ${W_UNPARSED_ARGUMENTS})
    set_tests_properties(${BENCH_TEST_PREFIX}${name} PROPERTIES
        FIXTURES_REQUIRED ${BENCH_TEST_PREFIX}wine
        RESOURCE_LOCK ${BENCH_TEST_PREFIX}wineprefix
        TIMEOUT ${W_TIMEOUT})
    if(W_ENVIRONMENT)
        set_tests_properties(${BENCH_TEST_PREFIX}${name} PROPERTIES ENVIRONMENT "${W_ENVIRONMENT}")
    endif()
endfunction()

# A GoogleTest program that runs under Wine: one ctest entry for all its cases.
function(add_wine_test name target)
    add_wine_command(${name} ${target} --gtest_brief=1 ${ARGN})
endfunction()

# The prefix and its one wineserver, made before and ended after the tests.
function(add_wine_prefix_fixture)
    if(NOT BENCH_WINE)
        return()
    endif()
    set(p ${BENCH_TEST_PREFIX})
    add_test(NAME ${p}wine.start COMMAND ${PROJECT_SOURCE_DIR}/scripts/wine-prefix ${CMAKE_BINARY_DIR} start)
    set_tests_properties(${p}wine.start PROPERTIES FIXTURES_SETUP ${p}wine TIMEOUT 300)
    add_test(NAME ${p}wine.stop COMMAND ${PROJECT_SOURCE_DIR}/scripts/wine-prefix ${CMAKE_BINARY_DIR} stop)
    set_tests_properties(${p}wine.stop PROPERTIES FIXTURES_CLEANUP ${p}wine)
endfunction()

# The twin: the same sources for x86_64 in build/x86_64, built with this tree
# and its tests run by this tree's ctest.
if(NOT BENCH_TWIN)
    include(ExternalProject)
    set(TWIN_DIR ${CMAKE_BINARY_DIR}/x86_64)
    ExternalProject_Add(twin
        SOURCE_DIR ${PROJECT_SOURCE_DIR}
        BINARY_DIR ${TWIN_DIR}
        CMAKE_ARGS -DCMAKE_TOOLCHAIN_FILE=${PROJECT_SOURCE_DIR}/cmake/mingw-x86_64.cmake -DBENCH_TWIN=ON -DBENCH_I686_WINE=${BENCH_I686_WINE}
        INSTALL_COMMAND ""
        BUILD_ALWAYS ON)
    file(CONFIGURE OUTPUT ${CMAKE_BINARY_DIR}/twin-tests.cmake CONTENT "subdirs(\"${TWIN_DIR}\")\n")
    set_property(DIRECTORY ${PROJECT_SOURCE_DIR} APPEND PROPERTY TEST_INCLUDE_FILES ${CMAKE_BINARY_DIR}/twin-tests.cmake)
endif()
