# The test bench: a private 32-bit Wine prefix per build tree, and helpers to
# register tests that run under it.
set(WINE_PREFIX ${CMAKE_BINARY_DIR}/wineprefix CACHE PATH "Private Wine prefix of this build tree")
configure_file(${PROJECT_SOURCE_DIR}/scripts/wine-run.in ${CMAKE_BINARY_DIR}/wine-run @ONLY
               FILE_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_BINARY_DIR}/wine-run)

# Windows paths of this tree as Wine's drive Z: shows them.
function(wine_path out unix_path)
    string(REPLACE "/" "\\\\" p "Z:${unix_path}")
    set(${out} "${p}" PARENT_SCOPE)
endfunction()

# A test program that runs under Wine: one ctest entry for all its cases.
# Wine tests share one prefix and one desktop, so they run one at a time.
function(add_wine_test name target)
    add_test(NAME ${name} COMMAND ${target} --gtest_brief=1 ${ARGN})
    set_tests_properties(${name} PROPERTIES
        FIXTURES_REQUIRED wine
        RESOURCE_LOCK wineprefix
        TIMEOUT 300)
endfunction()
