# One static library per source folder, so a new file in a folder needs no
# CMake edit.  A folder without sources yet becomes an interface library.
function(velmora_module name)
  cmake_parse_arguments(ARG "" "" "DEPS;PRIVATE_INCLUDES;PRIVATE_DEFINES" ${ARGN})
  file(GLOB sources CONFIGURE_DEPENDS
       ${CMAKE_CURRENT_SOURCE_DIR}/${name}/*.cpp
       ${CMAKE_CURRENT_SOURCE_DIR}/${name}/*.c)
  set(target velmora_${name})
  if(sources)
    add_library(${target} STATIC ${sources})
    target_include_directories(${target} PUBLIC ${VELMORA_SRC_DIR})
    target_link_libraries(${target} PUBLIC ${ARG_DEPS})
    target_include_directories(${target} PRIVATE ${ARG_PRIVATE_INCLUDES})
    target_compile_definitions(${target} PRIVATE ${ARG_PRIVATE_DEFINES})
  else()
    add_library(${target} INTERFACE)
    target_include_directories(${target} INTERFACE ${VELMORA_SRC_DIR})
    target_link_libraries(${target} INTERFACE ${ARG_DEPS})
  endif()
endfunction()

# One GoogleTest binary per test folder; every *_test.cpp in it joins.
function(velmora_test_folder name)
  cmake_parse_arguments(ARG "" "" "DEPS;LABELS" ${ARGN})
  file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/${name}/*_test.cpp)
  if(NOT sources)
    return()
  endif()
  set(target velmora_${name}_tests)
  add_executable(${target} ${sources})
  target_include_directories(${target} PRIVATE ${CMAKE_CURRENT_SOURCE_DIR})
  target_link_libraries(${target} PRIVATE ${ARG_DEPS} GTest::gtest GTest::gtest_main)
  target_compile_definitions(${target} PRIVATE
    VELMORA_SOURCE_DIR="${PROJECT_SOURCE_DIR}"
    VELMORA_BINARY_DIR="${PROJECT_BINARY_DIR}")
  gtest_discover_tests(${target}
    DISCOVERY_TIMEOUT 60
    PROPERTIES LABELS "${ARG_LABELS}" ENVIRONMENT "SDL_AUDIODRIVER=dummy")
endfunction()
