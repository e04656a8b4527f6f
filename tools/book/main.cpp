// vellumix-book: builds, lists and checks book files from the command line.
#include "tools/book/BookTool.h"

int main(int argc, char** argv)
{
    return RunBookToolOnStandardStreams(argc, argv);
}
