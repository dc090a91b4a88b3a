# The text view on a long book text (offscreen Qt). Run:
#   build/rel/bench/korvin_htmlview_bench --benchmark_repetitions=...
add_executable(korvin_htmlview_bench ${CMAKE_CURRENT_SOURCE_DIR}/htmltextview_bench.cpp)
target_link_libraries(korvin_htmlview_bench PRIVATE korvin_htmlview benchmark::benchmark)
