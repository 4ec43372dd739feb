# Warnings and sanitizers shared by every target of the project.
add_library(qx_options INTERFACE)
target_compile_options(qx_options INTERFACE
  -Wall -Wextra -Wpedantic -Wshadow -Wconversion -Wno-sign-conversion
  -Wnon-virtual-dtor -Woverloaded-virtual)
# Every symbol bound at load time, so the relocations can be made read-only (RELRO) all the way,
# as Debian links its programs.
target_link_options(qx_options INTERFACE LINKER:-z,relro LINKER:-z,now)

if(QX_SANITIZE)
  set(_qx_san "")
  foreach(s IN LISTS QX_SANITIZE)
    list(APPEND _qx_san "-fsanitize=${s}")
  endforeach()
  add_compile_options(${_qx_san} -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
  add_link_options(${_qx_san})
endif()

if(QX_FUZZ)
  if(NOT CMAKE_CXX_COMPILER_ID MATCHES "Clang")
    message(FATAL_ERROR "The fuzz build needs clang")
  endif()
  add_compile_options(-fsanitize=fuzzer-no-link,address,undefined -fno-omit-frame-pointer)
  add_link_options(-fsanitize=address,undefined)
endif()
