# The libmpv player and the title cue.
add_library(korvin_mpv STATIC
    mpvhandle.cpp
    mpvplayer.cpp
    mpvtitlecue.cpp
)
target_link_libraries(korvin_mpv PUBLIC korvin_platform Qt6::Core PkgConfig::MPV)
