# SPDX-FileCopyrightText: 2026 The Orvanta developers
# SPDX-License-Identifier: MIT

# Copies the program's assets beside the binary so that bin/ is a complete,
# portable program folder. The files under assets/program are generated from
# the sources under tools/ and checked in, so the build needs no generator.
file(GLOB_RECURSE ORVANTA_ASSET_FILES CONFIGURE_DEPENDS
    RELATIVE ${CMAKE_SOURCE_DIR}/assets/program ${CMAKE_SOURCE_DIR}/assets/program/*)
set(ORVANTA_ASSET_OUTPUTS)
foreach(asset IN LISTS ORVANTA_ASSET_FILES)
    add_custom_command(
        OUTPUT ${ORVANTA_BIN_DIR}/${asset}
        COMMAND ${CMAKE_COMMAND} -E copy_if_different
                ${CMAKE_SOURCE_DIR}/assets/program/${asset} ${ORVANTA_BIN_DIR}/${asset}
        DEPENDS ${CMAKE_SOURCE_DIR}/assets/program/${asset}
        VERBATIM)
    list(APPEND ORVANTA_ASSET_OUTPUTS ${ORVANTA_BIN_DIR}/${asset})
endforeach()

# Each folder under assets/packages becomes <Name>.compassskin in the program
# folder, zipped by CMake's own archiver: the installer is then exercised with
# an archive from a ZIP writer that is not ours. A fixed time stamp keeps the
# archive the same from build to build.
file(GLOB ORVANTA_PACKAGE_DIRS LIST_DIRECTORIES true CONFIGURE_DEPENDS
    ${CMAKE_SOURCE_DIR}/assets/packages/*)
foreach(package_dir IN LISTS ORVANTA_PACKAGE_DIRS)
    if(NOT IS_DIRECTORY ${package_dir})
        continue()
    endif()
    get_filename_component(package_name ${package_dir} NAME)
    file(GLOB package_files RELATIVE ${package_dir} CONFIGURE_DEPENDS ${package_dir}/*)
    list(SORT package_files)
    list(TRANSFORM package_files PREPEND ${package_dir}/ OUTPUT_VARIABLE package_inputs)
    set(package_output ${ORVANTA_BIN_DIR}/${package_name}.compassskin)
    add_custom_command(
        OUTPUT ${package_output}
        COMMAND ${CMAKE_COMMAND} -E tar cf ${package_output} --format=zip
                "--mtime=2026-01-01 00:00:00 UTC" ${package_files}
        WORKING_DIRECTORY ${package_dir}
        DEPENDS ${package_inputs}
        VERBATIM)
    list(APPEND ORVANTA_ASSET_OUTPUTS ${package_output})
endforeach()

add_custom_target(orvanta_assets ALL DEPENDS ${ORVANTA_ASSET_OUTPUTS})
add_dependencies(orvanta orvanta_assets)
