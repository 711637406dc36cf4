# The picture banner on a window of its own, with the program's JPEG resources.
zvx_add_test(NAME controls_banner SOURCES BannerTests.cpp LIBRARIES zvx_controls zvx_resources)
