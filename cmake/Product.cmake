# How the shipped programs are built: small, static, no C++ exceptions.
add_compile_definitions(WINVER=0x0500 _WIN32_WINNT=0x0500 _WIN32_IE=0x0500 STRICT NOMINMAX)

# Byte-identical builds: no link time in the PE headers (nor in the helper
# that rides inside setup), no build folder in what the compiler writes.
add_link_options(-Wl,--no-insert-timestamp)
add_compile_options($<$<COMPILE_LANGUAGE:C,CXX>:-ffile-prefix-map=${PROJECT_SOURCE_DIR}=.>
                    $<$<COMPILE_LANGUAGE:C,CXX>:-ffile-prefix-map=${CMAKE_BINARY_DIR}=.>)

set(PRODUCT_OPTIONS
    -Os -Wall -Wextra
    -fno-exceptions -fno-rtti -fcheck-new
    -ffunction-sections -fno-data-sections)
# (With data sections MinGW's GCC gives each zeroed variable a .data$ section
# of its own, room in the file, where it would otherwise go to .bss.)
# Without exceptions nothing unwinds through the programs: on i686 their
# unwind tables were only dead weight (an eighth of setup). x86_64 keeps them,
# as its structured exceptions walk the stack by them.
if(CMAKE_SIZEOF_VOID_P EQUAL 4)
    list(APPEND PRODUCT_OPTIONS -fno-asynchronous-unwind-tables -fno-unwind-tables)
endif()

# Code that also goes into the removal helper, which has no C runtime and
# rides inside setup: no library calls made up by the compiler, no unwind
# tables, zeroed variables taking no room in the file, arguments pushed. Its
# stack frames stay well under a page, so they need no stack probes.
set(HELPER_OPTIONS -ffreestanding -fno-asynchronous-unwind-tables -fno-unwind-tables -fno-data-sections -fno-ident
    -fomit-frame-pointer -mno-stack-arg-probe -mno-accumulate-outgoing-args)

# A static library of product code.
function(product_library name)
    add_library(${name} STATIC ${ARGN})
    target_compile_options(${name} PRIVATE ${PRODUCT_OPTIONS})
    target_include_directories(${name} PUBLIC ${CMAKE_CURRENT_SOURCE_DIR})
endfunction()

# A shipped program: a GUI executable (a console one with CONSOLE) with
# nothing but system DLLs in its import table.
function(product_program name)
    cmake_parse_arguments(P "CONSOLE" "" "" ${ARGN})
    if(P_CONSOLE)
        add_executable(${name} ${P_UNPARSED_ARGUMENTS} ${PROJECT_SOURCE_DIR}/framework/newdel.cpp)
    else()
        add_executable(${name} WIN32 ${P_UNPARSED_ARGUMENTS} ${PROJECT_SOURCE_DIR}/framework/newdel.cpp)
    endif()
    target_compile_options(${name} PRIVATE ${PRODUCT_OPTIONS})
    # A program loads at its own base address: no relocations, as in the helper.
    target_link_options(${name} PRIVATE -static -s -Wl,--gc-sections -Wl,--disable-dynamicbase,--disable-reloc-section
        -Wl,-Map,$<TARGET_FILE:${name}>.map)
    target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR}/resources)
    set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR})
endfunction()
