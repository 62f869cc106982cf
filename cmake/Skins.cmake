# Copies the skins (res/ and the main window's LobbexUpdate/) beside the programs of a folder:
# skins are found relative to the executable's folder. The copy runs on every build, so that
# a changed skin reaches the programs without relinking them. One copy per output folder:
# two copies into the same folder at once would race.
function(lobbex_copy_skins target)
    string(MAKE_C_IDENTIFIER "${CMAKE_CURRENT_BINARY_DIR}" folder_id)
    string(MD5 folder_hash "${folder_id}")
    set(copy_target lobbex_skins_${folder_hash})
    if(NOT TARGET ${copy_target})
        add_custom_target(${copy_target} ALL
            COMMAND ${CMAKE_COMMAND} -E copy_directory ${PROJECT_SOURCE_DIR}/res ${CMAKE_CURRENT_BINARY_DIR}/res
            COMMAND ${CMAKE_COMMAND} -E copy_directory ${PROJECT_SOURCE_DIR}/LobbexUpdate
                ${CMAKE_CURRENT_BINARY_DIR}/LobbexUpdate
            VERBATIM)
    endif()
    add_dependencies(${target} ${copy_target})
endfunction()
