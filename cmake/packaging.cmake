# Packages, built with cpack in a configured build tree:
#   Linux    a Debian package: the three libraries, headers, the CMake package,
#            the pkg-config files and qeldate       (cpack -G DEB)
#   Windows  a zip: the DLLs and qeldate.exe in bin/, the import libraries and
#            module-definition files in lib/, the headers      (cpack -G ZIP)
set(CPACK_PACKAGE_NAME qel-datetime)
set(CPACK_PACKAGE_VENDOR qel_datetime)
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "${PROJECT_DESCRIPTION}")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "qel_datetime developers <qel-datetime@localhost>")
set(CPACK_RESOURCE_FILE_README ${PROJECT_SOURCE_DIR}/README.md)
set(CPACK_RESOURCE_FILE_LICENSE ${PROJECT_SOURCE_DIR}/LICENSE)
set(CPACK_DEBIAN_PACKAGE_LICENSE MIT)
set(CPACK_PACKAGE_DIRECTORY ${PROJECT_BINARY_DIR}/packages)

if(WIN32)
  set(CPACK_GENERATOR ZIP)
  if(CMAKE_SIZEOF_VOID_P EQUAL 8)
    set(CPACK_SYSTEM_NAME win64)
  else()
    set(CPACK_SYSTEM_NAME win32)
  endif()
  set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY ON)
else()
  set(CPACK_GENERATOR DEB)
  set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
  set(CPACK_DEBIAN_PACKAGE_SECTION libs)
  # Dependencies read off the binaries by dpkg-shlibdeps (Debian: dpkg-dev),
  # and a shlibs file with the ldconfig trigger for the libraries.
  set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
  set(CPACK_DEBIAN_PACKAGE_GENERATE_SHLIBS ON)
  set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
      "Gregorian day serials, a packed 64-bit date-time and the Chinese lunisolar\n calendar 1900-2100 (conversions, leap months, GBK names, the sixty-year\n cycle, the 24 solar terms), qel_calendar, its C interface in UTF-8 (day\n facts, solar terms to the second, the four pillars, festivals, batch\n conversions), and the qeldate command-line calendar.")
endif()

include(CPack)
