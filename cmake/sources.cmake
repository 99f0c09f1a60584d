# The program's source files, listed once for the build of the program and
# its tests (CMakeLists.txt) and for the fuzz targets (fuzz/CMakeLists.txt).
# Every subsystem folder of src/ feeds one library; the Win32 side
# (*_win32.cpp), the tests (*_test.cpp) and the entry (main.cpp) stand apart.
#   VANTOR_CORE_SOURCES   the portable library
#   VANTOR_WIN32_SOURCES  the Win32 side of the seam
#   VANTOR_TEST_SOURCES   the unit tests beside the code
#   VANTOR_FAKE_SOURCES   the in-memory system the tests run on
function(vantor_sources root)
  file(GLOB_RECURSE all CONFIGURE_DEPENDS ${root}/src/*.cpp)
  set(core ${all})
  list(FILTER core EXCLUDE REGEX "(_win32|_test)\\.cpp$")
  list(FILTER core EXCLUDE REGEX "/src/main\\.cpp$")
  set(win32 ${all})
  list(FILTER win32 INCLUDE REGEX "_win32\\.cpp$")
  set(tests ${all})
  list(FILTER tests INCLUDE REGEX "_test\\.cpp$")
  file(GLOB fake CONFIGURE_DEPENDS ${root}/tests/fake/*.cpp)
  set(VANTOR_CORE_SOURCES ${core} PARENT_SCOPE)
  set(VANTOR_WIN32_SOURCES ${win32} PARENT_SCOPE)
  set(VANTOR_TEST_SOURCES ${tests} PARENT_SCOPE)
  set(VANTOR_FAKE_SOURCES ${fake} PARENT_SCOPE)
endfunction()
