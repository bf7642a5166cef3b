# Cross-compiles for 64-bit Windows with Debian's MinGW-w64 (POSIX threads),
# against the Qt for MinGW that lies in ../shared/qt-mingw beside the checkout.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(CMAKE_C_COMPILER x86_64-w64-mingw32-gcc-posix)
set(CMAKE_CXX_COMPILER x86_64-w64-mingw32-g++-posix)
set(CMAKE_RC_COMPILER x86_64-w64-mingw32-windres)

get_filename_component(ZORVEL_QT_MINGW "${CMAKE_CURRENT_LIST_DIR}/../../shared/qt-mingw" ABSOLUTE)
if(NOT EXISTS "${ZORVEL_QT_MINGW}/lib/cmake/Qt6/Qt6Config.cmake")
  message(FATAL_ERROR "No Qt for MinGW at ${ZORVEL_QT_MINGW} (../shared/qt-mingw beside the checkout)")
endif()

# Libraries and headers only from the cross sysroot and that Qt; programs
# (moc, rcc and the other host tools) from the build machine's Qt.
set(CMAKE_FIND_ROOT_PATH /usr/x86_64-w64-mingw32 "${ZORVEL_QT_MINGW}")
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
set(QT_HOST_PATH /usr CACHE PATH "The build machine's Qt, for its tools")
set(QT_HOST_PATH_CMAKE_DIR /usr/lib/x86_64-linux-gnu/cmake CACHE PATH "")

# The runtime DLLs every program needs beside it.
set(ZORVEL_MINGW_RUNTIME_DLLS
    /usr/lib/gcc/x86_64-w64-mingw32/12-posix/libstdc++-6.dll
    /usr/lib/gcc/x86_64-w64-mingw32/12-posix/libgcc_s_seh-1.dll
    /usr/x86_64-w64-mingw32/lib/libwinpthread-1.dll)

# Tests and tools built here run under Wine (cmake/wine-run.sh).
set(CMAKE_CROSSCOMPILING_EMULATOR "${CMAKE_CURRENT_LIST_DIR}/wine-run.sh")
