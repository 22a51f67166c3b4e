# The pure text rules (no Windows headers) as one library, for the native
# builds: the GoogleTest tests here and the fuzz targets (tests/fuzz).
add_library(rules STATIC
    ${ZYNE_ROOT}/base/text.cpp
    ${ZYNE_ROOT}/base/bounded.cpp
    ${ZYNE_ROOT}/base/pathrules.cpp
    ${ZYNE_ROOT}/base/progpath.cpp
    ${ZYNE_ROOT}/base/setupline.cpp
    ${ZYNE_ROOT}/setup/descrules.cpp
    ${ZYNE_ROOT}/setup/barrules.cpp
    ${ZYNE_ROOT}/setup/launchrules.cpp
    ${ZYNE_ROOT}/helper/helperrules.cpp
    ${ZYNE_ROOT}/launcher/payload.cpp
    ${ZYNE_ROOT}/player/cmdline.cpp
    ${ZYNE_ROOT}/player/caption.cpp
    ${ZYNE_ROOT}/engine/deck.cpp
    ${ZYNE_ROOT}/tools/setcheck/setrules.cpp
    ${ZYNE_ROOT}/tools/setcheck/signrules.cpp)
target_include_directories(rules PUBLIC ${ZYNE_ROOT}/base ${ZYNE_ROOT}/setup ${ZYNE_ROOT}/helper ${ZYNE_ROOT}/launcher
    ${ZYNE_ROOT}/player ${ZYNE_ROOT}/engine ${ZYNE_ROOT}/tools/setcheck)
