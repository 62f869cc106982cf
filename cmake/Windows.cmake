# Windows build settings: Unicode, static runtime, the tests run under Wine.
add_compile_definitions(UNICODE _UNICODE WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0601)
add_link_options(-static)
# A release build carries nothing it does not run: each function and datum in a section of its
# own, the sections nothing uses dropped at link time, and no symbols.
add_compile_options($<$<CONFIG:Release>:-ffunction-sections> $<$<CONFIG:Release>:-fdata-sections>)
add_link_options($<$<CONFIG:Release>:-Wl,--gc-sections> $<$<CONFIG:Release>:-s>)
if(CMAKE_SYSTEM_PROCESSOR STREQUAL "i686")
    # 4 GiB of address space for the 32-bit process on 64-bit Windows and Wine.
    add_link_options(-Wl,--large-address-aware)
endif()

# The private Wine prefix of this build tree and the wrapper that runs programs in it.
if(CMAKE_SYSTEM_PROCESSOR STREQUAL "x86_64")
    find_program(LOBBEX_WINE_LOADER NAMES wine64 PATHS /usr/lib/wine NO_DEFAULT_PATH)
    find_program(LOBBEX_WINE_LOADER NAMES wine64 wine)
else()
    find_program(LOBBEX_WINE_LOADER NAMES wine)
endif()
find_program(LOBBEX_WINESERVER NAMES wineserver PATHS /usr/lib/wine)
if(NOT LOBBEX_WINE_LOADER)
    set(LOBBEX_WINE_LOADER wine)
endif()
if(NOT LOBBEX_WINESERVER)
    set(LOBBEX_WINESERVER wineserver)
endif()
set(LOBBEX_WINEPREFIX ${CMAKE_BINARY_DIR}/wineprefix)
set(LOBBEX_PREFIX_SETUP ${CMAKE_SOURCE_DIR}/scripts/prepare-wine-prefix.sh)
configure_file(${CMAKE_SOURCE_DIR}/cmake/wine-run.in ${CMAKE_BINARY_DIR}/wine-run
    FILE_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE
    @ONLY)
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_BINARY_DIR}/wine-run)
