# 64-bit Windows build: runs the tests under Wine.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(MINGW_TRIPLE x86_64-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
# The 64-bit loader itself: the plain "wine" wrapper tries the 32-bit one first.
set(CMAKE_CROSSCOMPILING_EMULATOR /usr/lib/wine/wine64)
