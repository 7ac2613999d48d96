# Packages made by CPack from the install rules (cmake/install.cmake):
#   Linux:   sympack_<version>_<arch>.deb for Debian 12   (cpack -G DEB)
#   Windows: sympack-<version>-windows-x64.zip           (cpack -G ZIP)
# scripts/package-deb.sh and scripts/package-windows.sh make and check them.

set(CPACK_PACKAGE_NAME sympack)
set(CPACK_PACKAGE_VENDOR "the sympack developers")
set(CPACK_PACKAGE_CONTACT "sympack developers <dev@sympack.invalid>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "FST4/FST4W channel symbols for PIC beacon assembler sources")
set(CPACK_RESOURCE_FILE_LICENSE ${PROJECT_SOURCE_DIR}/LICENSE)
set(CPACK_STRIP_FILES ON)

if(WIN32)
  set(CPACK_GENERATOR ZIP)
  set(CPACK_PACKAGE_FILE_NAME sympack-${PROJECT_VERSION}-windows-x64)
else()
  set(CPACK_GENERATOR DEB)
  set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
  set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
  set(CPACK_DEBIAN_PACKAGE_SECTION hamradio)
  set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
  set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
  set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
  # The long description; CPack puts the summary above it.
  set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "sympack turns a message into the 160 four-level FST4 or FST4W channel
symbols, packs them four to a byte and writes them as data lines into an
assembler include file for a PIC microcontroller beacon, and copies the
same text to the clipboard. It runs a simulator, FST4SIM.EXE, to compute
the symbols; its own, bit-exact with the one of WSJT-X, comes with it.
.
The package also holds the FST4/FST4W encoder library (static library,
C++ header, CMake package and pkg-config file) for beacon projects that
encode on their own.")
endif()

include(CPack)
