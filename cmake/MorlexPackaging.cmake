# Debian packages of the install, made by CPack's DEB generator from the
# install components (`cpack -G DEB` in the build folder):
#
#   libmorlexdatecontrol1       Runtime    the loadable module libMorlexDateControl.so.1,
#                                          the Qt binding libmorlex_qt.so.1, the
#                                          artwork the widgets draw and the
#                                          translations of the Qt binding's captions
#   libmorlexdatecontrol-dev    Development  headers, static libraries, the CMake package,
#                                          pkg-config files, the link names
#   morlexdatecontrol-designer  Designer   the Qt Designer plugin, in Qt's designer folder
#   morlexdatecontrol-tools     Tools      morlex-host and morlex-demo
#   qml6-module-morlex-controls Quick      the QML module Morlex.Controls (DateField), in
#                                          Qt's QML folder
#
# Shared-library dependencies come from dpkg-shlibdeps. The libraries and
# programs find the artwork and translations beside their own install, so an
# unpacked package works wherever it lies; the packages are built from a tree
# configured with -DCMAKE_INSTALL_PREFIX=/usr.
#
# Also here: the pkg-config files morlexdatecontrol.pc (the toolkit-free
# libraries) and morlexdatecontrol-qt.pc (the Qt 6 Widgets binding).
include(GNUInstallDirs)

# --- pkg-config ---------------------------------------------------------------------------

# morlex_link_order(OUT ROOTS...): the project's libraries that ROOTS need,
# each before the libraries it needs, as a static link wants them.
function(morlex_link_order out)
  set(order)
  set(visiting)
  macro(morlex_visit target)
    if(NOT "${target}" IN_LIST order AND NOT "${target}" IN_LIST visiting)
      list(APPEND visiting ${target})
      foreach(property LINK_LIBRARIES INTERFACE_LINK_LIBRARIES)
        get_target_property(links ${target} ${property})
        foreach(link IN LISTS links)
          if(link MATCHES "^morlex_" AND NOT link STREQUAL "morlex_settings" AND TARGET ${link})
            morlex_visit(${link})
          endif()
        endforeach()
      endforeach()
      list(APPEND order ${target})
    endif()
  endmacro()
  foreach(root IN LISTS ARGN)
    morlex_visit(${root})
  endforeach()
  list(REVERSE order)
  set(${out} ${order} PARENT_SCOPE)
endfunction()

function(morlex_pkgconfig_libs out)
  set(flags)
  foreach(library IN LISTS ARGN)
    get_target_property(type ${library} TYPE)
    if(type STREQUAL "STATIC_LIBRARY")
      get_target_property(name ${library} OUTPUT_NAME)
      if(NOT name)
        set(name ${library})
      endif()
      string(APPEND flags " -l${name}")
    endif()
  endforeach()
  set(${out} "${flags}" PARENT_SCOPE)
endfunction()

set(MORLEX_PKGCONFIG_DIR ${CMAKE_INSTALL_LIBDIR}/pkgconfig)
# The files find the prefix from where they lie, so that an install moved
# elsewhere (or unpacked into another root) still names its own folders.
file(RELATIVE_PATH MORLEX_PC_PREFIX_FROM_DIR /prefix/${MORLEX_PKGCONFIG_DIR} /prefix)
string(REGEX REPLACE "/$" "" MORLEX_PC_PREFIX_FROM_DIR "${MORLEX_PC_PREFIX_FROM_DIR}")
# The toolkit-free libraries: everything but the Qt binding, in link order.
set(morlex_plain_roots)
set(morlex_qt_roots)
foreach(library IN LISTS morlex_libraries)
  if(library MATCHES "^morlex_qt")
    list(APPEND morlex_qt_roots ${library})
  else()
    list(APPEND morlex_plain_roots ${library})
  endif()
endforeach()
morlex_link_order(morlex_plain_order ${morlex_plain_roots})
morlex_pkgconfig_libs(MORLEX_PC_LIBS ${morlex_plain_order})
set(MORLEX_PC_NAME "MorlexDateControl")
set(MORLEX_PC_DESCRIPTION "${PROJECT_DESCRIPTION}: the toolkit-free libraries")
set(MORLEX_PC_REQUIRES "")
set(MORLEX_PC_CFLAGS_STD " -std=c++20")
configure_file(${CMAKE_CURRENT_LIST_DIR}/morlexdatecontrol.pc.in
  ${PROJECT_BINARY_DIR}/pkgconfig/morlexdatecontrol.pc @ONLY)
