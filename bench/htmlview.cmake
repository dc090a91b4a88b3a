# The text view on a 2 MB book text, offscreen Qt:
#   cmake -S . -B build/rel -G Ninja -DCMAKE_BUILD_TYPE=Release -DKORVIN_BENCH=ON
#   cmake --build build/rel -j2 --target korvin_htmlview_bench
#   build/rel/bench/korvin_htmlview_bench
add_executable(korvin_htmlview_bench ${CMAKE_CURRENT_SOURCE_DIR}/htmltextview_bench.cpp)
target_link_libraries(korvin_htmlview_bench PRIVATE korvin_htmlview benchmark::benchmark)
