# Settings for the Windows build (mingw-w64; scripts/build-windows.sh configures it).
# The static libraries need their own dependencies listed: pkg-config is asked for those.
set(PKG_CONFIG_ARGN --static)
# The C and C++ runtimes and the thread library go into each program, so that only the
# LGPL libmpg123 is a DLL beside them. winpthreads is taken whole: libstdc++, linked after
# it, uses it.
set(CMAKE_CXX_STANDARD_LIBRARIES
  "-static-libgcc -static-libstdc++ -Wl,-Bstatic,--whole-archive -lwinpthread -Wl,--no-whole-archive,-Bdynamic ${CMAKE_CXX_STANDARD_LIBRARIES}")

# The demo is a window program (no console window of its own); the tools are console ones.
function(demo_windows_programs)
  if(TARGET demo)
    set_target_properties(demo PROPERTIES WIN32_EXECUTABLE ON)
  endif()
endfunction()
cmake_language(DEFER DIRECTORY ${PROJECT_SOURCE_DIR} CALL demo_windows_programs)
