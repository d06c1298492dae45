# cpack makes the packages of what the install rules in src/ install: on
# Linux a Debian package (the program, its man page, and as documentation
# the README, the copyright file and the changelog), in the Windows cross
# build a zip of corvane.exe with the README and the licence.
# tools/make-packages.sh builds and checks both.
set(CPACK_PACKAGE_NAME corvane)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "Corvane")
# No address yet: lintian calls this contact malformed, and
# tools/make-packages.sh lets that one tag (and only it) pass.
set(CPACK_PACKAGE_CONTACT "Corvane developers")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
    "writes makefiles for the Borland C++ 5.5 command-line tools")
set(CPACK_STRIP_FILES ON)

if(WIN32)
  # The zip holds only corvane.exe: cpack need not build every test of the
  # cross build first (tools/make-packages.sh builds the program itself).
  set(CMAKE_SKIP_INSTALL_ALL_DEPENDENCY ON)
  set(CPACK_GENERATOR ZIP)
  set(CPACK_PACKAGE_FILE_NAME corvane-${PROJECT_VERSION}-windows)
else()
  set(CPACK_GENERATOR DEB)
  set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
  set(CPACK_DEBIAN_PACKAGE_SECTION devel)
  set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
  # The dependencies are read off the shared libraries the program links
  # (dpkg-shlibdeps, from dpkg-dev), so they follow the build machine.
  set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
  set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
      "An interactive console program that writes makefiles for the free Borland\n\
C++ 5.5 command-line tools (BCC32, ILink32, Borland Make), which run under\n\
Wine on Linux. It finds the C and C++ sources of a directory, lets the user\n\
edit the project on three 80 x 25 text screens, and keeps it in a plain-text\n\
project file.")
endif()

include(CPack)
