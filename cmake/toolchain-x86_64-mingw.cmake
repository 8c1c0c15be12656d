# 64-bit Windows: the same tree for 64-bit hosts and for machines whose
# kernel runs only 64-bit code (tests under wine64 in a 64-bit prefix).
set(CMAKE_SYSTEM_PROCESSOR x86_64)
include(${CMAKE_CURRENT_LIST_DIR}/MinGW.cmake)
