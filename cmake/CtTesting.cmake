# ct_add_test(NAME sources... [ENVIRONMENT VAR=VALUE...]): a GoogleTest executable linked against
# the library's exports, its tests run with the environment given. Natively every test case is
# its own CTest test; under Wine one test per executable keeps the per-process start-up cost low,
# and all of them share the Wine session fixture; a time limit turns a hung Windows program into
# a failure that names it rather than a stalled run.
include(GoogleTest)

function(ct_add_test name)
  cmake_parse_arguments(PARSE_ARGV 1 arg "" "" "ENVIRONMENT")
  add_executable(${name} ${arg_UNPARSED_ARGUMENTS})
  target_link_libraries(${name} PRIVATE ct::library GTest::gtest_main GTest::gmock ct_warnings)
  if(WIN32)
    add_test(NAME ${name} COMMAND ${name} --gtest_color=no)
    set_tests_properties(${name} PROPERTIES FIXTURES_REQUIRED wine_session TIMEOUT 300
                                            ENVIRONMENT "${arg_ENVIRONMENT}")
  else()
    gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60
                         PROPERTIES ENVIRONMENT "${arg_ENVIRONMENT}")
  endif()
endfunction()

# ct_test_path(VAR PATH): PATH as a test program sees it; Wine reaches the source tree through
# drive Z:.
function(ct_test_path var path)
  if(WIN32)
    set(path Z:${path})
  endif()
  set(${var} ${path} PARENT_SCOPE)
endfunction()

# ct_add_generator_check(NAME SCRIPT): a native test that a committed generated file is what the
# generator SCRIPT writes (SCRIPT --check).
function(ct_add_generator_check name script)
  if(NOT WIN32)
    find_package(Python3 REQUIRED COMPONENTS Interpreter)
    add_test(NAME ${name} COMMAND ${Python3_EXECUTABLE} ${PROJECT_SOURCE_DIR}/${script} --check)
  endif()
endfunction()
