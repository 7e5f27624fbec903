# Installation: headers, both libraries, a CMake package and a pkg-config file.
#   find_package(qel_datetime CONFIG REQUIRED)
#   target_link_libraries(app PRIVATE qel_datetime::qel_datetime)  # brings qel_common
include(CMakePackageConfigHelpers)

set(QEL_CMAKE_DIR ${CMAKE_INSTALL_LIBDIR}/cmake/qel_datetime)

install(TARGETS qel_common qel_datetime
  EXPORT qel_datetimeTargets
  RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR}
  LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR}
  ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR}
  INCLUDES DESTINATION ${CMAKE_INSTALL_INCLUDEDIR})
install(FILES include/qel_datetime.h include/qel_common.h
  DESTINATION ${CMAKE_INSTALL_INCLUDEDIR})
if(WIN32)
  # The module-definition files, for toolchains that make their own import
  # library (MSVC: lib /def:qel_datetime.def /machine:x86).
  install(FILES $<TARGET_FILE_DIR:qel_datetime>/qel_datetime.def $<TARGET_FILE_DIR:qel_common>/qel_common.def
    DESTINATION ${CMAKE_INSTALL_LIBDIR})
endif()
install(EXPORT qel_datetimeTargets
  NAMESPACE qel_datetime::
  DESTINATION ${QEL_CMAKE_DIR})

configure_package_config_file(cmake/qel_datetimeConfig.cmake.in
  ${PROJECT_BINARY_DIR}/qel_datetimeConfig.cmake
  INSTALL_DESTINATION ${QEL_CMAKE_DIR})
write_basic_package_version_file(${PROJECT_BINARY_DIR}/qel_datetimeConfigVersion.cmake
  COMPATIBILITY SameMajorVersion)
install(FILES
  ${PROJECT_BINARY_DIR}/qel_datetimeConfig.cmake
  ${PROJECT_BINARY_DIR}/qel_datetimeConfigVersion.cmake
  DESTINATION ${QEL_CMAKE_DIR})

# The .pc file finds its prefix relative to its own folder, so the installed
# tree can be moved (or installed into a scratch prefix by the tests).
file(RELATIVE_PATH QEL_PC_TO_PREFIX "/p/${CMAKE_INSTALL_LIBDIR}/pkgconfig" "/p")
configure_file(cmake/qel_datetime.pc.in ${PROJECT_BINARY_DIR}/qel_datetime.pc @ONLY)
install(FILES ${PROJECT_BINARY_DIR}/qel_datetime.pc
  DESTINATION ${CMAKE_INSTALL_LIBDIR}/pkgconfig)
