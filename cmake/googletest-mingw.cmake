# GoogleTest from Debian's sources (package googletest), built with the cross compiler.
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
# Test programs run under Wine without the mingw runtime DLLs beside them.
add_library(tarvelin_test_link INTERFACE)
target_link_options(tarvelin_test_link INTERFACE -static)
