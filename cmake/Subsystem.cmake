# demo_subsystem(NAME [SOURCES file...] [EXCLUDE file...] [DEPS lib...]): a static library
# demo_NAME made of the named .cpp files of the current folder, or else of every .cpp there
# except main.cpp and the excluded ones; of the backend files (NameSse2.cpp, NameNeon.cpp,
# NameGeneric.cpp) only those of the build's DEMO_SIMD. A library depends only on those
# below it.
function(demo_subsystem name)
  cmake_parse_arguments(ARG "" "" "SOURCES;EXCLUDE;DEPS" ${ARGN})
  if(ARG_SOURCES)
    list(TRANSFORM ARG_SOURCES PREPEND ${CMAKE_CURRENT_SOURCE_DIR}/ OUTPUT_VARIABLE sources)
  else()
    file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
    list(FILTER sources EXCLUDE REGEX "/main\\.cpp$")
    # A platform unit has a POSIX and a Windows file (PlatformFilesPosix.cpp, ...Windows.cpp).
    if(WIN32)
      list(FILTER sources EXCLUDE REGEX "Posix\\.cpp$")
    else()
      list(FILTER sources EXCLUDE REGEX "Windows\\.cpp$")
    endif()
    foreach(excluded IN LISTS ARG_EXCLUDE)
      list(REMOVE_ITEM sources ${CMAKE_CURRENT_SOURCE_DIR}/${excluded})
    endforeach()
    foreach(source IN LISTS sources)
      if(source MATCHES "(Sse2|Neon|Generic)\\.cpp$" AND NOT CMAKE_MATCH_1 STREQUAL DEMO_SIMD)
        list(REMOVE_ITEM sources ${source})
      endif()
    endforeach()
  endif()
  if(NOT sources)
    set(sources ${PROJECT_SOURCE_DIR}/cmake/empty.cpp)
  endif()
  add_library(demo_${name} STATIC ${sources})
  target_include_directories(demo_${name} PUBLIC ${PROJECT_SOURCE_DIR}/src)
  if(ARG_DEPS)
    target_link_libraries(demo_${name} PUBLIC ${ARG_DEPS})
  endif()
endfunction()

# demo_test_dir(DIR LIBS...): one GoogleTest executable test_DIR from tests/DIR/*.cpp.
function(demo_test_dir dir)
  file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/${dir}/*.cpp)
  # Tests that drive a program through the POSIX shell; on Windows scripts/test-windows.sh
  # drives the programs instead.
  if(WIN32)
    list(FILTER sources EXCLUDE REGEX "CliTest\\.cpp$")
  endif()
  if(NOT sources)
    return()
  endif()
  add_executable(test_${dir} ${sources})
  target_link_libraries(test_${dir} PRIVATE ${ARGN} GTest::gtest GTest::gtest_main Threads::Threads)
  target_include_directories(test_${dir} PRIVATE ${CMAKE_CURRENT_SOURCE_DIR})
  list(JOIN CMAKE_CROSSCOMPILING_EMULATOR " " emulator)
  target_compile_definitions(test_${dir} PRIVATE
    TEST_EMULATOR="${emulator}"
    TEST_STAGE_DIR="${PROJECT_BINARY_DIR}/stage"
    TEST_SOURCE_DIR="${PROJECT_SOURCE_DIR}"
    TEST_BINARY_DIR="${PROJECT_BINARY_DIR}")
  # A cross build cannot run its tests while building: they are listed when CTest runs.
  if(CMAKE_CROSSCOMPILING)
    set(discovery DISCOVERY_MODE PRE_TEST)
  endif()
  gtest_discover_tests(test_${dir} DISCOVERY_TIMEOUT 60 ${discovery} PROPERTIES TIMEOUT 600)
endfunction()
