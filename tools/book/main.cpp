// vellumix-book: builds, lists and checks book files from the command line.
#include <iostream>

#include "tools/book/BookTool.h"

int main(int argc, char** argv)
{
    return RunBookTool(argc, argv, std::cout, std::cerr);
}
