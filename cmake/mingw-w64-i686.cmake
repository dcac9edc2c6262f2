# Cross-builds the 32-bit Windows plug-in and stand-in host with Debian's
# MinGW-w64 (g++-mingw-w64-i686-posix). The programs are linked statically,
# so tomefinder.dll and shelfix.exe need no MinGW runtime DLL beside them.
# Tests run through Wine (cmake/wine-run.sh) with a prefix in the build tree.
#
# TF_MINGW_ARCH=x86_64 builds the same code as 64-bit Windows programs, for
# machines whose kernel cannot run 32-bit programs (and so no 32-bit Wine).
set(CMAKE_SYSTEM_NAME Windows)
if(NOT TF_MINGW_ARCH)
  set(TF_MINGW_ARCH i686)
endif()
list(APPEND CMAKE_TRY_COMPILE_PLATFORM_VARIABLES TF_MINGW_ARCH)
set(CMAKE_SYSTEM_PROCESSOR ${TF_MINGW_ARCH})

set(TF_MINGW_TRIPLET ${TF_MINGW_ARCH}-w64-mingw32)
find_program(CMAKE_C_COMPILER NAMES ${TF_MINGW_TRIPLET}-gcc-posix REQUIRED)
find_program(CMAKE_CXX_COMPILER NAMES ${TF_MINGW_TRIPLET}-g++-posix REQUIRED)
find_program(CMAKE_RC_COMPILER NAMES ${TF_MINGW_TRIPLET}-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${TF_MINGW_TRIPLET})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# libgcc, libstdc++ and winpthread go into each binary.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")
set(CMAKE_SHARED_LINKER_FLAGS_INIT "-static")
set(CMAKE_MODULE_LINKER_FLAGS_INIT "-static")

# Debian's Wine loaders: wine (wine32, 32-bit) and wine64. A loader that
# cannot start (a kernel without 32-bit support) leaves the build without
# an emulator; then only the tests that read the binaries run.
if(TF_MINGW_ARCH STREQUAL "i686")
  set(TF_WINE_LOADER_NAME wine)
else()
  set(TF_WINE_LOADER_NAME wine64)
endif()
find_program(TF_WINE_LOADER NAMES ${TF_WINE_LOADER_NAME}
             PATHS /usr/lib/wine NO_DEFAULT_PATH)
if(TF_WINE_LOADER)
  execute_process(COMMAND ${TF_WINE_LOADER} --version
                  RESULT_VARIABLE TF_WINE_STATUS OUTPUT_QUIET ERROR_QUIET)
  if(TF_WINE_STATUS EQUAL 0)
    set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/wine-run.sh
        ${TF_WINE_LOADER} ${CMAKE_BINARY_DIR}/wineprefix)
  endif()
endif()
