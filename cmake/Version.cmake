# version_resource(OUT_VAR name file description): writes a version block .rc
function(version_resource out_var name file description)
  set(VERSION_NAME ${name})
  set(VERSION_FILE ${file})
  set(VERSION_DESCRIPTION ${description})
  set(rc ${CMAKE_BINARY_DIR}/version/${name}.version.rc)
  configure_file(${CMAKE_SOURCE_DIR}/cmake/Version.rc.in ${rc} @ONLY)
  set(${out_var} ${rc} PARENT_SCOPE)
endfunction()
