# Shared CMake helpers: warnings, module libraries and test executables.

# Our own code is warning-free; the test run makes that binding with KERFLINE_WERROR.
# Third-party headers come in as SYSTEM.
function(kerfline_warnings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic)
  if(KERFLINE_WERROR)
    target_compile_options(${target} PRIVATE -Werror)
  endif()
endfunction()

# kerfline_module(<name> SOURCES ... [PUBLIC_LIBS ...] [PRIVATE_LIBS ...])
# One static library per module, alias kerfline::<name>, headers found as "<module>/<file>.h".
function(kerfline_module name)
  cmake_parse_arguments(M "" "" "SOURCES;PUBLIC_LIBS;PRIVATE_LIBS" ${ARGN})
  add_library(kerfline_${name} STATIC ${M_SOURCES})
  add_library(kerfline::${name} ALIAS kerfline_${name})
  target_include_directories(kerfline_${name} PUBLIC "${PROJECT_SOURCE_DIR}/src")
  target_compile_features(kerfline_${name} PUBLIC cxx_std_20)
  target_link_libraries(kerfline_${name} PUBLIC ${M_PUBLIC_LIBS} PRIVATE ${M_PRIVATE_LIBS})
  kerfline_warnings(kerfline_${name})
endfunction()

# kerfline_add_test(<name> SOURCES ... LIBS ... [ENVIRONMENT ...])
# One GoogleTest executable, its cases registered with CTest one by one.
function(kerfline_add_test name)
  cmake_parse_arguments(T "" "" "SOURCES;LIBS;ENVIRONMENT" ${ARGN})
  add_executable(${name} ${T_SOURCES})
  target_link_libraries(${name} PRIVATE ${T_LIBS} kerfline_test_support GTest::gtest GTest::gmock
    GTest::gtest_main)
  target_compile_definitions(${name} PRIVATE
    KERFLINE_SOURCE_DIR="${PROJECT_SOURCE_DIR}"
    KERFLINE_TEST_DATA_DIR="${PROJECT_SOURCE_DIR}/tests/data"
    KERFLINE_BINARY_DIR="${PROJECT_BINARY_DIR}")
  kerfline_warnings(${name})
  gtest_discover_tests(${name}
    DISCOVERY_TIMEOUT 120
    PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen;${T_ENVIRONMENT}" TIMEOUT 300)
endfunction()

# kerfline_fuzz_target(<name> SOURCE <file> LIBS ...): a libFuzzer executable fuzz_<name>.
function(kerfline_fuzz_target name)
  cmake_parse_arguments(F "" "SOURCE" "LIBS" ${ARGN})
  add_executable(fuzz_${name} ${F_SOURCE})
  target_link_libraries(fuzz_${name} PRIVATE ${F_LIBS})
  target_link_options(fuzz_${name} PRIVATE -fsanitize=fuzzer)
  kerfline_warnings(fuzz_${name})
endfunction()
