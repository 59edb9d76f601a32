# plintor_test_program(NAME [SOURCES file…] [LIBRARIES library…] [DEFINITIONS definition…]
#                      [PROPERTIES property value…])
# One GoogleTest program: NAME.cpp of the calling folder (or SOURCES), linked with LIBRARIES
# (plintor_core when none is named) and GoogleTest's main, with the compile DEFINITIONS. On
# Linux every test and every row of a table test is a CTest entry of its own, named by the row
# (NO_PRETTY_VALUES keeps that name rather than the row's printed bytes), with PROPERTIES; under
# Wine the program is one entry, since each start of a Windows program costs a Wine process.
include(GoogleTest)

function(plintor_test_program name)
  cmake_parse_arguments(PARSE_ARGV 1 arg "" "" "SOURCES;LIBRARIES;DEFINITIONS;PROPERTIES")
  if(NOT arg_SOURCES)
    set(arg_SOURCES ${name}.cpp)
  endif()
  if(NOT arg_LIBRARIES)
    set(arg_LIBRARIES plintor_core)
  endif()
  add_executable(${name} ${arg_SOURCES})
  target_link_libraries(${name} PRIVATE ${arg_LIBRARIES} GTest::gtest GTest::gtest_main)
  if(arg_DEFINITIONS)
    target_compile_definitions(${name} PRIVATE ${arg_DEFINITIONS})
  endif()
  if(WIN32)
    add_test(NAME ${name} COMMAND ${name})
    if(arg_PROPERTIES)
      set_tests_properties(${name} PROPERTIES ${arg_PROPERTIES})
    endif()
  elseif(arg_PROPERTIES)
    gtest_discover_tests(${name} NO_PRETTY_VALUES DISCOVERY_TIMEOUT 30 PROPERTIES ${arg_PROPERTIES})
  else()
    gtest_discover_tests(${name} NO_PRETTY_VALUES DISCOVERY_TIMEOUT 30)
  endif()
endfunction()
