# System DLLs that the launcher needs only once its window is on screen (the network, the
# machine's adapters, signatures, BSTRs for the browser, the shell) are loaded at their first
# call instead of before the program starts: each DLL loaded at start delays the first frame.
#   lobbex_delay_loaded(NAME DLL) defines lobbex_delayed_<NAME>, linked in place of NAME.
# Its delay-import library is made at configure time from the toolchain's import library, so it
# offers the same functions. dlltool puts a delay library's tables in import-directory sections,
# which the linker rewrites as imports (leaving the addresses empty); they are renamed to
# sections of their own, which cmake/delay-load.ld keeps together and in order.
find_program(LOBBEX_DLLTOOL NAMES ${LOBBEX_MINGW_TRIPLE}-dlltool REQUIRED)
find_program(LOBBEX_NM NAMES ${LOBBEX_MINGW_TRIPLE}-nm REQUIRED)
find_program(LOBBEX_OBJCOPY NAMES ${LOBBEX_MINGW_TRIPLE}-objcopy REQUIRED)
add_link_options(-Wl,-T,${CMAKE_CURRENT_LIST_DIR}/delay-load.ld)

function(lobbex_delay_loaded name dll)
    execute_process(COMMAND ${CMAKE_CXX_COMPILER} -print-file-name=lib${name}.a
        OUTPUT_VARIABLE import_library OUTPUT_STRIP_TRAILING_WHITESPACE COMMAND_ERROR_IS_FATAL ANY)
    execute_process(COMMAND ${LOBBEX_NM} ${import_library} OUTPUT_VARIABLE symbols COMMAND_ERROR_IS_FATAL ANY)
    # "__imp_" names each imported function; 32-bit names carry one more leading underscore
    # and their stack size ("@12"), which --kill-at leaves out of the name looked up.
    string(REGEX MATCHALL "__imp_[A-Za-z0-9_@?$]+" imports "${symbols}")
    list(REMOVE_DUPLICATES imports)
    set(exports "")
    foreach(import IN LISTS imports)
        string(REGEX REPLACE "^__imp_" "" function "${import}")
        if(CMAKE_SYSTEM_PROCESSOR STREQUAL "i686")
            string(REGEX REPLACE "^_" "" function "${function}")
        endif()
        string(APPEND exports "    ${function}\n")
    endforeach()
    set(folder ${CMAKE_BINARY_DIR}/delay-load)
    file(MAKE_DIRECTORY ${folder})
    file(WRITE ${folder}/${name}.def "LIBRARY ${dll}\nEXPORTS\n${exports}")
    execute_process(COMMAND ${LOBBEX_DLLTOOL} --kill-at --input-def ${folder}/${name}.def --dllname ${dll}
            --output-delaylib ${folder}/lib${name}-tables.a
        COMMAND_ERROR_IS_FATAL ANY)
    set(library ${folder}/lib${name}-delayed.a)
    execute_process(COMMAND ${LOBBEX_OBJCOPY}
            --rename-section .idata$4=.didat$4 --rename-section .idata$5=.didat$5
            --rename-section .idata$6=.didat$6 --rename-section .idata$7=.didat$7
            ${folder}/lib${name}-tables.a ${library}
        COMMAND_ERROR_IS_FATAL ANY)
    add_library(lobbex_delayed_${name} STATIC IMPORTED GLOBAL)
    set_target_properties(lobbex_delayed_${name} PROPERTIES IMPORTED_LOCATION ${library})
endfunction()

lobbex_delay_loaded(wininet wininet.dll)
lobbex_delay_loaded(netapi32 netapi32.dll)
lobbex_delay_loaded(bcrypt bcrypt.dll)
lobbex_delay_loaded(oleaut32 oleaut32.dll)
lobbex_delay_loaded(shell32 shell32.dll)
