# Cross-build for Windows with Debian's mingw-w64. The including file sets
# ROTULOS_MINGW_TRIPLET and CMAKE_SYSTEM_PROCESSOR.
set(CMAKE_SYSTEM_NAME Windows)

# The posix thread model gives the full std::thread and std::mutex.
set(CMAKE_C_COMPILER ${ROTULOS_MINGW_TRIPLET}-gcc-posix)
set(CMAKE_CXX_COMPILER ${ROTULOS_MINGW_TRIPLET}-g++-posix)
set(CMAKE_RC_COMPILER ${ROTULOS_MINGW_TRIPLET}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${ROTULOS_MINGW_TRIPLET})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# One .exe without runtime DLLs beside it, so it runs from any folder.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")
