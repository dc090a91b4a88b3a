# The libmpv player: seek-and-play and load-and-play latency (ao=null unless
# KORVIN_MPV_OPTIONS says otherwise). Needs lame for the generated MP3s.
add_executable(korvin_player_bench
    player_bench.cpp
    ${PROJECT_SOURCE_DIR}/tests/support/audiofiles.cpp
)
target_include_directories(korvin_player_bench PRIVATE ${PROJECT_SOURCE_DIR}/tests)
target_link_libraries(korvin_player_bench PRIVATE korvin_mpv benchmark::benchmark)
