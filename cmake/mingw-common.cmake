# The posix thread model: GoogleTest needs std::mutex.
set(CMAKE_C_COMPILER ${KELPO_MINGW_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${KELPO_MINGW_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER ${KELPO_MINGW_TRIPLE}-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${KELPO_MINGW_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
# No MinGW runtime DLL beside the program: link the C and C++ runtimes statically.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
