# optalis_add_test(<name> SOURCES ... LIBS ...): one QtTest executable run headless by CTest.
function(optalis_add_test name)
  cmake_parse_arguments(T "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${T_SOURCES})
  target_link_libraries(${name} PRIVATE optalis_options Qt6::Test ${T_LIBS})
  add_test(NAME ${name} COMMAND ${name})
  set_tests_properties(${name} PROPERTIES
    ENVIRONMENT "QT_QPA_PLATFORM=offscreen;LC_ALL=C.UTF-8;QT_LOGGING_RULES=qt.qpa.*=false"
    TIMEOUT 300)
endfunction()

# The absolute path of this machine's file <path> as the tests see it: a cross-built test runs
# under Wine, which shows this machine's root as drive Z:.
function(optalis_test_path var path)
  if(CMAKE_CROSSCOMPILING AND WIN32)
    set(${var} "Z:${path}" PARENT_SCOPE)
  else()
    set(${var} "${path}" PARENT_SCOPE)
  endif()
endfunction()
optalis_test_path(OPTALIS_TEST_SOURCE_DIR "${PROJECT_SOURCE_DIR}")
optalis_test_path(OPTALIS_TEST_BINARY_DIR "${PROJECT_BINARY_DIR}")
