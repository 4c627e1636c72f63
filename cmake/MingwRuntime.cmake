# The C++ runtime DLLs every binary of ours shares; objects, exceptions and
# std:: types cross our DLL boundaries, so all must use the same copies.
set(MINGW_RUNTIME_DLLS
    /usr/lib/gcc/x86_64-w64-mingw32/12-posix/libstdc++-6.dll
    /usr/lib/gcc/x86_64-w64-mingw32/12-posix/libgcc_s_seh-1.dll
    /usr/x86_64-w64-mingw32/lib/libwinpthread-1.dll)

function(copy_mingw_runtime destination)
  foreach(dll ${MINGW_RUNTIME_DLLS})
    if(EXISTS ${dll})
      file(COPY ${dll} DESTINATION ${destination})
    endif()
  endforeach()
endfunction()
