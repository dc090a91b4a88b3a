// SPDX-License-Identifier: GPL-3.0-or-later
// korvin_write_book FOLDER [HEADINGS]: writes the benchmarks' generated book
// (3,000 headings of 50 phrases unless HEADINGS says otherwise) into FOLDER,
// for the benchmark scripts that run the program itself on it.
// korvin_write_book --daisy3 FOLDER: the generated DAISY 3 book instead.
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <filesystem>
#include <string_view>

#include "book_generator.h"
#include "daisy3_generator.h"

namespace {

int writeDaisy3(const char* folder)
{
    const korvin::bench::GeneratedDaisy3Book book;
    std::filesystem::create_directories(folder);
    std::filesystem::copy(book.folder(), folder,
                          std::filesystem::copy_options::overwrite_existing | std::filesystem::copy_options::recursive);
    std::printf("%s: %zu files, %zu bytes, %d phrases\n", folder, book.fileNames().size(), book.totalBytes(),
                book.phrases());
    return 0;
}

}  // namespace

int main(int argc, char* argv[])
{
    const bool daisy3 = argc == 3 && std::string_view(argv[1]) == "--daisy3";
    if (argc < 2 || argc > 3) {
        std::fprintf(stderr, "usage: korvin_write_book FOLDER [HEADINGS] | --daisy3 FOLDER\n");
        return 2;
    }
    korvin::bench::BookShape shape;
    if (argc == 3 && !daisy3)
        shape.headings = std::atoi(argv[2]);
    if (shape.headings < 1) {
        std::fprintf(stderr, "korvin_write_book: HEADINGS must be a positive number\n");
        return 2;
    }
    try {
        if (daisy3)
            return writeDaisy3(argv[2]);
        const korvin::bench::GeneratedBook book(shape, argv[1]);
        std::printf("%s: %zu files, %zu bytes, %d phrases\n", argv[1], book.fileNames().size(), book.totalBytes(),
                    book.phrases());
    } catch (const std::exception& error) {
        std::fprintf(stderr, "korvin_write_book: %s\n", error.what());
        return 1;
    }
    return 0;
}
