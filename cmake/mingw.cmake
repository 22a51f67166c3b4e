# Cross build for Windows with Debian's MinGW-w64 (posix thread model, which
# GoogleTest needs), for the processor that the including toolchain file sets.
set(CMAKE_SYSTEM_NAME Windows)

set(_prefix ${CMAKE_SYSTEM_PROCESSOR}-w64-mingw32)
set(CMAKE_C_COMPILER   ${_prefix}-gcc-posix)
set(CMAKE_CXX_COMPILER ${_prefix}-g++-posix)
set(CMAKE_RC_COMPILER  ${_prefix}-windres)
set(CMAKE_OBJDUMP      ${_prefix}-objdump CACHE FILEPATH "")
set(CMAKE_DLLTOOL      ${_prefix}-dlltool CACHE FILEPATH "")

set(CMAKE_FIND_ROOT_PATH /usr/${_prefix})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
