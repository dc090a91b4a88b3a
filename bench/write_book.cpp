// korvin_write_book FOLDER [HEADINGS]: writes the benchmarks' generated book
// (3,000 headings of 50 phrases unless HEADINGS says otherwise) into FOLDER,
// for the benchmark scripts that run the program itself on it.
#include <cstdio>
#include <cstdlib>
#include <exception>

#include "book_generator.h"

int main(int argc, char* argv[])
{
    if (argc < 2 || argc > 3) {
        std::fprintf(stderr, "usage: korvin_write_book FOLDER [HEADINGS]\n");
        return 2;
    }
    korvin::bench::BookShape shape;
    if (argc == 3)
        shape.headings = std::atoi(argv[2]);
    if (shape.headings < 1) {
        std::fprintf(stderr, "korvin_write_book: HEADINGS must be a positive number\n");
        return 2;
    }
    try {
        const korvin::bench::GeneratedBook book(shape, argv[1]);
        std::printf("%s: %zu files, %zu bytes, %d phrases\n", argv[1], book.fileNames().size(), book.totalBytes(),
                    book.phrases());
    } catch (const std::exception& error) {
        std::fprintf(stderr, "korvin_write_book: %s\n", error.what());
        return 1;
    }
    return 0;
}
