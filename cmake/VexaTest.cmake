# vexa_add_test(name SOURCES... LIBS...): one GoogleTest program.
# Natively every test case becomes its own CTest test; a cross-built program
# runs whole under Wine (one start per program is much faster there).
function(vexa_add_test name)
  cmake_parse_arguments(ARG "" "" "SOURCES;LIBS;LABELS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE ${ARG_LIBS} GTest::gtest GTest::gtest_main vexa_warnings)
  if(CMAKE_CROSSCOMPILING)
    add_test(NAME ${name} COMMAND ${name})
    # On Windows the programs use the system clipboard, which the window
    # and clipboard tests use too: never beside them.
    set_tests_properties(${name} PROPERTIES TIMEOUT 300 LABELS "${ARG_LABELS}"
                                            RESOURCE_LOCK desktop)
  else()
    gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60 PROPERTIES TIMEOUT 300 LABELS "${ARG_LABELS}")
  endif()
endfunction()

# Where this machine's kernel runs no 32-bit code, the 32-bit Windows tests
# run in an emulated machine (scripts/guest; VEXA_EMULATE_32BIT=1 asks for it
# anyway). It boots once, before the first test that needs it, and powers
# off after the last; elsewhere guest_start only says it is not needed.
set(VEXA_GUEST_TESTS OFF)
if(CMAKE_CROSSCOMPILING AND CMAKE_SIZEOF_VOID_P EQUAL 4)
  set(VEXA_GUEST_TESTS ON)
  add_test(NAME guest_start COMMAND ${PROJECT_SOURCE_DIR}/scripts/guest start --for
                                    $<TARGET_FILE:vexa-decode>)
  # The first start also makes the kernel, the initramfs and the Wine prefix.
  set_tests_properties(guest_start PROPERTIES FIXTURES_SETUP guest TIMEOUT 1500)
  add_test(NAME guest_stop COMMAND ${PROJECT_SOURCE_DIR}/scripts/guest stop)
  set_tests_properties(guest_stop PROPERTIES FIXTURES_CLEANUP guest TIMEOUT 120)
endif()

# vexa_tests_use_guest(): the tests added so far in the calling folder run
# their Windows programs through scripts/wine-run, so they need the machine.
function(vexa_tests_use_guest)
  if(VEXA_GUEST_TESTS)
    get_directory_property(tests TESTS)
    if(tests)
      set_tests_properties(${tests} PROPERTIES FIXTURES_REQUIRED guest)
    endif()
  endif()
endfunction()
