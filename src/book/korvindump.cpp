// A temporary tool: prints what the reader makes of a book, until the
// program's own --dump-book takes over.
#include <iostream>

#include "book/dumpbook.h"

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::cerr << "usage: korvin_dump BOOK\n";
        return 1;
    }
    return korvin::dumpBook(argv[1], std::cout, std::cerr, "Could not open ncc.html!");
}
