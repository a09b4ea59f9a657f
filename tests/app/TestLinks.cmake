# The app tests drive the real main window: the app's Qt library and QTest.
find_package(Qt6 REQUIRED COMPONENTS Test)
target_link_libraries(${target} PRIVATE stavlin_app Qt6::Test)
# The real-port tests run their own JACK client.
target_link_libraries(${target} PRIVATE PkgConfig::JACK)
# The scores of every kind of content the reliability tests build serve the
# window tests that save, open and print such a score.
target_sources(${target} PRIVATE "${CMAKE_SOURCE_DIR}/tests/reliability/SampleScores.cpp")
