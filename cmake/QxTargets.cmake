# Helpers that give every library, test, benchmark and fuzz target the same shape.

# qx_add_library(name [QT] SOURCES ... DEPS ...)
# A static library of one subsystem. Qt-free unless QT is given.
function(qx_add_library name)
  cmake_parse_arguments(A "QT" "" "SOURCES;DEPS" ${ARGN})
  add_library(${name} STATIC ${A_SOURCES})
  target_link_libraries(${name} PUBLIC qx_options ${A_DEPS})
  target_include_directories(${name} PUBLIC ${CMAKE_SOURCE_DIR})
  if(NOT A_QT)
    set_target_properties(${name} PROPERTIES AUTOMOC OFF)
  endif()
endfunction()

# qx_add_gtest(name SOURCES ... DEPS ...) - a GoogleTest executable registered with CTest.
function(qx_add_gtest name)
  cmake_parse_arguments(A "" "" "SOURCES;DEPS;LABELS" ${ARGN})
  if(NOT QX_BUILD_TESTS)
    return()
  endif()
  add_executable(${name} ${A_SOURCES})
  target_link_libraries(${name} PRIVATE qx_options GTest::gtest GTest::gtest_main GTest::gmock ${A_DEPS})
  set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests)
  # Discovered tests take a single environment entry, so the folders are also compiled in.
  target_compile_definitions(${name} PRIVATE
    QX_TEST_SOURCE_DIR="${CMAKE_SOURCE_DIR}" QX_TEST_RUNTIME_DIR="${QX_RUNTIME_DIR}")
  include(GoogleTest)
  gtest_discover_tests(${name}
    WORKING_DIRECTORY ${CMAKE_BINARY_DIR}/tests
    PROPERTIES ENVIRONMENT "QX_RUNTIME_DIR=${QX_RUNTIME_DIR}"
               LABELS "${A_LABELS}"
    DISCOVERY_TIMEOUT 60)
endfunction()

# qx_add_qtest(name SOURCES ... DEPS ...) - a Qt Test executable, run offscreen.
function(qx_add_qtest name)
  cmake_parse_arguments(A "" "" "SOURCES;DEPS;LABELS" ${ARGN})
  if(NOT QX_BUILD_TESTS)
    return()
  endif()
  add_executable(${name} ${A_SOURCES})
  set_target_properties(${name} PROPERTIES AUTOMOC ON RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests)
  target_link_libraries(${name} PRIVATE qx_options Qt6::Test Qt6::Widgets ${A_DEPS})
  add_test(NAME ${name} COMMAND ${name} WORKING_DIRECTORY ${CMAKE_BINARY_DIR}/tests)
  set_tests_properties(${name} PROPERTIES
    ENVIRONMENT "QT_QPA_PLATFORM=offscreen;QX_RUNTIME_DIR=${QX_RUNTIME_DIR};QX_SOURCE_DIR=${CMAKE_SOURCE_DIR}"
    LABELS "${A_LABELS}")
endfunction()

# qx_add_benchmark(name SOURCES ... DEPS ...) - a Google Benchmark executable (never run by CTest).
function(qx_add_benchmark name)
  cmake_parse_arguments(A "" "" "SOURCES;DEPS" ${ARGN})
  if(NOT QX_BUILD_BENCH)
    return()
  endif()
  add_executable(${name} ${A_SOURCES})
  target_link_libraries(${name} PRIVATE qx_options benchmark::benchmark ${A_DEPS})
  set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bench)
endfunction()

# qx_add_fuzzer(name SOURCES ... DEPS ...)
# With QX_FUZZ the target is a libFuzzer binary. Otherwise it is linked with a small driver
# that replays the seed corpus in fuzz/corpus/<name>, and CTest runs that replay so the
# target keeps compiling and its seeds keep passing in every build.
function(qx_add_fuzzer name)
  cmake_parse_arguments(A "" "" "SOURCES;DEPS" ${ARGN})
  add_executable(${name} ${A_SOURCES})
  target_link_libraries(${name} PRIVATE qx_options ${A_DEPS})
  set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/fuzz)
  if(QX_FUZZ)
    target_link_options(${name} PRIVATE -fsanitize=fuzzer)
  else()
    target_sources(${name} PRIVATE ${CMAKE_SOURCE_DIR}/fuzz/replay_main.cpp)
    if(QX_BUILD_TESTS)
      add_test(NAME fuzz_replay_${name}
               COMMAND ${name} ${CMAKE_SOURCE_DIR}/fuzz/corpus/${name})
      set_tests_properties(fuzz_replay_${name} PROPERTIES LABELS "fuzz")
    endif()
  endif()
endfunction()
