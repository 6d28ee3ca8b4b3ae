# Cross-compiles for 32-bit Windows with mingw-w64. The posix thread model is the one whose
# libstdc++ has std::thread and std::mutex.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86)

set(CMAKE_C_COMPILER i686-w64-mingw32-gcc-posix)
set(CMAKE_CXX_COMPILER i686-w64-mingw32-g++-posix)
set(CMAKE_ASM_COMPILER i686-w64-mingw32-gcc-posix)
set(CMAKE_RC_COMPILER i686-w64-mingw32-windres)

# The picture libraries built by scripts/setup.sh live beside the compiler's own sysroot, in the
# set-up cache: VELMORA_CACHE, or the folder named in scripts/default-cache-folder, as the scripts
# find it.
if(NOT "$ENV{VELMORA_CACHE}" STREQUAL "")
  set(VELMORA_I686_PREFIX "$ENV{VELMORA_CACHE}/i686")
else()
  file(STRINGS "${CMAKE_CURRENT_LIST_DIR}/../scripts/default-cache-folder" VELMORA_CACHE_FOLDER
       LIMIT_COUNT 1)
  set(VELMORA_I686_PREFIX "${VELMORA_CACHE_FOLDER}/i686")
endif()
set(CMAKE_FIND_ROOT_PATH /usr/i686-w64-mingw32 "${VELMORA_I686_PREFIX}")
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
