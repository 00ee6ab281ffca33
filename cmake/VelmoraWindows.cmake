# What the Windows build links in place of the Linux packages: the system's
# own OpenGL, GLU and multimedia libraries, and the header-only libraries
# Debian ships (CLI11, nlohmann-json, stb), read from the build machine's
# include folder through a folder of links that holds only them, so that no
# Linux system header can be picked up by mistake.
set(VELMORA_HEADER_LINKS ${CMAKE_BINARY_DIR}/header-only)
file(MAKE_DIRECTORY ${VELMORA_HEADER_LINKS})
foreach(folder CLI nlohmann stb)
  if(NOT EXISTS /usr/include/${folder})
    message(FATAL_ERROR "/usr/include/${folder} is missing: run ./setup.sh windows")
  endif()
  file(CREATE_LINK /usr/include/${folder} ${VELMORA_HEADER_LINKS}/${folder} SYMBOLIC)
endforeach()

set(CLI11_INCLUDE_DIR ${VELMORA_HEADER_LINKS})
add_library(nlohmann_json::nlohmann_json INTERFACE IMPORTED)
target_include_directories(nlohmann_json::nlohmann_json SYSTEM INTERFACE ${VELMORA_HEADER_LINKS})
# Linux links Debian's libstb; here the same headers are compiled once.
add_library(velmora_stb STATIC ${PROJECT_SOURCE_DIR}/deps/windows/stb_implementations.c)
target_include_directories(velmora_stb SYSTEM PUBLIC ${VELMORA_HEADER_LINKS}/stb)
target_compile_options(velmora_stb PRIVATE -w)
add_library(PkgConfig::STB ALIAS velmora_stb)
add_library(OpenGL::GL INTERFACE IMPORTED)
target_link_libraries(OpenGL::GL INTERFACE opengl32)
set(GLU_LIBRARY glu32)
include_directories(BEFORE SYSTEM ${PROJECT_SOURCE_DIR}/deps/windows/include)
find_package(Threads REQUIRED)

# The exe must start on a bare Windows: the C and C++ runtimes and the
# threads library are linked in, so only system DLLs are imported.
add_link_options(-static -static-libgcc -static-libstdc++)
