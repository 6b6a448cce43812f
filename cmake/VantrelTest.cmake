# vantrel_add_test, the one way a test program is made, for every folder
# that has tests. Included from the top level when testing is on, so that no
# folder depends on the order in which the others are added.
find_package(GTest REQUIRED)
include(GoogleTest)

# vantrel_add_test(NAME SOURCES... [LIBS libs...] [GUI] [NO_MAIN])
# Builds one GoogleTest program and registers its tests with CTest. GUI tests
# run on Qt's offscreen platform, so they need no display. NO_MAIN programs
# bring their own main (Qt tests make their QApplication there).
function(vantrel_add_test name)
  cmake_parse_arguments(ARG "GUI;NO_MAIN" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE vantrel_test_support ${ARG_LIBS}
                                        GTest::gtest)
  if(NOT ARG_NO_MAIN)
    target_link_libraries(${name} PRIVATE GTest::gtest_main)
  endif()
  set(env "VANTREL_CLI=$<TARGET_FILE:vantrel-cli>")
  if(ARG_GUI)
    list(APPEND env "QT_QPA_PLATFORM=offscreen")
  endif()
  gtest_discover_tests(${name} PROPERTIES ENVIRONMENT "${env}"
                       DISCOVERY_TIMEOUT 60)
endfunction()

