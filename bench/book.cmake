# The reading of a large generated book: raw file reading against the
# reader's pass, and the memory of the filled tables.
add_executable(korvin_book_bench
    ${CMAKE_CURRENT_LIST_DIR}/book_reading_bench.cpp
    ${CMAKE_CURRENT_LIST_DIR}/book_generator.cpp)
target_link_libraries(korvin_book_bench PRIVATE korvin_book benchmark::benchmark)
