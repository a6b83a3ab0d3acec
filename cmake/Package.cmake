# Installing Quillet as a desktop program, and its Debian package (make package).
include(GNUInstallDirs)

# The id of the packaged desktop entry and metadata: reverse-DNS, so that it never shares its file
# name with the launcher the options write into the user's applications folder.
set(QUILLET_APP_ID org.quillet.quillet)
# This version's release date, for the metadata, the package's changelog and the manual pages.
set(QUILLET_RELEASE_DATE 2026-12-10)
set(QUILLET_CHANGELOG_DATE "Thu, 10 Dec 2026 12:00:00 +0000")
set(QUILLET_RELEASE_EPOCH 1796904000)
# A placeholder in a domain reserved for examples: set the real contact before publishing.
set(QUILLET_MAINTAINER "Quillet developers <quillet@example.org>" CACHE STRING "The package maintainer")

set(packaging ${PROJECT_SOURCE_DIR}/packaging)
set(staged ${PROJECT_BINARY_DIR}/packaging)
configure_file(${packaging}/${QUILLET_APP_ID}.metainfo.xml.in ${staged}/${QUILLET_APP_ID}.metainfo.xml @ONLY)
configure_file(${packaging}/changelog.in ${staged}/changelog @ONLY)
# Compressed as Debian wants them, without names or times, so that every build gives the same bytes.
add_custom_command(OUTPUT ${staged}/changelog.gz ${staged}/quillet.1.gz
                   COMMAND gzip -9n -c ${staged}/changelog > ${staged}/changelog.gz
                   COMMAND gzip -9n -c ${packaging}/quillet.1 > ${staged}/quillet.1.gz
                   DEPENDS ${staged}/changelog ${packaging}/quillet.1)
add_custom_target(quillet_package_files ALL DEPENDS ${staged}/changelog.gz ${staged}/quillet.1.gz)

# Two packages: quillet, the desktop program, and quillet-cli, which needs no Qt and no display (a
# server's nightly import). cli/ installs its part as the component `cli`.
install(TARGETS quillet RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR} COMPONENT quillet)
# The program finds the guide from its own file: ../share/quillet/ from bin/.
install(FILES ${PROJECT_SOURCE_DIR}/help/quillet.html DESTINATION ${CMAKE_INSTALL_DATADIR}/quillet COMPONENT quillet)
install(FILES ${packaging}/${QUILLET_APP_ID}.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications
        COMPONENT quillet)
install(FILES ${staged}/${QUILLET_APP_ID}.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo COMPONENT quillet)
foreach(size 16 32 48 256)
    install(FILES ${PROJECT_SOURCE_DIR}/resources/icon_${size}.png
            DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps RENAME ${QUILLET_APP_ID}.png
            COMPONENT quillet)
endforeach()
install(FILES ${staged}/quillet.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1 COMPONENT quillet)
# Every package carries its own copyright and changelog.
foreach(component quillet cli)
    set(package_name quillet)
    if(component STREQUAL "cli")
        set(package_name quillet-cli)
    endif()
    install(FILES ${staged}/changelog.gz ${packaging}/copyright DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/${package_name}
            COMPONENT ${component})
endforeach()

set(CPACK_GENERATOR DEB)
set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_COMPONENTS_ALL quillet cli)
set(CPACK_PACKAGE_NAME quillet)
set(CPACK_DEBIAN_QUILLET_PACKAGE_NAME quillet)
set(CPACK_DEBIAN_CLI_PACKAGE_NAME quillet-cli)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
# The first line is the synopsis; the rest the extended description below it.
set(CPACK_DEBIAN_QUILLET_DESCRIPTION "personal cash and check register
Quillet keeps one account's transactions in a register file and lists them
with a running balance: the checks written, the deposits made, the card
payments and the cash. It stays fast with a million transactions.
.
Transactions are added, edited, voided, deleted and found in dialogs, and
every change can be undone and redone. A repeated payment to a known payee
takes a few keys. Reports of all transactions, of this month or of a range
of dates are made as a web page, a text listing or CSV. One-line reminders
for calendar days show in the status bar on their day.
.
Bank statements (CSV, QIF, OFX, QFX and CAMT.053) are imported without
duplicates, and the register is reconciled with the bank's statement.
quillet-cli (a package of its own) does the same from scripts.")
set(CPACK_DEBIAN_CLI_DESCRIPTION "personal cash and check register from scripts
quillet-cli reads and changes the registers of the Quillet check register
without a window or a display: it checks a register, prints its balance,
lists and reports its transactions (text, CSV or JSON), adds, voids and
deletes them, and imports bank statements (CSV, QIF, OFX, QFX and CAMT.053)
without duplicates, for a nightly import on a server.
.
It needs neither Qt nor a desktop. A register it changes while Quillet has
it open is shown changed there, and neither overwrites the other.")
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${QUILLET_MAINTAINER}")
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The dialogs are laid out for DejaVu Sans, which no library pulls in for sure (fontconfig is
# content with any of several fonts); the platform plugins come only as a recommendation of Qt's,
# and an install without recommends must still start. dpkg-shlibdeps adds the libraries after them.
# The desktop program ships without a quillet-cli of its own: its guide and its menus send users to it.
set(CPACK_DEBIAN_QUILLET_PACKAGE_DEPENDS "fonts-dejavu-core, qt6-qpa-plugins, quillet-cli (= ${PROJECT_VERSION})")
# Opening reports, pictures and the guide where the desktop names no program for them.
set(CPACK_DEBIAN_QUILLET_PACKAGE_RECOMMENDS "xdg-utils")
set(CPACK_DEBIAN_QUILLET_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_CLI_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
# Every date in the packages is SOURCE_DATE_EPOCH's, or else the last commit's time, so that two
# builds of one commit give the same bytes (the project file is read when cpack runs).
set(QUILLET_SOURCE_DIR ${PROJECT_SOURCE_DIR})
configure_file(${PROJECT_SOURCE_DIR}/cmake/package_dates.cmake.in ${staged}/package_dates.cmake @ONLY)
set(CPACK_PROJECT_CONFIG_FILE ${staged}/package_dates.cmake)
include(CPack)
