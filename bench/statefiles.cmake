# The state files of a listener of many books: saving and restoring the resume
# position, loading and saving bookmarks.
add_executable(korvin_statefiles_bench ${CMAKE_CURRENT_LIST_DIR}/statefiles_bench.cpp)
target_link_libraries(korvin_statefiles_bench PRIVATE korvin_library benchmark::benchmark)
