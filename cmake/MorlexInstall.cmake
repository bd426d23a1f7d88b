# Install rules and the CMake package MorlexDateControl.
#
# Every library of the project (a target named morlex_*, wherever it was
# added, unless its property MORLEX_NOT_INSTALLED is set) is installed and
# exported as Morlex::<name without the prefix>, with
# the headers of its include/ folder; morlex-host and morlex-demo go to bin.
# Components (the Debian packages of MorlexPackaging.cmake): Development for
# the libraries, headers and CMake package, Tools for the programs. (artwork/
# installs the pictures and component/ the loadable module themselves.) A
# consumer writes
#
#   find_package(MorlexDateControl 1.2 REQUIRED COMPONENTS qt)
#   target_link_libraries(app PRIVATE Morlex::qt)
include(GNUInstallDirs)
include(CMakePackageConfigHelpers)

set(MORLEX_PACKAGE_DIR ${CMAKE_INSTALL_LIBDIR}/cmake/MorlexDateControl)

function(morlex_collect_libraries dir out)
  get_property(targets DIRECTORY ${dir} PROPERTY BUILDSYSTEM_TARGETS)
  get_property(subdirs DIRECTORY ${dir} PROPERTY SUBDIRECTORIES)
  set(found)
  foreach(target IN LISTS targets)
    get_target_property(type ${target} TYPE)
    get_target_property(private ${target} MORLEX_NOT_INSTALLED)
    # MORLEX_NO_EXPORT: a library that ships in a form of its own (the QML
    # module) rather than to C++ consumers.
    get_target_property(no_export ${target} MORLEX_NO_EXPORT)
    if(target MATCHES "^morlex_" AND type MATCHES "LIBRARY$" AND NOT private AND NOT no_export)
      list(APPEND found ${target})
    endif()
  endforeach()
  foreach(subdir IN LISTS subdirs)
    morlex_collect_libraries(${subdir} below)
    list(APPEND found ${below})
  endforeach()
  set(${out} ${found} PARENT_SCOPE)
endfunction()

morlex_collect_libraries(${PROJECT_SOURCE_DIR} morlex_libraries)

# The packages the exported libraries need at the consumer's end, from the
# imported targets they link to.
set(morlex_qt_components)
set(morlex_dependencies)
set(header_dirs)
foreach(library IN LISTS morlex_libraries)
  string(REGEX REPLACE "^morlex_" "" export_name ${library})
  set_target_properties(${library} PROPERTIES EXPORT_NAME ${export_name})
  get_target_property(dir ${library} SOURCE_DIR)
  if(EXISTS ${dir}/include)
    list(APPEND header_dirs ${dir}/include)
  endif()
  set(links)
  foreach(property LINK_LIBRARIES INTERFACE_LINK_LIBRARIES)
    get_target_property(value ${library} ${property})
    if(value)
      list(APPEND links ${value})
    endif()
  endforeach()
  foreach(link IN LISTS links)
    if(link MATCHES "^Qt6::(.+)$")
      list(APPEND morlex_qt_components ${CMAKE_MATCH_1})
    elseif(link STREQUAL "SQLite::SQLite3")
      list(APPEND morlex_dependencies "SQLite3")
    elseif(link MATCHES "^ICU::(.+)$")
      list(APPEND morlex_dependencies "ICU COMPONENTS ${CMAKE_MATCH_1}")
    elseif(link STREQUAL "Threads::Threads")
      list(APPEND morlex_dependencies "Threads")
    elseif(link MATCHES "^date::")
      list(APPEND morlex_dependencies "date")
    elseif(link MATCHES "::" AND NOT link MATCHES "^Morlex::")
      message(WARNING "MorlexDateControl package: no find_dependency for ${link}")
    endif()
  endforeach()
endforeach()
list(REMOVE_DUPLICATES header_dirs)
list(REMOVE_DUPLICATES morlex_dependencies)
if(morlex_qt_components)
  list(REMOVE_DUPLICATES morlex_qt_components)
  list(JOIN morlex_qt_components " " morlex_qt_components)
  list(APPEND morlex_dependencies "Qt6 6.4 COMPONENTS ${morlex_qt_components}")
endif()
set(MORLEX_FIND_DEPENDENCIES "")
foreach(dependency IN LISTS morlex_dependencies)
  string(APPEND MORLEX_FIND_DEPENDENCIES "find_dependency(${dependency})\n")
endforeach()

# A shared library (the Qt binding's) goes to the runtime package, its link
# name to the development one.
install(TARGETS ${morlex_libraries}
  EXPORT MorlexDateControlTargets
  ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR} COMPONENT Development
  LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR} COMPONENT Runtime
    NAMELINK_COMPONENT Development
  RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR} COMPONENT Runtime
  INCLUDES DESTINATION ${CMAKE_INSTALL_INCLUDEDIR})
foreach(dir IN LISTS header_dirs)
  install(DIRECTORY ${dir}/ DESTINATION ${CMAKE_INSTALL_INCLUDEDIR} COMPONENT Development
    FILES_MATCHING PATTERN "*.h")
endforeach()
foreach(program morlex-host morlex-demo)
  if(TARGET ${program})
    install(TARGETS ${program} RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR} COMPONENT Tools)
  endif()
endforeach()

install(EXPORT MorlexDateControlTargets
  NAMESPACE Morlex::
  DESTINATION ${MORLEX_PACKAGE_DIR}
  COMPONENT Development)
set(MORLEX_PACKAGE_HAS_QT ${MORLEX_BUILD_QT})
configure_package_config_file(${PROJECT_SOURCE_DIR}/cmake/MorlexDateControlConfig.cmake.in
  ${PROJECT_BINARY_DIR}/MorlexDateControlConfig.cmake
  INSTALL_DESTINATION ${MORLEX_PACKAGE_DIR})
write_basic_package_version_file(${PROJECT_BINARY_DIR}/MorlexDateControlConfigVersion.cmake
  COMPATIBILITY SameMajorVersion)
install(FILES
  ${PROJECT_BINARY_DIR}/MorlexDateControlConfig.cmake
  ${PROJECT_BINARY_DIR}/MorlexDateControlConfigVersion.cmake
  DESTINATION ${MORLEX_PACKAGE_DIR}
  COMPONENT Development)
