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
add_custom_target(orvanta_assets ALL DEPENDS ${ORVANTA_ASSET_OUTPUTS})
add_dependencies(orvanta orvanta_assets)
