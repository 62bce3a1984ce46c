# SPDX-FileCopyrightText: 2026 The Orvanta developers
# SPDX-License-Identifier: MIT

# Installing: the program in bin/, its read-only assets in share/orvanta/, and
# what a desktop needs to offer it: a menu entry, icons, the skin package file
# type, the D-Bus interfaces and a manual page. The program finds share/orvanta
# from its own folder (../share/orvanta), so any prefix works; what the user
# changes goes to the XDG folders. `cpack -G DEB` packs the same tree.
include(GNUInstallDirs)

# Fixed names, not the project's: the package and its folders are "orvanta".
set(ORVANTA_SHARE_DIR ${CMAKE_INSTALL_DATADIR}/orvanta)
set(ORVANTA_DOC_DIR ${CMAKE_INSTALL_DATADIR}/doc/orvanta)
set(ORVANTA_LINUX_DIR ${CMAKE_SOURCE_DIR}/assets/linux)
# Folders made by the installation are 0755 whatever the umask of the build.
set(CMAKE_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)

install(TARGETS orvanta RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})

# The hardening Debian builds its own packages with: checked libc calls where
# the optimiser can see buffer sizes, and a read-only relocation table bound at
# start. Unoptimised builds are left alone (glibc warns about fortify at -O0).
foreach(target orvanta ${ORVANTA_LAYER_TARGETS})
    target_compile_definitions(${target} PRIVATE
        $<$<CONFIG:Release,RelWithDebInfo,MinSizeRel>:_FORTIFY_SOURCE=2>)
endforeach()
target_link_options(orvanta PRIVATE LINKER:-z,relro LINKER:-z,now)

# What build/bin gets, minus the application icon, which goes to the icon theme.
install(DIRECTORY ${CMAKE_SOURCE_DIR}/assets/program/ DESTINATION ${ORVANTA_SHARE_DIR}
        PATTERN orvanta.png EXCLUDE
        PATTERN orvanta.svg EXCLUDE)

# The sample packages are for the user to open: they live with the documentation.
set(ORVANTA_SAMPLE_PACKAGES ${ORVANTA_ASSET_OUTPUTS})
list(FILTER ORVANTA_SAMPLE_PACKAGES INCLUDE REGEX "\\.compassskin$")
install(FILES ${ORVANTA_SAMPLE_PACKAGES} DESTINATION ${ORVANTA_DOC_DIR}/examples)

install(FILES ${ORVANTA_LINUX_DIR}/orvanta.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${ORVANTA_LINUX_DIR}/orvanta-mime.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/mime/packages RENAME orvanta.xml)
# The sizes are drawn by tools/art (`orvanta_art icons`) and committed.
install(DIRECTORY ${ORVANTA_LINUX_DIR}/icons/ DESTINATION ${CMAKE_INSTALL_DATADIR}/icons)
install(FILES ${CMAKE_SOURCE_DIR}/assets/program/orvanta.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)

# What software centres list: the component, its description and screenshots,
# which are published under the web host (tools/screenshots.sh draws them).
set(ORVANTA_APP_ID invalid.orvanta.orvanta)
configure_file(${ORVANTA_LINUX_DIR}/${ORVANTA_APP_ID}.metainfo.xml.in
               ${CMAKE_BINARY_DIR}/linux/${ORVANTA_APP_ID}.metainfo.xml @ONLY)
install(FILES ${CMAKE_BINARY_DIR}/linux/${ORVANTA_APP_ID}.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)

file(GLOB ORVANTA_DBUS_INTERFACES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/dbus/*.xml)
if(ORVANTA_DBUS_INTERFACES)
    install(FILES ${ORVANTA_DBUS_INTERFACES} DESTINATION ${CMAKE_INSTALL_DATADIR}/dbus-1/interfaces)
endif()

# One contact for the package, its changelog and its copyright file, under the
# product's own web host.
set(ORVANTA_CONTACT "The Orvanta developers <developers@${ORVANTA_WEB_HOST}>")

# Debian wants manual pages and changelogs compressed with gzip -9n: no name
# and no time stamp in the header, so the bytes are the same from build to build.
configure_file(${ORVANTA_LINUX_DIR}/changelog.in ${CMAKE_BINARY_DIR}/linux/changelog @ONLY)
configure_file(${ORVANTA_LINUX_DIR}/copyright.in ${CMAKE_BINARY_DIR}/linux/copyright @ONLY)
set(ORVANTA_GZIPPED)
foreach(pair IN ITEMS "${ORVANTA_LINUX_DIR}/orvanta.1|orvanta.1.gz"
                      "${CMAKE_BINARY_DIR}/linux/changelog|changelog.gz")
    string(REPLACE "|" ";" pair "${pair}")
    list(GET pair 0 source)
    list(GET pair 1 output)
    set(output ${CMAKE_BINARY_DIR}/linux/${output})
    add_custom_command(
        OUTPUT ${output}
        COMMAND sh -c "gzip -9n -c \"$0\" > \"$1\"" ${source} ${output}
        DEPENDS ${source}
        VERBATIM)
    list(APPEND ORVANTA_GZIPPED ${output})
endforeach()
add_custom_target(orvanta_install_data ALL DEPENDS ${ORVANTA_GZIPPED})
add_dependencies(orvanta orvanta_install_data)
install(FILES ${CMAKE_BINARY_DIR}/linux/orvanta.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES ${CMAKE_BINARY_DIR}/linux/changelog.gz ${CMAKE_BINARY_DIR}/linux/copyright
        DESTINATION ${ORVANTA_DOC_DIR})

# The Debian package: `cpack -G DEB` in a release build.
set(CPACK_PACKAGE_NAME orvanta)
set(CPACK_PACKAGE_VENDOR "Velmora")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "${ORVANTA_CONTACT}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "skinned beam compass that floats over the desktop")
# CPack puts the summary first and indents the rest as the extended description.
set(CPACK_PACKAGE_DESCRIPTION
    "Orvanta is an always-on-top, per-pixel translucent beam compass for the X11
desktop. It measures circles and regular polygons - radius, circumference and
area - in pixels or in units you calibrate. Drag it, turn it, open it, type a
value to jump to, copy the readout, and dress it in skins.")
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION graphics)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# dpkg-shlibdeps reads the binary's libraries (Qt, libpng, zlib, xcb) into Depends.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The program speaks Chinese on a Chinese desktop, where Qt's own catalogue
# translates the standard buttons; without a CJK font the texts show as boxes.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-translations-l10n, fonts-noto-cjk | fonts-wqy-zenhei")
set(CPACK_DEBIAN_COMPRESSION_TYPE xz)
include(CPack)
