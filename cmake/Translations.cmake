# SPDX-FileCopyrightText: 2026 The Orvanta developers
# SPDX-License-Identifier: MIT

# The program's catalogues: translations/orvanta_<locale>.ts, compiled by
# lrelease into the program's resources under ":/i18n". `cmake --build
# --target update_translations` refreshes the .ts files from the sources; the
# tests fail while a text of the sources is missing from a catalogue.
find_package(Qt6 REQUIRED COMPONENTS LinguistTools)

file(GLOB ORVANTA_TS_FILES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/translations/*.ts)
# Every text the user reads is in src/: the core and the shell alike.
file(GLOB_RECURSE ORVANTA_TRANSLATABLE_SOURCES CONFIGURE_DEPENDS
    ${CMAKE_SOURCE_DIR}/src/*.cpp ${CMAKE_SOURCE_DIR}/src/*.h)
# Without line numbers a change of code that moves a text does not change the
# catalogues.
set(ORVANTA_LUPDATE_OPTIONS -locations none -no-ui-lines)
qt_add_translations(orvanta_app
    TS_FILES ${ORVANTA_TS_FILES}
    SOURCES ${ORVANTA_TRANSLATABLE_SOURCES}
    INCLUDE_DIRECTORIES ${CMAKE_SOURCE_DIR}/src
    LUPDATE_OPTIONS ${ORVANTA_LUPDATE_OPTIONS}
    RESOURCE_PREFIX /i18n)
