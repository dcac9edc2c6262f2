# Sanitizer and fuzzing instrumentation for every target of the build.
#
# The plug-in is a library that the host loads, so a sanitizer's runtime
# must be one copy shared by the host, the plug-in and the tests: it is
# linked as a shared library (-shared-libsan), found through the rpath.
# That also keeps the runtime's own symbols out of shelfix.exe's dynamic
# symbol table, which must hold the host services only.
if(TOMEFINDER_SANITIZERS)
  if(NOT CMAKE_CXX_COMPILER_ID STREQUAL "Clang")
    message(FATAL_ERROR "TOMEFINDER_SANITIZERS needs clang")
  endif()
  add_compile_options(-fsanitize=${TOMEFINDER_SANITIZERS}
                      -fno-sanitize-recover=all -fno-omit-frame-pointer)
  add_link_options(-fsanitize=${TOMEFINDER_SANITIZERS})
  if(NOT TOMEFINDER_FUZZ)
    execute_process(COMMAND ${CMAKE_CXX_COMPILER} -print-runtime-dir
                    OUTPUT_VARIABLE tf_runtime_dir
                    OUTPUT_STRIP_TRAILING_WHITESPACE)
    add_link_options(-shared-libsan "-Wl,-rpath,${tf_runtime_dir}")
  endif()
endif()

# libFuzzer's coverage in every module; only the fuzz targets link its
# main (fuzz/CMakeLists.txt). libFuzzer has no shared runtime, so this
# build keeps the static one.
if(TOMEFINDER_FUZZ)
  if(NOT CMAKE_CXX_COMPILER_ID STREQUAL "Clang")
    message(FATAL_ERROR "TOMEFINDER_FUZZ needs clang")
  endif()
  add_compile_options(-fsanitize=fuzzer-no-link)
endif()
