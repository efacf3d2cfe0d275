# Settings for the WebAssembly build (emscripten; scripts/build-web.sh configures it).
# The SSE2 paths compile as they are: emscripten maps the intrinsics onto wasm SIMD.
add_compile_options(-msimd128 -msse2)
# emcc puts its own SDL 1.2 headers on the system include path: our SDL2's must come first,
# so imported targets' folders are ordinary -I folders.
set(CMAKE_NO_SYSTEM_FROM_IMPORTED ON)
# libopenmpt's C interface catches its own exceptions: the runtime must support catching.
add_link_options(-fexceptions)

# The offline renderer runs under node with the host's files (NODERAWFS), so the web
# tests can compare its frames with the native build's.
function(demo_web_node_tools)
  if(TARGET demo-render)
    set_property(TARGET demo-render APPEND PROPERTY LINK_OPTIONS
      -sENVIRONMENT=node -sNODERAWFS=1 -sALLOW_MEMORY_GROWTH=1 -sINITIAL_MEMORY=134217728
      -sTOTAL_STACK=8388608 -sEXIT_RUNTIME=1)
  endif()
endfunction()
cmake_language(DEFER DIRECTORY ${PROJECT_SOURCE_DIR} CALL demo_web_node_tools)
