# TarkBrowserUtil.dll: the library itself, one folder per subsystem.
set(TBU_SOURCE_DIRS module shellmodel fileutil fileops drivetree browsedlg controls)
set(TBU_SOURCES)
foreach(dir ${TBU_SOURCE_DIRS})
  file(GLOB dir_sources CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/${dir}/*.cpp)
  list(APPEND TBU_SOURCES ${dir_sources})
endforeach()

# The module's own file holds only its version block; everything the user sees
# lives in the language resource module.
include(${CMAKE_SOURCE_DIR}/cmake/Version.cmake)
version_resource(TBU_VERSION_RC TarkBrowserUtil TarkBrowserUtil.dll "TarkBrowserUtil file-browsing library")
add_library(TarkBrowserUtil SHARED ${TBU_SOURCES} ${TBU_VERSION_RC})
target_include_directories(TarkBrowserUtil
  PUBLIC  $<BUILD_INTERFACE:${CMAKE_SOURCE_DIR}/include> $<INSTALL_INTERFACE:include>
  PRIVATE ${CMAKE_SOURCE_DIR})
target_compile_definitions(TarkBrowserUtil PRIVATE TARKBROWSERUTIL_BUILD)
target_link_libraries(TarkBrowserUtil
  PUBLIC afx TarkErrorCodes TarkLanguage TarkGDI
  PRIVATE shell32 ole32 comctl32 user32 gdi32 advapi32 shlwapi uuid)
set_target_properties(TarkBrowserUtil PROPERTIES PREFIX "" OUTPUT_NAME TarkBrowserUtil
                      IMPORT_PREFIX "" IMPORT_SUFFIX ".lib")
