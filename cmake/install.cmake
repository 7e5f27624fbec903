# Installation: headers, the three libraries, a CMake package and a pkg-config
# file per library that applications link.
#   find_package(qel_datetime CONFIG REQUIRED)
#   target_link_libraries(app PRIVATE qel_datetime::qel_datetime)  # brings qel_common
#   target_link_libraries(app PRIVATE qel_datetime::qel_calendar)  # the C interface in UTF-8
include(CMakePackageConfigHelpers)

set(QEL_CMAKE_DIR ${CMAKE_INSTALL_LIBDIR}/cmake/qel_datetime)

install(TARGETS qel_common qel_datetime qel_calendar
  EXPORT qel_datetimeTargets
  RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR}
  LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR}
  ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR}
  INCLUDES DESTINATION ${CMAKE_INSTALL_INCLUDEDIR})
# The licence: Debian's place for it is the package's doc folder, named
# copyright; the Windows zip keeps it at the top.
if(WIN32)
  install(FILES LICENSE DESTINATION .)
else()
  install(FILES LICENSE DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/qel-datetime RENAME copyright)
endif()
install(FILES include/qel_datetime.h include/qel_common.h include/qel_calendar.h include/qel_calendar_version.h
  DESTINATION ${CMAKE_INSTALL_INCLUDEDIR})
if(WIN32)
  # The module-definition files, for toolchains that make their own import
  # library (MSVC: lib /def:qel_datetime.def /machine:x86).
  foreach(library IN ITEMS qel_common qel_datetime qel_calendar)
    install(FILES $<TARGET_FILE_DIR:${library}>/${library}.def DESTINATION ${CMAKE_INSTALL_LIBDIR})
  endforeach()
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

# The .pc files find their prefix relative to their own folder, so the
# installed tree can be moved (or installed into a scratch prefix by the tests).
file(RELATIVE_PATH QEL_PC_TO_PREFIX "/p/${CMAKE_INSTALL_LIBDIR}/pkgconfig" "/p")
foreach(library IN ITEMS qel_datetime qel_calendar)
  configure_file(cmake/${library}.pc.in ${PROJECT_BINARY_DIR}/${library}.pc @ONLY)
  install(FILES ${PROJECT_BINARY_DIR}/${library}.pc DESTINATION ${CMAKE_INSTALL_LIBDIR}/pkgconfig)
endforeach()
