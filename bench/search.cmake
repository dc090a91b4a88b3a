# The three searches on generated full-text books, and a literal bracket walk
# beside the book search (libxml2 for the documents, no Qt):
#   cmake -S . -B build/bench -G Ninja -DCMAKE_BUILD_TYPE=Release -DKORVIN_BENCH=ON -DKORVIN_TESTS=OFF
#   cmake --build build/bench -j2 --target korvin_search_bench
#   build/bench/bench/korvin_search_bench
add_executable(korvin_search_bench
    ${CMAKE_CURRENT_LIST_DIR}/search_bench.cpp
    ${CMAKE_CURRENT_LIST_DIR}/book_generator.cpp
    ${PROJECT_SOURCE_DIR}/tests/support/fakeplatform.cpp
    ${PROJECT_SOURCE_DIR}/tests/support/simulatedplayer.cpp
    ${PROJECT_SOURCE_DIR}/tests/support/simulatedtimers.cpp
    ${PROJECT_SOURCE_DIR}/tests/support/virtualclock.cpp
)
target_include_directories(korvin_search_bench PRIVATE ${PROJECT_SOURCE_DIR}/tests ${CMAKE_CURRENT_LIST_DIR})
target_link_libraries(korvin_search_bench PRIVATE korvin_navigation korvin_htmldoc benchmark::benchmark)
