# How the shipped programs are built: small, static, no C++ exceptions.
add_compile_definitions(WINVER=0x0500 _WIN32_WINNT=0x0500 _WIN32_IE=0x0500 STRICT NOMINMAX)

# Byte-identical builds: no link time in the PE headers (nor in the helper
# that rides inside setup), no build folder in what the compiler writes.
add_link_options(-Wl,--no-insert-timestamp)
add_compile_options($<$<COMPILE_LANGUAGE:C,CXX>:-ffile-prefix-map=${PROJECT_SOURCE_DIR}=.>
                    $<$<COMPILE_LANGUAGE:C,CXX>:-ffile-prefix-map=${CMAKE_BINARY_DIR}=.>)

set(PRODUCT_OPTIONS
    -Os -Wall -Wextra
    -fno-exceptions -fno-rtti -fcheck-new -fno-threadsafe-statics -fno-ident
    -ffunction-sections -fno-data-sections -fno-inline-small-functions)
# Small functions called from several places stay calls: inlined, each copy
# cost more than the call (about 300 bytes of setup).
# (With data sections MinGW's GCC gives each zeroed variable a .data$ section
# of its own, room in the file, where it would otherwise go to .bss.)
# Without exceptions nothing unwinds through the programs: on i686 their
# unwind tables were only dead weight (an eighth of setup). x86_64 keeps them,
# as its structured exceptions walk the stack by them.
# On i686, too, arguments are pushed and the stack kept at the 4-byte
# alignment Win32 promises: a sixth less code. Pushed arguments need frames
# without stack probes, so no frame may reach a page (the build fails on one).
if(CMAKE_SIZEOF_VOID_P EQUAL 4)
    list(APPEND PRODUCT_OPTIONS -fno-asynchronous-unwind-tables -fno-unwind-tables
        -mno-accumulate-outgoing-args -mpreferred-stack-boundary=2 -mno-stack-arg-probe -Werror=frame-larger-than=4000)
endif()

# Code that also goes into the removal helper, which has no C runtime and
# rides inside setup: no library calls made up by the compiler, no unwind
# tables, zeroed variables taking no room in the file, arguments pushed. Its
# stack frames stay well under a page, so they need no stack probes.
set(HELPER_OPTIONS -ffreestanding -fno-asynchronous-unwind-tables -fno-unwind-tables -fno-data-sections -fno-ident
    -fomit-frame-pointer -mno-stack-arg-probe -mno-accumulate-outgoing-args)

# The shipped programs and the engine link no C runtime library (a DLL that
# the first Windows 95 and NT 3.51 do not have): their own entry point
# (`entry`, taking `argbytes` bytes of arguments), memory from the process
# heap (framework/heap.cpp), the C string and memory routines of
# base/strmem.c, and from the compiler's support nothing but the static
# libgcc (stack probes, 64-bit division).
function(link_without_c_runtime name entry argbytes)
    if(CMAKE_SIZEOF_VOID_P EQUAL 4)
        set(entry _${entry}@${argbytes})   # stdcall names carry their decoration
    endif()
    target_sources(${name} PRIVATE $<TARGET_OBJECTS:strmem> ${PROJECT_SOURCE_DIR}/framework/heap.cpp)
    target_link_options(${name} PRIVATE -nostdlib -Wl,-e,${entry})
    target_link_libraries(${name} PRIVATE gcc)
    product_lto(${name})
endfunction()

# A program with no C runtime at all, the removal helper and the launcher:
# its entry point `entry` (no arguments), nothing from the C or C++ library
# (the link fails when it calls any), the static `LIBRARIES` and then only
# kernel32 and user32. It loads at its own base address: no relocations, one
# section fewer in the budget.
function(runtime_free_program name entry)
    cmake_parse_arguments(P "" "" "LIBRARIES" ${ARGN})
    if(CMAKE_SIZEOF_VOID_P EQUAL 4)
        set(entry _${entry}@0)   # stdcall names carry their decoration
    endif()
    add_executable(${name} WIN32 ${P_UNPARSED_ARGUMENTS})
    target_compile_options(${name} PRIVATE ${PRODUCT_OPTIONS} ${HELPER_OPTIONS})
    compact_layout(${name})
    target_link_options(${name} PRIVATE -nostdlib -s -Wl,--gc-sections,-e,${entry}
        -Wl,--disable-dynamicbase,--disable-reloc-section -Wl,-Map,$<TARGET_FILE:${name}>.map)
    target_link_libraries(${name} PRIVATE ${P_LIBRARIES} kernel32 user32)
endfunction()

# The i686 programs in three sections (cmake/layout-i686.ld): about 1.5 kB
# less padding each. The x86_64 twin keeps the usual layout, with the unwind
# tables its exceptions need.
function(compact_layout name)
    if(CMAKE_SIZEOF_VOID_P EQUAL 4)
        target_link_options(${name} PRIVATE -Wl,-T,${PROJECT_SOURCE_DIR}/cmake/layout-i686.ld)
        set_property(TARGET ${name} APPEND PROPERTY LINK_DEPENDS ${PROJECT_SOURCE_DIR}/cmake/layout-i686.ld)
    endif()
endfunction()

# Product code is optimised across files as the programs are linked (what
# one program never calls goes, what is called once is inlined): a tenth
# less code in setup. Its objects carry their ordinary code as well, which is what
# every other program (the tests) links: mixing optimised and ordinary
# definitions of one inline function in a link fails on Windows.
add_link_options(-fno-use-linker-plugin)
function(product_lto name)
    target_compile_options(${name} PRIVATE -flto -ffat-lto-objects)
    get_target_property(type ${name} TYPE)
    if(NOT type STREQUAL STATIC_LIBRARY)
        target_link_options(${name} PRIVATE ${PRODUCT_OPTIONS} -flto -fuse-linker-plugin)
    endif()
endfunction()

# A static library of product code.
function(product_library name)
    add_library(${name} STATIC ${ARGN})
    target_compile_options(${name} PRIVATE ${PRODUCT_OPTIONS})
    target_include_directories(${name} PUBLIC ${CMAKE_CURRENT_SOURCE_DIR})
    product_lto(${name})
endfunction()

# A shipped program: a GUI executable without a C runtime, entered through
# framework/winmain.cpp, with nothing but system DLLs in its import table.
# CONSOLE: the vendor's console tool, which ships in no install set and
# keeps the C runtime (its output goes through the C library).
function(product_program name)
    cmake_parse_arguments(P "CONSOLE" "" "" ${ARGN})
    if(P_CONSOLE)
        add_executable(${name} ${P_UNPARSED_ARGUMENTS} ${PROJECT_SOURCE_DIR}/framework/newdel.cpp)
        product_lto(${name})
    else()
        add_executable(${name} WIN32 ${P_UNPARSED_ARGUMENTS} ${PROJECT_SOURCE_DIR}/framework/winmain.cpp
            ${PROJECT_SOURCE_DIR}/framework/newdel.cpp)
        link_without_c_runtime(${name} ProgramMain 0)
        compact_layout(${name})
    endif()
    target_compile_options(${name} PRIVATE ${PRODUCT_OPTIONS})
    # A program loads at its own base address: no relocations, as in the helper.
    target_link_options(${name} PRIVATE -static -s -Wl,--gc-sections -Wl,--disable-dynamicbase,--disable-reloc-section
        -Wl,-Map,$<TARGET_FILE:${name}>.map)
    target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR}/resources)
    set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR})
endfunction()
