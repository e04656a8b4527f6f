// Writes the English string resource (the bytes the program reads back as
// resource 11000) to the file named on the command line.
#include <cstdio>

#include "framework/text/EnglishStrings.h"

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: write_string_resource OUT\n");
        return 2;
    }
    uint32_t size = 0;
    const uint8_t* bytes = GetEnglishStringResource(size);
    std::FILE* out = std::fopen(argv[1], "wb");
    if (!out)
        return 1;
    bool ok = std::fwrite(bytes, 1, size, out) == size;
    ok = std::fclose(out) == 0 && ok;
    return ok ? 0 : 1;
}
