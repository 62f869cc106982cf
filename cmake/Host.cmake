# Native build of everything that needs no Windows service: the portable cores of the
# subsystems, their tests and the publisher. A subsystem's portable part is a library named
# lobbex_<subsystem>_core, built in every preset and free of windows.h.
option(LOBBEX_SANITIZE "Build with AddressSanitizer and UndefinedBehaviorSanitizer" OFF)
option(LOBBEX_FUZZ "Build the libFuzzer targets (clang only)" OFF)

set(lobbex_sanitizers address,undefined)
if(LOBBEX_FUZZ)
    if(NOT CMAKE_CXX_COMPILER_ID STREQUAL "Clang")
        message(FATAL_ERROR "LOBBEX_FUZZ needs clang (the fuzz preset selects it)")
    endif()
    # Every library is instrumented for coverage; only the fuzz targets link the fuzzer's main.
    add_compile_options(-fsanitize=fuzzer-no-link,${lobbex_sanitizers})
    set(LOBBEX_SANITIZE ON)
endif()
if(LOBBEX_SANITIZE)
    # Any finding ends the program with an error, so a test or fuzz run cannot pass over it.
    add_compile_options(-fsanitize=${lobbex_sanitizers} -fno-sanitize-recover=all -fno-omit-frame-pointer)
    add_link_options(-fsanitize=${lobbex_sanitizers})
endif()
