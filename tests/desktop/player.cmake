# The libmpv player and title cue, headless (ao=null). libmpv needs a Qt event
# loop for the player's events, so this program brings its own main() and links
# GTest::gtest rather than gtest_main.
add_executable(korvin_player_tests
    player_main.cpp
    mpvhandle_test.cpp
    mpvplayer_test.cpp
    mpvtitlecue_test.cpp
)
target_link_libraries(korvin_player_tests PRIVATE korvin_mpv korvin_test_support GTest::gtest)  # Qt6::Core comes with korvin_mpv
target_compile_definitions(korvin_player_tests PRIVATE
    KORVIN_SOURCE_DIR="${PROJECT_SOURCE_DIR}"
    KORVIN_SHARED_BOOKS_DIR="${PROJECT_SOURCE_DIR}/../shared/books")
gtest_discover_tests(korvin_player_tests
    DISCOVERY_TIMEOUT 120
    PROPERTIES ENVIRONMENT "KORVIN_MPV_OPTIONS=ao=null;QT_QPA_PLATFORM=offscreen" TIMEOUT 300)
