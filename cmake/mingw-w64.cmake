# Cross-builds the core, tolvar-cli and the tests for 64-bit Windows with Debian's MinGW-w64
# (g++-mingw-w64-x86-64-posix: the posix thread model, which std::thread needs). The programs
# are linked statically, so a .exe runs with no DLL beside it; with Wine installed, CTest and
# test discovery run them through it.
#   cmake -S . -B build-windows -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64.cmake \
#         -DGTest_DIR=<googletest built with this file>/lib/cmake/GTest
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(TOLVAR_MINGW x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${TOLVAR_MINGW}-gcc-posix)
set(CMAKE_CXX_COMPILER ${TOLVAR_MINGW}-g++-posix)
set(CMAKE_RC_COMPILER ${TOLVAR_MINGW}-windres)

# Libraries and headers come only from the MinGW tree: the host's glibc headers would break
# the build. Programs (the build's own tools) come from the host.
set(CMAKE_FIND_ROOT_PATH /usr/${TOLVAR_MINGW})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# libgcc, libstdc++ and winpthread inside each .exe.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")

# CLI11 and nlohmann-json are header-only, but the host's package files put /usr/include on
# the include path. These stand-ins give the same targets over a folder holding only their
# headers.
set(CLI11_DIR ${CMAKE_CURRENT_LIST_DIR}/solo_cabeceras CACHE PATH "")
set(nlohmann_json_DIR ${CMAKE_CURRENT_LIST_DIR}/solo_cabeceras CACHE PATH "")

find_program(TOLVAR_WINE NAMES wine64 wine PATHS /usr/lib/wine NO_CMAKE_FIND_ROOT_PATH)
if(TOLVAR_WINE)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${TOLVAR_WINE})
  # Tests are listed when CTest runs, not at every link: each listing starts Wine.
  set(CMAKE_GTEST_DISCOVER_TESTS_DISCOVERY_MODE PRE_TEST)
endif()