set(morlex_pc_files ${PROJECT_BINARY_DIR}/pkgconfig/morlexdatecontrol.pc)
if(morlex_qt_roots)
  # The binding's shared library holds the control: a Qt application links
  # it and Qt, nothing else, and its headers ask no more than Qt's C++17.
  set(MORLEX_PC_LIBS " -lmorlex_qt")
  set(MORLEX_PC_NAME "MorlexDateControl Qt")
  set(MORLEX_PC_DESCRIPTION "${PROJECT_DESCRIPTION}: the Qt 6 Widgets binding")
  set(MORLEX_PC_REQUIRES "Qt6Widgets >= 6.4")
  set(MORLEX_PC_CFLAGS_STD "")
  configure_file(${CMAKE_CURRENT_LIST_DIR}/morlexdatecontrol.pc.in
    ${PROJECT_BINARY_DIR}/pkgconfig/morlexdatecontrol-qt.pc @ONLY)
  list(APPEND morlex_pc_files ${PROJECT_BINARY_DIR}/pkgconfig/morlexdatecontrol-qt.pc)
endif()
install(FILES ${morlex_pc_files} DESTINATION ${MORLEX_PKGCONFIG_DIR} COMPONENT Development)

# A stripped install (CPack's, or cmake --install --strip) strips programs and
# shared libraries; the static libraries lose their debug information too,
# which is most of their size.
if(CMAKE_STRIP)
  install(CODE "
    if(CMAKE_INSTALL_DO_STRIP)
      file(GLOB archives \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_LIBDIR}/libmorlex_*.a\")
      foreach(archive IN LISTS archives)
        execute_process(COMMAND \"${CMAKE_STRIP}\" --strip-debug \"\${archive}\")
      endforeach()
    endif()" COMPONENT Development)
endif()

# --- Debian packages ----------------------------------------------------------------------

set(MORLEX_DEB_PREFIX "/usr")
if(NOT CMAKE_INSTALL_PREFIX STREQUAL MORLEX_DEB_PREFIX)
  message(STATUS "MorlexDateControl packages: the tree is configured for "
    "${CMAKE_INSTALL_PREFIX}; configure with -DCMAKE_INSTALL_PREFIX=/usr for packages")
endif()

set(CPACK_PACKAGE_NAME "morlexdatecontrol")
set(CPACK_PACKAGE_VENDOR "Morlex Software")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
# No package-wide summary (CPack would put it before every description):
# each package's description starts with its own. CPack leaves its default
# out.
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "${PROJECT_NAME} built using CMake")
set(CPACK_PACKAGE_CONTACT "MorlexDateControl maintainers <maintainers@morlex.example.org>")
set(CPACK_PACKAGING_INSTALL_PREFIX ${MORLEX_DEB_PREFIX})
set(CPACK_GENERATOR "DEB")
set(CPACK_STRIP_FILES ON)
set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_PACKAGE_DIRECTORY ${PROJECT_BINARY_DIR}/packages)
set(CPACK_COMPONENTS_ALL Runtime Development)
if(TARGET morlex-designer-plugin)
  list(APPEND CPACK_COMPONENTS_ALL Designer)
endif()
list(APPEND CPACK_COMPONENTS_ALL Tools)
if(TARGET morlex_quick_qml)
  list(APPEND CPACK_COMPONENTS_ALL Quick)
endif()

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_RELEASE 1)
set(CPACK_DEBIAN_PACKAGE_SECTION "libs")
set(CPACK_DEBIAN_PACKAGE_PRIORITY "optional")
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "https://morlex.example.org/datecontrol")
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The Designer plugin links the binding's library of the runtime package.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS_PRIVATE_DIRS ${CMAKE_LIBRARY_OUTPUT_DIRECTORY})
set(CPACK_DEBIAN_ENABLE_COMPONENT_DEPENDS ON)
set(morlex_deb_version "${PROJECT_VERSION}-${CPACK_DEBIAN_PACKAGE_RELEASE}")

set(CPACK_DEBIAN_RUNTIME_PACKAGE_NAME "libmorlexdatecontrol${PROJECT_VERSION_MAJOR}")
set(CPACK_DEBIAN_DEVELOPMENT_PACKAGE_NAME "libmorlexdatecontrol-dev")
set(CPACK_DEBIAN_DESIGNER_PACKAGE_NAME "morlexdatecontrol-designer")
set(CPACK_DEBIAN_TOOLS_PACKAGE_NAME "morlexdatecontrol-tools")
# Debian names QML modules after their import URI.
set(CPACK_DEBIAN_QUICK_PACKAGE_NAME "qml6-module-morlex-controls")
set(CPACK_DEBIAN_QUICK_PACKAGE_SECTION "libs")
# The module's QML files import Qt Quick and Qt Quick Controls at run time.
set(CPACK_DEBIAN_QUICK_PACKAGE_DEPENDS
  "qml6-module-qtqml, qml6-module-qtquick, qml6-module-qtquick-controls, qml6-module-qtquick-templates")

set(CPACK_DEBIAN_DEVELOPMENT_PACKAGE_SECTION "libdevel")
set(CPACK_DEBIAN_DESIGNER_PACKAGE_SECTION "devel")
set(CPACK_DEBIAN_TOOLS_PACKAGE_SECTION "utils")

