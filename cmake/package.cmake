# The release archive for users: one ZIP holding the plug-in, sample
# dictionaries for the data directory (code page 932, CR LF), the user
# guides, and the dictionary check tool in tools/ (the stand-in host, which
# must never replace Shelfix's own shelfix.exe, hence the separate folder).
#
#   cmake --build --preset win32 --target package
#
# gives build-win32/tomefinder-<version>-win32.zip.
install(TARGETS tomefinder LIBRARY DESTINATION . RUNTIME DESTINATION .)
install(FILES
  ${PROJECT_SOURCE_DIR}/package/dictionaries/AuthDB.dat
  ${PROJECT_SOURCE_DIR}/package/dictionaries/PubDB.dat
  ${PROJECT_SOURCE_DIR}/package/dictionaries/LabelsDB.dat
  ${PROJECT_SOURCE_DIR}/docs/guide.ja.md
  ${PROJECT_SOURCE_DIR}/docs/guide.en.md
  DESTINATION .)
install(TARGETS shelfix RUNTIME DESTINATION tools)

if(CMAKE_SIZEOF_VOID_P EQUAL 4)
  set(TF_PACKAGE_SYSTEM win32)
else()
  set(TF_PACKAGE_SYSTEM win64)
endif()
set(CPACK_GENERATOR ZIP)
set(CPACK_PACKAGE_NAME tomefinder)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_FILE_NAME tomefinder-${PROJECT_VERSION}-${TF_PACKAGE_SYSTEM})
set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY ON)
# The binaries go into the archive without their debug information.
set(CPACK_STRIP_FILES ON)
include(CPack)
