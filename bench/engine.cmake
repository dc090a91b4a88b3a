# The playback engine through the main window's controller with the real libmpv
# player: jumps to a phrase, and Open until the first sound, on the large
# generated book. Needs lame for the generated audio.
add_executable(korvin_engine_bench
    ${CMAKE_CURRENT_LIST_DIR}/engine_bench.cpp
    ${CMAKE_CURRENT_LIST_DIR}/book_generator.cpp
    ${PROJECT_SOURCE_DIR}/tests/support/audiofiles.cpp
    ${PROJECT_SOURCE_DIR}/tests/support/fakeplatform.cpp
    ${PROJECT_SOURCE_DIR}/tests/support/tempdir.cpp
)
target_include_directories(korvin_engine_bench PRIVATE ${PROJECT_SOURCE_DIR}/tests ${CMAKE_CURRENT_LIST_DIR})
target_compile_definitions(korvin_engine_bench PRIVATE KORVIN_SOURCE_DIR="${PROJECT_SOURCE_DIR}")
target_link_libraries(korvin_engine_bench PRIVATE korvin_app korvin_mpv benchmark::benchmark)
