# Shared part of the two mingw-w64 cross toolchains. The caller sets KOVRIN_TRIPLE.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_C_COMPILER   ${KOVRIN_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${KOVRIN_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER  ${KOVRIN_TRIPLE}-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${KOVRIN_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
# Every binary runs on a clean Windows: no libgcc/libstdc++/winpthread DLLs.
set(CMAKE_EXE_LINKER_FLAGS_INIT    "-static -static-libgcc -static-libstdc++")
set(CMAKE_SHARED_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
set(CMAKE_MODULE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
# Tests run under Wine; the wrapper picks the private prefix of this build tree.
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/../scripts/wine-run)
