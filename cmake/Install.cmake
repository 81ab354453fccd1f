# Installation and the Debian packages.
#  runtime  (default): talvo_s, its manual pages and the bash completion
#  examples (optional): the substitute tools, the example project and the
#                       bundled installation root, under share/talvo_s/
install(TARGETS talvo_s RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR} COMPONENT runtime)

set(TALVO_SHARE ${CMAKE_INSTALL_DATADIR}/talvo_s)
install(TARGETS lurin dravik talvoChk seltor nuvar pomsk kivard
        RUNTIME DESTINATION ${TALVO_SHARE}/tools COMPONENT examples EXCLUDE_FROM_ALL)
install(DIRECTORY examples/project/ DESTINATION ${TALVO_SHARE}/example COMPONENT examples EXCLUDE_FROM_ALL)
install(DIRECTORY examples/talvo_root/ DESTINATION ${TALVO_SHARE}/root COMPONENT examples EXCLUDE_FROM_ALL)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME talvo-s)
set(CPACK_PACKAGE_VERSION 1.00.00)
set(CPACK_PACKAGE_CONTACT "talvo_s developers <talvo-s@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "driver of the analysis stage of a floating-point to fixed-point C toolchain")
set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_COMPONENTS_ALL runtime examples)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_RUNTIME_PACKAGE_NAME talvo-s)
set(CPACK_DEBIAN_EXAMPLES_PACKAGE_NAME talvo-s-examples)
set(CPACK_DEBIAN_EXAMPLES_PACKAGE_DEPENDS "talvo-s (= 1.00.00)")
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_SECTION devel)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_PACKAGE_DIRECTORY ${PROJECT_BINARY_DIR}/packages)
include(CPack)
cpack_add_component(runtime DISPLAY_NAME "talvo_s" REQUIRED)
cpack_add_component(examples DISPLAY_NAME "substitute tools and example" DISABLED)
