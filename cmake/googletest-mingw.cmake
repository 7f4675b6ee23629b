# GoogleTest from Debian's sources (package googletest), built with the cross compiler.
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
# Test programs run under Wine without the mingw runtime DLLs beside them. They link the fat
# objects' plain code, not their link-time optimisation: a test that stands in for a routine of
# the program (the LSA calls, the account database) replaces it at link time, which the
# optimiser of mingw's GCC 12 can fail on with an internal error.
add_library(tarvelin_test_link INTERFACE)
target_link_options(tarvelin_test_link INTERFACE -static -fno-lto)
