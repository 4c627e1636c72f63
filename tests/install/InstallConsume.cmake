# cmake -P driver of the install_consume test (runs on the build machine; only
# the consumer runs under Wine, with the environment the caller gave us).
# Installs BUILD_DIR (built from SOURCE_DIR) into a fresh prefix under
# WORK_DIR, checks the layout, builds the consumer project in CONSUMER_DIR
# against the prefix with the build's toolchain, and runs it from the prefix's
# bin/ folder.
foreach(var SOURCE_DIR BUILD_DIR WORK_DIR CONSUMER_DIR TOOLCHAIN GENERATOR WINE_RUN)
  if(NOT ${var})
    message(FATAL_ERROR "install_consume: ${var} is not set")
  endif()
endforeach()

set(prefix ${WORK_DIR}/prefix)
set(consumer_build ${WORK_DIR}/consumer-build)
file(REMOVE_RECURSE ${WORK_DIR})

function(run_step what)
  execute_process(COMMAND ${ARGN} RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE out)
  if(NOT rc EQUAL 0)
    message(FATAL_ERROR "${what} failed (${rc}):\n${out}")
  endif()
endfunction()

run_step("cmake --install" ${CMAKE_COMMAND} --install ${BUILD_DIR} --prefix ${prefix})

set(expected
  bin/TarkBrowserUtil.dll bin/TarkBrowserUtilRC.DLL bin/AfxSubset.dll
  bin/TarkErrorCodes.dll bin/TarkLanguage.dll bin/TarkGDI.dll bin/TarkBrowseHost.exe
  bin/libstdc++-6.dll bin/libgcc_s_seh-1.dll bin/libwinpthread-1.dll
  lib/TarkBrowserUtil.lib lib/AfxSubset.lib lib/TarkErrorCodes.lib
  lib/TarkLanguage.lib lib/TarkGDI.lib
  lib/cmake/TarkBrowserUtil/TarkBrowserUtilConfig.cmake
  lib/cmake/TarkBrowserUtil/TarkBrowserUtilConfigVersion.cmake
  lib/cmake/TarkBrowserUtil/TarkBrowserUtilTargets.cmake)
# The module's headers and the platform headers they include, side by side as
# the module's headers include them.
file(GLOB headers ${SOURCE_DIR}/include/*.h ${SOURCE_DIR}/platform/*/include/*.h
     ${SOURCE_DIR}/resources/BrwsResourceIds.h)
foreach(header ${headers})
  get_filename_component(name ${header} NAME)
  list(APPEND expected include/${name})
endforeach()
set(missing)
foreach(file ${expected})
  if(NOT EXISTS ${prefix}/${file})
    list(APPEND missing ${file})
  endif()
endforeach()
if(missing)
  list(JOIN missing "\n  " missing)
  message(FATAL_ERROR "missing from the installed package:\n  ${missing}")
endif()

set(generator_args -G ${GENERATOR})
if(MAKE_PROGRAM)
  list(APPEND generator_args -DCMAKE_MAKE_PROGRAM=${MAKE_PROGRAM})
endif()
run_step("consumer configure" ${CMAKE_COMMAND} -S ${CONSUMER_DIR} -B ${consumer_build}
         ${generator_args} -DCMAKE_TOOLCHAIN_FILE=${TOOLCHAIN}
         -DCMAKE_PREFIX_PATH=${prefix} -DCMAKE_BUILD_TYPE=Release)
# Anything but the prefix (the build tree, a package registry) would hide a
# broken package.
load_cache(${consumer_build} READ_WITH_PREFIX consumer_ TarkBrowserUtil_DIR)
if(NOT consumer_TarkBrowserUtil_DIR STREQUAL "${prefix}/lib/cmake/TarkBrowserUtil")
  message(FATAL_ERROR "the consumer found the package in '${consumer_TarkBrowserUtil_DIR}', not in the prefix")
endif()
run_step("consumer build" ${CMAKE_COMMAND} --build ${consumer_build})

# Beside the installed DLLs, so that the loader and the language library find
# them there and nowhere else.
file(COPY ${consumer_build}/app.exe DESTINATION ${prefix}/bin)
execute_process(COMMAND ${WINE_RUN} ${prefix}/bin/app.exe
                WORKING_DIRECTORY ${prefix}/bin
                RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE out)
message("${out}")
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "the consumer failed (${rc})")
endif()
if(NOT out MATCHES "string 25172: New Folder")
  message(FATAL_ERROR "the consumer did not print the module's \"New Folder\" text")
endif()
