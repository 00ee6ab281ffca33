# One static library per source folder, so a new file in a folder needs no
# CMake edit.  A folder without sources yet becomes an interface library.
# EXCLUDE names files of the folder that another library builds; FOLDER
# builds the sources of another folder instead (a platform's own, such as
# platform/win32), which use the headers of the module's folder.
function(velmora_module name)
  cmake_parse_arguments(ARG "" "FOLDER" "DEPS;PRIVATE_INCLUDES;PRIVATE_DEFINES;EXCLUDE" ${ARGN})
  if(NOT ARG_FOLDER)
    set(ARG_FOLDER ${name})
  endif()
  file(GLOB sources CONFIGURE_DEPENDS
       ${CMAKE_CURRENT_SOURCE_DIR}/${ARG_FOLDER}/*.cpp
       ${CMAKE_CURRENT_SOURCE_DIR}/${ARG_FOLDER}/*.c)
  foreach(excluded ${ARG_EXCLUDE})
    list(REMOVE_ITEM sources ${CMAKE_CURRENT_SOURCE_DIR}/${excluded})
  endforeach()
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

function(velmora_test_binary target sources deps labels)
  add_executable(${target} ${sources})
  target_include_directories(${target} PRIVATE ${CMAKE_CURRENT_SOURCE_DIR})
  target_link_libraries(${target} PRIVATE ${deps} GTest::gtest GTest::gtest_main)
  target_compile_definitions(${target} PRIVATE
    VELMORA_SOURCE_DIR="${PROJECT_SOURCE_DIR}"
    VELMORA_BINARY_DIR="${PROJECT_BINARY_DIR}")
  gtest_discover_tests(${target}
    DISCOVERY_TIMEOUT 60
    PROPERTIES LABELS "${labels}" ENVIRONMENT "SDL_AUDIODRIVER=dummy")
endfunction()

# One GoogleTest binary per test folder; every *_test.cpp in it joins.
# GL_FILES names the folder's tests that need a GL context: they form a
# second binary, velmora_<name>_gl_tests, labelled gl, with the test context.
function(velmora_test_folder name)
  cmake_parse_arguments(ARG "" "" "DEPS;LABELS;GL_FILES" ${ARGN})
  file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/${name}/*_test.cpp)
  set(gl_sources)
  foreach(file ${ARG_GL_FILES})
    list(APPEND gl_sources ${CMAKE_CURRENT_SOURCE_DIR}/${name}/${file})
  endforeach()
  if(gl_sources)
    list(REMOVE_ITEM sources ${gl_sources})
    velmora_test_binary(velmora_${name}_gl_tests "${gl_sources}" "${ARG_DEPS};velmora_test_support" gl)
  endif()
  if(sources)
    velmora_test_binary(velmora_${name}_tests "${sources}" "${ARG_DEPS}" "${ARG_LABELS}")
  endif()
endfunction()
