# Turns project(VERSION) into the version header that the window, the
# command line and the version record all read.
string(LENGTH "${PROJECT_VERSION_MINOR}" _minor_len)
set(_minor "${PROJECT_VERSION_MINOR}")
if(_minor_len LESS 2)
  set(_minor "0${_minor}")
endif()
set(_revision "000${PROJECT_VERSION_TWEAK}")
string(LENGTH "${_revision}" _rev_len)
math(EXPR _rev_start "${_rev_len} - 4")
string(SUBSTRING "${_revision}" ${_rev_start} 4 _revision)
set(VANTREL_VERSION_DISPLAY
    "${PROJECT_VERSION_MAJOR}.${_minor}.${_revision}"
    CACHE INTERNAL "Version as shown to users")

# The project's web address, in the version record, the package and the
# metainfo.
set(VANTREL_WEB_ADDRESS "https://vantrel.org/"
    CACHE INTERNAL "The project's web address")

configure_file(${CMAKE_CURRENT_LIST_DIR}/vantrel_version.h.in
               ${CMAKE_BINARY_DIR}/generated/vantrel_version.h @ONLY)
add_library(vantrel_version INTERFACE)
target_include_directories(vantrel_version
                           INTERFACE ${CMAKE_BINARY_DIR}/generated)
