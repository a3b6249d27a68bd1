# Debian packages: qrt5150 (the module, component "module") and qrt5150-apsim
# (the simulated access point, component "apsim"). Build them from a configured
# build directory with `cmake --build build --target package` (or `cpack` in
# it); scripts/package makes Release packages. The programs' own install rules
# are beside their targets; this file installs the data that goes with them.
include(GNUInstallDirs)

set(QRT_PACKAGING_SOURCE ${CMAKE_CURRENT_LIST_DIR})
set(QRT_PACKAGING_BINARY ${PROJECT_BINARY_DIR}/packaging)

# The message files are written from the built-in texts, so the installed
# copies always say what the program says without them.
add_executable(qrt5150-message-files ${QRT_PACKAGING_SOURCE}/MessageFiles.cpp)
target_link_libraries(qrt5150-message-files PRIVATE qrt_snmp qrt_util)
set_target_properties(qrt5150-message-files PROPERTIES
    RUNTIME_OUTPUT_DIRECTORY ${QRT_PACKAGING_BINARY} AUTOMOC OFF AUTOUIC OFF AUTORCC OFF)
set(QRT_MESSAGE_FILES snmp.err snmpv3.err snmpusm.err snmpclass.err vrsnmp.err snmp.msg common.err)
list(TRANSFORM QRT_MESSAGE_FILES PREPEND ${QRT_PACKAGING_BINARY}/errmsg/ OUTPUT_VARIABLE QRT_MESSAGE_OUTPUTS)
add_custom_command(OUTPUT ${QRT_MESSAGE_OUTPUTS}
    COMMAND qrt5150-message-files ${QRT_PACKAGING_BINARY}/errmsg
    DEPENDS qrt5150-message-files
    COMMENT "Writing the default message files"
    VERBATIM)

# Man pages with the version filled in, compressed as Debian keeps them.
set(QRT_MAN_PAGES)
foreach(page qrt5150 qrt5150-cli qrt5150-apsim)
    configure_file(${QRT_PACKAGING_SOURCE}/${page}.1 ${QRT_PACKAGING_BINARY}/${page}.1 @ONLY)
    add_custom_command(OUTPUT ${QRT_PACKAGING_BINARY}/${page}.1.gz
        COMMAND sh -c "gzip -9n -c '${page}.1' > '${page}.1.gz'"
        WORKING_DIRECTORY ${QRT_PACKAGING_BINARY}
        DEPENDS ${QRT_PACKAGING_BINARY}/${page}.1
        VERBATIM)
    list(APPEND QRT_MAN_PAGES ${QRT_PACKAGING_BINARY}/${page}.1.gz)
endforeach()

# Every Debian package carries its copyright file and its changelog, compressed,
# and the reasons for the checker's findings it overrides.
configure_file(${QRT_PACKAGING_SOURCE}/changelog ${QRT_PACKAGING_BINARY}/changelog.Debian @ONLY)
add_custom_command(OUTPUT ${QRT_PACKAGING_BINARY}/changelog.Debian.gz
    COMMAND sh -c "gzip -9n -c changelog.Debian > changelog.Debian.gz"
    WORKING_DIRECTORY ${QRT_PACKAGING_BINARY}
    DEPENDS ${QRT_PACKAGING_BINARY}/changelog.Debian
    VERBATIM)
add_custom_target(qrt5150_package_data ALL
    DEPENDS ${QRT_MESSAGE_OUTPUTS} ${QRT_MAN_PAGES} ${QRT_PACKAGING_BINARY}/changelog.Debian.gz)
foreach(component module apsim)
    set(package qrt5150)
    if(component STREQUAL apsim)
        set(package qrt5150-apsim)
    endif()
    install(FILES ${QRT_PACKAGING_SOURCE}/copyright ${QRT_PACKAGING_BINARY}/changelog.Debian.gz
        DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/doc/${package} COMPONENT ${component})
    install(FILES ${QRT_PACKAGING_SOURCE}/lintian-overrides RENAME ${package}
        DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/lintian/overrides COMPONENT ${component})
endforeach()

install(FILES ${QRT_MESSAGE_OUTPUTS} DESTINATION ${CMAKE_INSTALL_DATADIR}/qrt5150/errmsg COMPONENT module)
install(FILES ${QRT_PACKAGING_BINARY}/qrt5150.1.gz ${QRT_PACKAGING_BINARY}/qrt5150-cli.1.gz
    DESTINATION ${CMAKE_INSTALL_MANDIR}/man1 COMPONENT module)
install(FILES ${QRT_PACKAGING_SOURCE}/qrt5150-cli.bash-completion RENAME qrt5150-cli
    DESTINATION ${CMAKE_INSTALL_DATADIR}/bash-completion/completions COMPONENT module)
install(FILES ${QRT_PACKAGING_SOURCE}/qrt5150.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications COMPONENT module)
install(FILES ${QRT_PACKAGING_SOURCE}/qrt5150.svg
    DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps COMPONENT module)
# The program reads /etc/qrt5150/registry.ini whatever the prefix.
install(FILES ${QRT_PACKAGING_SOURCE}/registry.ini DESTINATION /etc/qrt5150 COMPONENT module)
install(FILES ${QRT_PACKAGING_BINARY}/qrt5150-apsim.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1 COMPONENT apsim)

# An administrator's edits of the registry file survive upgrades.
file(WRITE ${QRT_PACKAGING_BINARY}/conffiles "/etc/qrt5150/registry.ini\n")

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME qrt5150)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "QRT-5150 module maintainers <qrt5150@example.org>")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_COMPONENTS_ALL module apsim)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_RELEASE 1)
set(CPACK_DEBIAN_PACKAGE_SECTION net)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)

set(CPACK_DEBIAN_MODULE_PACKAGE_NAME qrt5150)
# setcap, for the postinst; the libraries come from dpkg-shlibdeps.
set(CPACK_DEBIAN_MODULE_PACKAGE_DEPENDS libcap2-bin)
set(CPACK_DEBIAN_MODULE_PACKAGE_CONTROL_EXTRA ${QRT_PACKAGING_SOURCE}/postinst ${QRT_PACKAGING_BINARY}/conffiles)
set(CPACK_DEBIAN_MODULE_PACKAGE_CONTROL_STRICT_PERMISSION TRUE)
set(CPACK_COMPONENT_MODULE_DESCRIPTION "management module of the QRT-5150 wireless access point
A desktop program with which a network administrator configures and watches
one QRT-5150 access point over SNMP (v1, v2c or v3 with USM). A
network-management host starts it for one device with the device's address
and SNMP credentials. It serves the device's file transfers over TFTP on UDP
port 69; installing the package gives the program that right with setcap.")

set(CPACK_DEBIAN_APSIM_PACKAGE_NAME qrt5150-apsim)
set(CPACK_COMPONENT_APSIM_DESCRIPTION "simulated QRT-5150 access point
An SNMP agent (v1, v2c, v3 USM) that serves every object of a QRT-5150
access point, with a TFTP client for file transfers, restarts and fault
injection, for trying and testing the management module without a device.")

include(CPack)
