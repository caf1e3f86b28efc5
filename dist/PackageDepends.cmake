# Read by cpack before it makes a package: the Debian package's dependencies, from the libraries
# the built game links (dpkg-shlibdeps on the executable), and the GL (X11) and EGL (Wayland, no
# display) loaders that SDL opens itself while it runs. CPack's own search runs `file` on every
# file of the package, one process each: over the data's five hundred files that costs minutes on
# a busy machine, for the one executable among them.
if(CPACK_GENERATOR STREQUAL "DEB")
  set(work "${CPACK_PACKAGE_DIRECTORY}/_CPack_Packages/shlibdeps")
  file(WRITE "${work}/debian/control" "")
  execute_process(COMMAND dpkg-shlibdeps -O -e "${CPACK_QUILTORA_EXECUTABLE}"
                  WORKING_DIRECTORY "${work}" RESULT_VARIABLE status OUTPUT_VARIABLE found ERROR_VARIABLE errors)
  if(NOT status EQUAL 0 OR NOT found MATCHES "shlibs:Depends=([^\n]+)")
    message(FATAL_ERROR "The package's dependencies: dpkg-shlibdeps failed: ${errors}")
  endif()
  set(CPACK_DEBIAN_PACKAGE_DEPENDS "${CMAKE_MATCH_1}, libgl1, libegl1")
  file(REMOVE_RECURSE "${work}")
endif()
