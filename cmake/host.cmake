# Host tree: the portable core and its tests, with AddressSanitizer and
# UndefinedBehaviorSanitizer, plus the scanner fuzz target when clang is here.
set(SANITIZE -fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=all)
add_compile_options(${SANITIZE})
add_link_options(${SANITIZE})

add_subdirectory(${GTEST_SOURCE_DIR} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)

add_library(core STATIC ${CORE_SOURCES})

add_subdirectory(tests/core)
add_subdirectory(bench)
if(VELTSCAN_BUILD_HELP)
  add_subdirectory(help)
endif()
