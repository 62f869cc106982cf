# Native build of everything that needs no Windows service: the portable cores of the
# subsystems, their tests and the publisher. A subsystem's portable part is a library named
# lobbex_<subsystem>_core, built in every preset and free of windows.h.
option(LOBBEX_SANITIZE "Build with AddressSanitizer and UndefinedBehaviorSanitizer" OFF)

set(lobbex_sanitizers address,undefined)
if(LOBBEX_SANITIZE)
    # Any finding ends the program with an error, so a test cannot pass over it.
    add_compile_options(-fsanitize=${lobbex_sanitizers} -fno-sanitize-recover=all -fno-omit-frame-pointer)
    add_link_options(-fsanitize=${lobbex_sanitizers})
endif()
