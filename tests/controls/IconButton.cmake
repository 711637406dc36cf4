# The icon button in each desktop look: the same tests, run in the Wine prefix
# of the look, told what that look must give.
foreach(look classic styled unstyled)
  zvx_add_test(NAME controls_iconbutton_${look} LOOK ${look}
               SOURCES IconButtonTests.cpp
               LIBRARIES zvx_controls zvx_resources)
endforeach()
target_compile_definitions(controls_iconbutton_classic PRIVATE ZVX_EXPECT_STYLED_SCHEME=0 ZVX_EXPECT_THEMED=0)
target_compile_definitions(controls_iconbutton_styled PRIVATE ZVX_EXPECT_STYLED_SCHEME=1 ZVX_EXPECT_THEMED=1)
# Visual styles are off there: no theme opens, so the classic look.
target_compile_definitions(controls_iconbutton_unstyled PRIVATE ZVX_EXPECT_STYLED_SCHEME=1 ZVX_EXPECT_THEMED=0)

# Writes hostile appearance values into a prefix that starts without the key,
# and deletes the key afterwards; no other test may see them meanwhile.
zvx_add_test(NAME controls_iconbutton_scheme LOOK hostile SERIAL
             SOURCES AppearanceSchemeTests.cpp
             LIBRARIES zvx_controls)

# Moves the display's one pointer, which no other test may move meanwhile.
zvx_add_test(NAME controls_iconbutton_pointer LOOK styled SERIAL
             SOURCES IconButtonPointerTests.cpp
             LIBRARIES zvx_controls zvx_resources)
