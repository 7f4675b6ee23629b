# Compile and link settings of the Windows build.
#
# The program is written in the Win32 idiom (fixed buffers, wsprintfW, handle wrappers) and
# built without exceptions, RTTI or thread-safe statics: in a static mingw build each of
# these pulls in 100-200 KB of runtime for a tool whose whole logic is a few kilobytes.

# Definitions every target sees, the tests included.
add_library(tarvelin_windows_defs INTERFACE)
target_compile_definitions(tarvelin_windows_defs INTERFACE
  UNICODE _UNICODE WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0601)

# Code generation of the program's own code only: the tests keep exceptions for GoogleTest.
add_library(tarvelin_windows_flags INTERFACE)

add_library(tarvelin_windows_link INTERFACE)
if(MSVC)
  target_compile_options(tarvelin_windows_flags INTERFACE /GR- /EHs-c- /Zc:threadSafeInit- /GL)
  target_link_options(tarvelin_windows_link INTERFACE /OPT:REF /OPT:ICF /Brepro /LTCG)
else()
  # Link-time optimisation for the programs: the linker alone keeps every function of an object
  # it pulls in (their unwind entries keep them alive), so without it each program would carry
  # whatever else shares an object with what it uses. Fat objects let the test programs, which
  # link without it, use the same libraries.
  target_compile_options(tarvelin_windows_flags INTERFACE
    -Os -fno-exceptions -fno-rtti -fno-threadsafe-statics
    -ffunction-sections -fdata-sections -flto -ffat-lto-objects)
  target_link_options(tarvelin_windows_link INTERFACE
    # One partition: the programs are small, and mingw's GCC 12 stops with an internal error
    # in its alias pass when a routine lands in another partition than what it refers to.
    -Os -flto=auto -flto-partition=one -static -municode -s -Wl,--gc-sections
    # No time stamp in the header: two builds of one commit are byte-identical.
    -Wl,--no-insert-timestamp
    -Wl,--dynamicbase -Wl,--nxcompat)
  if(CMAKE_SIZEOF_VOID_P EQUAL 8)
    target_link_options(tarvelin_windows_link INTERFACE -Wl,--high-entropy-va)
  endif()
endif()
# The resource script finds resource.h, version.h, the manifest and the icon beside it.
set(CMAKE_RC_FLAGS "${CMAKE_RC_FLAGS} -I${CMAKE_SOURCE_DIR}/res")
