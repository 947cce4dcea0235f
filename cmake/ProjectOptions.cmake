# One interface target that every Zenvora target links: language level,
# warnings and Qt's strictness switches.
add_library(zenvora_options INTERFACE)
target_compile_features(zenvora_options INTERFACE cxx_std_20)
# Includes name their folder from the root ("engine/JobRun.h"), so the layer
# a file reaches into shows at the include line and the layer check reads it.
target_include_directories(zenvora_options INTERFACE ${PROJECT_SOURCE_DIR})
# The flags below are GCC's, which Clang takes too; another compiler gets its
# own warning level.
if(CMAKE_CXX_COMPILER_ID MATCHES "^(GNU|Clang)$")
  set(ZENVORA_GNU_FLAGS ON)
endif()
if(ZENVORA_GNU_FLAGS)
  target_compile_options(zenvora_options INTERFACE
    -Wall -Wextra -pedantic -Wold-style-cast -Wshadow -Wnon-virtual-dtor
    $<$<BOOL:${ZENVORA_WERROR}>:-Werror>)
elseif(MSVC)
  target_compile_options(zenvora_options INTERFACE /W4 $<$<BOOL:${ZENVORA_WERROR}>:/WX>)
endif()
target_compile_definitions(zenvora_options INTERFACE
  QT_NO_CAST_FROM_ASCII
  QT_NO_CAST_TO_ASCII
  QT_NO_CAST_FROM_BYTEARRAY
  QT_NO_NARROWING_CONVERSIONS_IN_CONNECT
  QT_NO_CONTEXTLESS_CONNECT
  QT_NO_KEYWORDS
  QT_DISABLE_DEPRECATED_UP_TO=0x060400)
# A program names only the shared libraries it calls: zenvora-cli takes the
# encoders' signal handling but not their libavformat, whose hundred-odd
# dependencies would cost every start tens of milliseconds.
if(ZENVORA_GNU_FLAGS AND NOT APPLE)
  target_link_options(zenvora_options INTERFACE LINKER:--as-needed)
endif()

# Debian's hardening (stack protector, fortified functions, read-only
# relocations bound at start) as dpkg-buildflags states it, so a package made
# from this build is hardened like one built by Debian's own tools. The build
# type alone decides optimisation and debug information, and the path map
# dpkg derives from the current folder is left out: the compile lines are the
# same from wherever CMake runs, so nothing rebuilds for that. A sanitizer
# build goes without: the sanitizers miss calls made to fortified variants.
find_program(DPKG_BUILDFLAGS dpkg-buildflags)
if(DPKG_BUILDFLAGS AND ZENVORA_GNU_FLAGS AND NOT ZENVORA_SANITIZE)
  foreach(kind CPPFLAGS CXXFLAGS LDFLAGS)
    execute_process(
      COMMAND ${CMAKE_COMMAND} -E env DEB_BUILD_MAINT_OPTIONS=hardening=+all
              ${DPKG_BUILDFLAGS} --get ${kind}
      OUTPUT_VARIABLE flags OUTPUT_STRIP_TRAILING_WHITESPACE COMMAND_ERROR_IS_FATAL ANY)
    separate_arguments(flags UNIX_COMMAND "${flags}")
    list(FILTER flags EXCLUDE REGEX "^-O|^-g$|^-ffile-prefix-map=|^-fdebug-prefix-map=")
    if(kind STREQUAL LDFLAGS)
      target_link_options(zenvora_options INTERFACE ${flags})
    else()
      target_compile_options(zenvora_options INTERFACE ${flags})
    endif()
  endforeach()
endif()
if(ZENVORA_SANITIZE AND ZENVORA_GNU_FLAGS)
  target_compile_options(zenvora_options INTERFACE -fsanitize=address,undefined -fno-omit-frame-pointer)
  target_link_options(zenvora_options INTERFACE -fsanitize=address,undefined)
endif()

# Code built with the sanitizers runs slower, so its tests are given four
# times as long: CTest's timeouts, and the deadlines the window scripts wait
# by, which they read from the environment.
if(ZENVORA_SANITIZE)
  set(ZENVORA_TEST_TIME_FACTOR 4 CACHE STRING "How many times longer the tests may take")
else()
  set(ZENVORA_TEST_TIME_FACTOR 1 CACHE STRING "How many times longer the tests may take")
endif()

# Stretches the deadlines of every test of the calling folder by that factor;
# each folder of tests calls it after its last test.
function(zenvora_scale_test_deadlines)
  get_directory_property(tests TESTS)
  foreach(test ${tests})
    get_test_property(${test} TIMEOUT timeout)
    if(timeout)
      math(EXPR timeout "${timeout} * ${ZENVORA_TEST_TIME_FACTOR}")
      set_tests_properties(${test} PROPERTIES TIMEOUT ${timeout})
    endif()
    set_property(TEST ${test} APPEND PROPERTY ENVIRONMENT
                 "ZENVORA_TEST_TIME_FACTOR=${ZENVORA_TEST_TIME_FACTOR}")
  endforeach()
endfunction()

# Registers a Qt Test executable with CTest. Widget tests run offscreen and
# carry the label "gui"; tests that run real processes and files are "e2e";
# the rest are "unit", quick enough to run while editing (ctest -L unit).
# With SHARDS, CTest runs it once per shard, naming the shard in the
# environment variable SHARD_VARIABLE, so the shards run side by side.
function(zenvora_add_test name)
  cmake_parse_arguments(ARG "WIDGETS;E2E" "SHARD_VARIABLE" "SOURCES;LIBRARIES;SHARDS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE zenvora_options Qt6::Test ${ARG_LIBRARIES})
  set(env "ZENVORA_PROGRAM_DIR=${ZENVORA_PROGRAM_DIR}")
  set(label unit)
  if(ARG_WIDGETS)
    list(APPEND env "QT_QPA_PLATFORM=offscreen")
    set(label gui)
  elseif(ARG_E2E)
    set(label e2e)
  endif()
  if(NOT ARG_SHARDS)
    add_test(NAME ${name} COMMAND ${name})
    set_tests_properties(${name} PROPERTIES ENVIRONMENT "${env}" TIMEOUT 300 LABELS ${label})
  endif()
  foreach(shard ${ARG_SHARDS})
    add_test(NAME ${name}_${shard} COMMAND ${name})
    set_tests_properties(${name}_${shard} PROPERTIES
      ENVIRONMENT "${env};${ARG_SHARD_VARIABLE}=${shard}" TIMEOUT 300 LABELS ${label})
  endforeach()
endfunction()
