# Installation and the Debian packages.
#  runtime  (default): talvo_s, its manual pages and the bash completion
#  examples (optional): the substitute tools under lib/talvo_s/tools/, the
#                       example project and the bundled installation root
#                       under share/talvo_s/ (its README in share/doc/)
# Each package carries its own copyright file and changelog.

# Installs the programs of a component into `destination`, each without the
# .comment section that the compiler and the C runtime's objects leave (as
# Debian's dh_strip removes it), after the strip a package build asks for.
function(talvo_install_programs component destination)
  set(exclude)
  if(component STREQUAL "examples")
    set(exclude EXCLUDE_FROM_ALL)
  endif()
  install(TARGETS ${ARGN} RUNTIME DESTINATION ${destination} COMPONENT ${component} ${exclude})
  foreach(target ${ARGN})
    install(CODE "execute_process(COMMAND \"${CMAKE_OBJCOPY}\" --remove-section=.comment
                    \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${destination}/$<TARGET_FILE_NAME:${target}>\"
                  COMMAND_ERROR_IS_FATAL ANY)"
            COMPONENT ${component} ${exclude})
  endforeach()
endfunction()

talvo_install_programs(runtime ${CMAKE_INSTALL_BINDIR} talvo_s)
install(FILES docs/debian/copyright ${TALVO_CHANGELOG_GZ}
        DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/talvo-s COMPONENT runtime)

set(TALVO_SHARE ${CMAKE_INSTALL_DATADIR}/talvo_s)
talvo_install_programs(examples lib/talvo_s/tools lurin dravik talvoChk seltor nuvar pomsk kivard)
# The example's README is documentation: it goes with the copyright file.
install(DIRECTORY examples/project/ DESTINATION ${TALVO_SHARE}/example COMPONENT examples EXCLUDE_FROM_ALL
        PATTERN README EXCLUDE)
install(DIRECTORY examples/talvo_root/ DESTINATION ${TALVO_SHARE}/root COMPONENT examples EXCLUDE_FROM_ALL)
install(FILES docs/debian/copyright ${TALVO_CHANGELOG_GZ} examples/project/README
        DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/talvo-s-examples COMPONENT examples EXCLUDE_FROM_ALL)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME talvo-s)
set(CPACK_PACKAGE_VERSION 1.00.00)
set(CPACK_PACKAGE_CONTACT "talvo_s developers <talvo-s-maintainers@example.org>")
# The first line of each description is the package's summary.
set(CPACK_DEBIAN_RUNTIME_DESCRIPTION "driver of the analysis stage of a floating-point to fixed-point C toolchain
talvo_s checks and analyzes floating-point C files before a toolchain turns
them into fixed-point C. It reads its settings from the environment, an
optional constraint file and the command line, checks them for the chosen
output target (DSP, AlgorithmicC or ANSI-C), prepares its work directory and
runs the toolchain's analysis tools, found on PATH, one after another.

This package holds the talvo_s program, its manual pages and its bash
completion; the analysis tools belong to the toolchain.")
set(CPACK_DEBIAN_EXAMPLES_DESCRIPTION "substitute analysis tools and an example project for talvo_s
Small stand-ins for the seven analysis tools that talvo_s runs, an example
project with a constraint file, and a bundled installation root, so that a
run of talvo_s can be tried from start to end without the toolchain. The
stand-ins check their command lines and pass small work files on to one
another; they do no C analysis.

/usr/share/doc/talvo-s-examples/README says how to run the example.")
set(CPACK_STRIP_FILES ON)
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
