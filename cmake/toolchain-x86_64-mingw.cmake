# Cross toolchain: 64-bit Windows through mingw-w64 (posix thread model).
# The programs we ship are 32-bit; this build serves machines that cannot
# execute 32-bit code, where the tests run at 64 bits.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR AMD64)

set(VELK_TRIPLE x86_64-w64-mingw32)
find_program(CMAKE_C_COMPILER NAMES ${VELK_TRIPLE}-gcc-posix ${VELK_TRIPLE}-gcc REQUIRED)
find_program(CMAKE_CXX_COMPILER NAMES ${VELK_TRIPLE}-g++-posix ${VELK_TRIPLE}-g++ REQUIRED)
find_program(CMAKE_RC_COMPILER NAMES ${VELK_TRIPLE}-windres REQUIRED)

set(CMAKE_FIND_ROOT_PATH /usr/${VELK_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)

# Every test and the run command start Windows programs through this wrapper,
# which sets up the project's Wine environment for this width.
set(CMAKE_CROSSCOMPILING_EMULATOR /usr/bin/env VELK_ARCH=x64 ${CMAKE_CURRENT_LIST_DIR}/../tools/wine-exec.sh)
