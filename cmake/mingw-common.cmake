# Cross build for Windows with Debian's MinGW-w64, for the processor that the
# including toolchain file names in MINGW_PROCESSOR.
#
# MINGW_THREADS picks the compilers' thread model. The shipped binaries use
# win32 (the default): it links no threading runtime, whose functions the
# Windows 95 family and NT 4.0 do not export. The test programs use posix,
# which GoogleTest's std::mutex and std::thread need.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR ${MINGW_PROCESSOR})
if(NOT MINGW_THREADS)
  set(MINGW_THREADS win32)
endif()
list(APPEND CMAKE_TRY_COMPILE_PLATFORM_VARIABLES MINGW_THREADS)
set(CMAKE_C_COMPILER ${MINGW_PROCESSOR}-w64-mingw32-gcc-${MINGW_THREADS})
set(CMAKE_CXX_COMPILER ${MINGW_PROCESSOR}-w64-mingw32-g++-${MINGW_THREADS})
set(CMAKE_RC_COMPILER ${MINGW_PROCESSOR}-w64-mingw32-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${MINGW_PROCESSOR}-w64-mingw32)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/../scripts/wine-run)
