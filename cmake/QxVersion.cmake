# The one version of the program: CMake's project version. Code includes "qx480_version.h"
# (target qx_version); the skin, the package, its metadata and its changelog take
# PROJECT_VERSION and QX_RELEASE_DATE directly.
configure_file(${CMAKE_CURRENT_LIST_DIR}/qx480_version.h.in
               ${CMAKE_BINARY_DIR}/generated/qx480_version.h @ONLY)
add_library(qx_version INTERFACE)
target_include_directories(qx_version INTERFACE ${CMAKE_BINARY_DIR}/generated)
