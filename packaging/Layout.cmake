# Where an installation puts things, worked out before the programs are defined:
# the hosts compile in the way from their own folder to the module's.
include(GNUInstallDirs)

# The module is private to the two hosts: a folder of its own under the library folder.
set(BF_MODULE_INSTALL_DIR ${CMAKE_INSTALL_LIBDIR}/basicfilters)
# Relative, so that an installed tree still works wherever it is moved (a staging
# folder, a package's root, a test's temporary prefix).
file(RELATIVE_PATH BF_MODULE_DIR_FROM_PROGRAM
  ${CMAKE_INSTALL_FULL_BINDIR} ${CMAKE_INSTALL_FULL_LIBDIR}/basicfilters)

# The version both hosts show, from the project's own.
configure_file(${CMAKE_CURRENT_LIST_DIR}/Version.h.in ${CMAKE_BINARY_DIR}/generated/version/BasicFiltersVersion.h @ONLY)
add_library(basicfilters_version INTERFACE)
target_include_directories(basicfilters_version INTERFACE ${CMAKE_BINARY_DIR}/generated/version)
