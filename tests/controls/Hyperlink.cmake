# ---- Hyperlink label -----------------------------------------------------------
set(ZVX_HYPERLINK_SUPPORT ${CMAKE_CURRENT_LIST_DIR}/HyperlinkTestSupport.cpp)

zvx_add_test(NAME controls_hyperlink_text
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/HyperlinkTextTests.cpp
  LIBRARIES zvx_controls)

# These write the link colours into the prefix's registry, and the others read
# them and move the shared pointer: none runs beside another test.
zvx_add_test(NAME controls_hyperlink_colors SERIAL
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/HyperlinkColorTests.cpp ${ZVX_HYPERLINK_SUPPORT}
  LIBRARIES zvx_controls)
zvx_add_test(NAME controls_hyperlink_window SERIAL
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/HyperlinkWindowTests.cpp ${ZVX_HYPERLINK_SUPPORT}
  LIBRARIES zvx_controls)
zvx_add_test(NAME controls_hyperlink_input SERIAL
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/HyperlinkInputTests.cpp ${ZVX_HYPERLINK_SUPPORT}
  LIBRARIES zvx_controls)

# The shell hands addresses to tests/support/shell-log, which Wine starts with
# the Unix environment the test was started with (a change made inside the
# test with SetEnvironmentVariableA does not reach it): give each test its own log.
foreach(test controls_hyperlink_window controls_hyperlink_input)
  set_property(TEST ${test} APPEND PROPERTY ENVIRONMENT
    "ZVX_SHELL_LOG=${CMAKE_CURRENT_BINARY_DIR}/${test}.shell.log")
endforeach()
# ---- end of hyperlink label ----------------------------------------------------
