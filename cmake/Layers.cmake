# SPDX-FileCopyrightText: 2026 The Orvanta developers
# SPDX-License-Identifier: MIT

# The layers of src/, lowest first, and the layers each one may use. The
# libraries link exactly these, and every build checks the #include lines under
# src/ against the same table: the linker alone would let a header-only use
# through, and a layer that a library only gets by way of another.
#
# Included by CMakeLists.txt for the table; run with `cmake -P` it is the check
# (ORVANTA_SOURCE_ROOT: the folder that holds src/, this project by default).

# A script run with -P starts with every policy unset; IN_LIST needs them.
cmake_policy(VERSION 3.25)

set(ORVANTA_LAYERS model vision skins render package platform interaction control dialogs automation app)

set(ORVANTA_LAYER_USES_model "")
set(ORVANTA_LAYER_USES_vision "")
set(ORVANTA_LAYER_USES_skins model)
set(ORVANTA_LAYER_USES_render skins model)
set(ORVANTA_LAYER_USES_package skins model)
set(ORVANTA_LAYER_USES_platform model)
set(ORVANTA_LAYER_USES_interaction render package platform skins vision model)
set(ORVANTA_LAYER_USES_control interaction render package platform skins vision model)
set(ORVANTA_LAYER_USES_dialogs control platform skins model)
set(ORVANTA_LAYER_USES_automation control model)
set(ORVANTA_LAYER_USES_app automation dialogs control interaction platform package render skins vision model)

# Includes that may cross the graph for a while, as "<file>|<header as
# written>", while a change is on its way: the check says when one no longer
# happens, so entries only ever leave this list. None today.
if(NOT DEFINED ORVANTA_LAYER_ALLOWLIST)
    set(ORVANTA_LAYER_ALLOWLIST "")
endif()

# The layer a header written as `header` in `file` (both under `root`) belongs
# to, or "" when it is outside src/ (Qt, the system, a generated file).
function(orvanta_included_layer root file header out)
    if(header MATCHES "^\\.\\.?/")
        get_filename_component(base ${root}/${file} DIRECTORY)
    else()
        set(base ${root}/src)
    endif()
    get_filename_component(path ${header} ABSOLUTE BASE_DIR ${base})
    file(RELATIVE_PATH path ${root}/src ${path})
    set(layer "")
    if(path MATCHES "^([^/.][^/]*)/")
        set(layer ${CMAKE_MATCH_1})
    endif()
    set(${out} ${layer} PARENT_SCOPE)
endfunction()

function(orvanta_check_layers root)
    set(problems "")
    set(allowed_seen "")
    file(GLOB folders LIST_DIRECTORIES true RELATIVE ${root}/src ${root}/src/*)
    list(SORT folders)
    foreach(layer IN LISTS folders)
        if(NOT IS_DIRECTORY ${root}/src/${layer})
            continue()
        endif()
        if(NOT layer IN_LIST ORVANTA_LAYERS)
            list(APPEND problems "src/${layer} is no layer: add it to the graph in cmake/Layers.cmake")
            continue()
        endif()
        file(GLOB_RECURSE files RELATIVE ${root} ${root}/src/${layer}/*.h ${root}/src/${layer}/*.cpp)
        list(SORT files)
        foreach(file IN LISTS files)
            file(STRINGS ${root}/${file} lines REGEX "^[ \t]*#[ \t]*include[ \t]*[<\"][^>\"]+[>\"]")
            foreach(line IN LISTS lines)
                string(REGEX REPLACE "^[ \t]*#[ \t]*include[ \t]*[<\"]([^>\"]+)[>\"].*" "\\1" header
                       "${line}")
                orvanta_included_layer(${root} ${file} ${header} used)
                if(used STREQUAL "" OR used STREQUAL layer OR used IN_LIST ORVANTA_LAYER_USES_${layer})
                    continue()
                endif()
                if(NOT used IN_LIST ORVANTA_LAYERS)
                    # Reported once as a folder that is no layer.
                    continue()
                endif()
                if("${file}|${header}" IN_LIST ORVANTA_LAYER_ALLOWLIST)
                    list(APPEND allowed_seen "${file}|${header}")
                    continue()
                endif()
                list(APPEND problems "${file} includes ${header}: ${layer} may not use ${used}")
            endforeach()
        endforeach()
    endforeach()

    foreach(entry IN LISTS ORVANTA_LAYER_ALLOWLIST)
        if(NOT entry IN_LIST allowed_seen)
            message(NOTICE "allowed include ${entry} no longer happens: remove it from "
                           "ORVANTA_LAYER_ALLOWLIST in cmake/Layers.cmake")
        endif()
    endforeach()
    if(problems)
        foreach(problem IN LISTS problems)
            message(NOTICE "${problem}")
        endforeach()
        list(LENGTH problems count)
        message(FATAL_ERROR "src/ breaks the layers' graph in ${count} place(s)")
    endif()
endfunction()

if(CMAKE_SCRIPT_MODE_FILE STREQUAL CMAKE_CURRENT_LIST_FILE)
    if(NOT DEFINED ORVANTA_SOURCE_ROOT)
        get_filename_component(ORVANTA_SOURCE_ROOT ${CMAKE_CURRENT_LIST_DIR} DIRECTORY)
    endif()
    orvanta_check_layers(${ORVANTA_SOURCE_ROOT})
endif()
