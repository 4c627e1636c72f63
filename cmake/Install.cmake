# The installed package (cmake --install <build> --prefix P):
#   P/bin                         everything a host process loads
#   P/lib                         the import libraries
#   P/include                     the module's and the platform's headers
#   P/lib/cmake/TarkBrowserUtil   the package find_package(TarkBrowserUtil) reads
# The platform DLLs and the language resource module add their own rules in
# platform/ and resources/.
include(CMakePackageConfigHelpers)

set(TBU_INSTALL_CMAKEDIR lib/cmake/TarkBrowserUtil)

# The compile definitions a consumer needs come with the platform targets the
# module links publicly (platform/CMakeLists.txt).
install(TARGETS TarkBrowserUtil EXPORT TarkBrowserUtilTargets
        RUNTIME DESTINATION bin ARCHIVE DESTINATION lib)
install(DIRECTORY ${CMAKE_SOURCE_DIR}/include/ DESTINATION include
        FILES_MATCHING PATTERN "*.h")
# The numbers of the dialogs' controls and strings, for hosts that drive or
# reuse them.
install(FILES ${CMAKE_SOURCE_DIR}/resources/BrwsResourceIds.h DESTINATION include)

# Objects and exceptions cross the DLL boundaries, so a host must load the very
# runtime copies the DLLs were linked with, from the same folder.
foreach(dll ${MINGW_RUNTIME_DLLS})
  if(EXISTS ${dll})
    install(FILES ${dll} DESTINATION bin)
  endif()
endforeach()

install(TARGETS TarkBrowseHost RUNTIME DESTINATION bin)

install(EXPORT TarkBrowserUtilTargets NAMESPACE TarkBrowserUtil::
        FILE TarkBrowserUtilTargets.cmake DESTINATION ${TBU_INSTALL_CMAKEDIR})
configure_package_config_file(${CMAKE_SOURCE_DIR}/cmake/TarkBrowserUtilConfig.cmake.in
  ${CMAKE_BINARY_DIR}/package/TarkBrowserUtilConfig.cmake
  INSTALL_DESTINATION ${TBU_INSTALL_CMAKEDIR})
# The version file also turns away a consumer whose pointer size is not 64 bits.
write_basic_package_version_file(${CMAKE_BINARY_DIR}/package/TarkBrowserUtilConfigVersion.cmake
  VERSION ${PROJECT_VERSION} COMPATIBILITY SameMajorVersion)
install(FILES ${CMAKE_BINARY_DIR}/package/TarkBrowserUtilConfig.cmake
              ${CMAKE_BINARY_DIR}/package/TarkBrowserUtilConfigVersion.cmake
        DESTINATION ${TBU_INSTALL_CMAKEDIR})
