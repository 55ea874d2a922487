# larkspin_library(name SOURCES ... DEPS ...): one static library per subsystem.
function(larkspin_library name)
  cmake_parse_arguments(ARG "" "" "SOURCES;DEPS" ${ARGN})
  add_library(${name} STATIC ${ARG_SOURCES})
  target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR}/src)
  target_link_libraries(${name} PUBLIC ${ARG_DEPS})
endfunction()

# larkspin_test(name SOURCES ... DEPS ... [LABELS ...]): one GoogleTest binary registered with CTest.
function(larkspin_test name)
  cmake_parse_arguments(ARG "" "" "SOURCES;DEPS;LABELS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR}/tests)
  target_link_libraries(${name} PRIVATE ${ARG_DEPS} GTest::gtest_main GTest::gmock Threads::Threads)
  set(labels unit)
  if(ARG_LABELS)
    set(labels ${ARG_LABELS})
  endif()
  gtest_discover_tests(${name} PROPERTIES LABELS "${labels}" DISCOVERY_TIMEOUT 30)
endfunction()

# larkspin_keyring_test(name SOURCES ... DEPS ... SUITES ...): a GoogleTest binary whose tests need
# a Secret Service. Each suite named in SUITES runs under tests/support/keyring_session.sh with a
# private gnome-keyring of its own; the suite NoKeyring runs with no session bus and no display.
function(larkspin_keyring_test name)
  cmake_parse_arguments(ARG "" "" "SOURCES;DEPS;SUITES" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR}/tests)
  target_link_libraries(${name} PRIVATE ${ARG_DEPS} GTest::gtest_main GTest::gmock Threads::Threads)
  foreach(suite ${ARG_SUITES})
    add_test(NAME ${name}_${suite} COMMAND ${PROJECT_SOURCE_DIR}/tests/support/keyring_session.sh
      $<TARGET_FILE:${name}> --gtest_filter=*${suite}*)
  endforeach()
  add_test(NAME ${name}_NoKeyring COMMAND ${name} --gtest_filter=*NoKeyring*)
  list(TRANSFORM ARG_SUITES PREPEND ${name}_)
  set_tests_properties(${ARG_SUITES} ${name}_NoKeyring PROPERTIES LABELS integration TIMEOUT 120)
  set_tests_properties(${name}_NoKeyring PROPERTIES
    ENVIRONMENT DBUS_SESSION_BUS_ADDRESS=unix:path=/nonexistent/bus ENVIRONMENT_MODIFICATION DISPLAY=unset:)
endfunction()

# larkspin_window_test(name RUNNER script SOURCES ... DEPS ...): a test of the real windows, run
# on a private X display by the runner script of tests/ui/wx/. It writes its screenshots to the
# build folder and may serve the demo's messages and texts.
function(larkspin_window_test name)
  cmake_parse_arguments(ARG "" "RUNNER" "SOURCES;DEPS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR}/tests)
  target_link_libraries(${name} PRIVATE ${ARG_DEPS} larkspin_ui_wx larkspin_test_support GTest::gtest Threads::Threads)
  target_compile_definitions(${name} PRIVATE LARKSPIN_SCREENSHOT_DIR="${PROJECT_BINARY_DIR}"
    LARKSPIN_DEMO_MESSAGES="${PROJECT_BINARY_DIR}/tools/demo_server/messages"
    LARKSPIN_DEMO_LANGUAGE="${PROJECT_SOURCE_DIR}/packaging/language.ini")
  add_dependencies(${name} larkspin_demo_messages)
  add_test(NAME ${name} COMMAND ${PROJECT_SOURCE_DIR}/tests/ui/wx/${ARG_RUNNER} $<TARGET_FILE:${name}>)
  set_tests_properties(${name} PROPERTIES LABELS "wx" TIMEOUT 180
                       ENVIRONMENT "LSAN_OPTIONS=suppressions=${PROJECT_SOURCE_DIR}/tests/ui/wx/lsan.supp")
endfunction()