# The runtime package registers its libraries with the dynamic linker and
# says which package provides their SONAMEs (the module's and the Qt
# binding's, the only shared objects with one).
set(CPACK_DEBIAN_PACKAGE_GENERATE_SHLIBS ON)
set(CPACK_DEBIAN_PACKAGE_GENERATE_SHLIBS_POLICY ">=")
file(WRITE ${PROJECT_BINARY_DIR}/debian/runtime/triggers "activate-noawait ldconfig\n")
set(CPACK_DEBIAN_RUNTIME_PACKAGE_CONTROL_EXTRA ${PROJECT_BINARY_DIR}/debian/runtime/triggers)
set(CPACK_DEBIAN_RUNTIME_PACKAGE_CONTROL_STRICT_PERMISSION ON)

# The Qt binding's headers and CMake package need Qt's development files;
# the designer plugin and the programs draw with the runtime package's artwork.
set(CPACK_COMPONENT_DEVELOPMENT_DEPENDS Runtime)
set(CPACK_COMPONENT_DESIGNER_DEPENDS Runtime)
set(CPACK_COMPONENT_TOOLS_DEPENDS Runtime)
if(TARGET morlex_qt)
  set(CPACK_DEBIAN_DEVELOPMENT_PACKAGE_DEPENDS "qt6-base-dev (>= 6.4)")
endif()
set(CPACK_DEBIAN_DESIGNER_PACKAGE_ENHANCES "designer-qt6")

string(CONCAT CPACK_COMPONENT_RUNTIME_DESCRIPTION
  "date-entry field for desktop C++ applications - runtime\n"
  "MorlexDate is a single-line date-entry field: the user types a date in\n"
  "month/day/year order, steps it with an up-down indicator and picks it from a\n"
  "month calendar.\n"
  "\n"
  "This package holds the loadable module libMorlexDateControl.so.1, the Qt 6\n"
  "Widgets binding libmorlex_qt.so.1, the pictures the field draws and the\n"
  "translations of its captions.")
string(CONCAT CPACK_COMPONENT_DEVELOPMENT_DESCRIPTION
  "date-entry field for desktop C++ applications - development files\n"
  "MorlexDate is a single-line date-entry field for C++20 applications.\n"
  "\n"
  "This package holds the headers, the static libraries of the toolkit-free\n"
  "control, the link name of the Qt 6 Widgets binding MorlexDateWidget, the\n"
  "CMake package MorlexDateControl and the pkg-config files morlexdatecontrol\n"
  "and morlexdatecontrol-qt.")
string(CONCAT CPACK_COMPONENT_DESIGNER_DESCRIPTION
  "date-entry field for desktop C++ applications - Qt Designer plugin\n"
  "Puts the MorlexDate field in Qt Designer's widget box, and lets QUiLoader\n"
  "create it from .ui files at run time.")
string(CONCAT CPACK_COMPONENT_QUICK_DESCRIPTION
  "date-entry field for desktop C++ applications - QML module\n"
  "The QML module Morlex.Controls: `import Morlex.Controls` and `DateField {}`\n"
  "give a Qt Quick application the same date field, with typing, spinning and a\n"
  "calendar popup, in the Qt Quick Controls style in use.")
string(CONCAT CPACK_COMPONENT_TOOLS_DESCRIPTION
  "date-entry field for desktop C++ applications - programs\n"
  "morlex-host plays scripts of host and user commands against the field;\n"
  "morlex-demo is a record form over SQLite with three date fields.")

# Every package carries its copyright file and a changelog.
set(morlex_doc_dir ${PROJECT_BINARY_DIR}/debian/doc)
file(WRITE ${morlex_doc_dir}/copyright
  "Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/\n"
  "Upstream-Name: MorlexDateControl\n"
  "\n"
  "Files: *\n"
  "Copyright: 2026 Morlex Software\n"
  "License: Morlex\n"
  " Free to use in your applications.\n")
string(TIMESTAMP morlex_changelog_date "%a, %d %b %Y %H:%M:%S +0000" UTC)
find_program(MORLEX_GZIP gzip)
foreach(component IN LISTS CPACK_COMPONENTS_ALL)
  string(TOUPPER ${component} upper)
  set(package ${CPACK_DEBIAN_${upper}_PACKAGE_NAME})
  set(dir ${morlex_doc_dir}/${package})
  file(WRITE ${dir}/changelog.Debian
    "${package} (${morlex_deb_version}) unstable; urgency=medium\n"
    "\n"
    "  * Packages built from the project's CMake install.\n"
    "\n"
    " -- ${CPACK_PACKAGE_CONTACT}  ${morlex_changelog_date}\n")
  if(MORLEX_GZIP)
    execute_process(COMMAND ${MORLEX_GZIP} -n -9 -f ${dir}/changelog.Debian)
  endif()
  install(FILES ${morlex_doc_dir}/copyright ${dir}/changelog.Debian.gz
    DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/doc/${package}
    COMPONENT ${component} EXCLUDE_FROM_ALL)
endforeach()

include(CPack)
