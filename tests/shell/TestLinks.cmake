# The shell tests drive the real main window: the app's Qt library and QTest.
find_package(Qt6 REQUIRED COMPONENTS Test)
target_link_libraries(${target} PRIVATE stavlin_app Qt6::Test)
# The real-port tests run their own JACK client.
target_link_libraries(${target} PRIVATE PkgConfig::JACK)
