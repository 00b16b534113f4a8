// Writes the character table as a "hex=text" table file, one line per byte that has a
// character, so the KST.tbl shipped beside the program is derived from the program's own table.
#include "core/chartable.h"

#include <cstdio>

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s OUTPUT\n", argv[0]);
        return 2;
    }
    std::FILE* out = std::fopen(argv[1], "wb");
    if (!out)
        return 1;
    for (int b = 0; b < 256; ++b)
        if (kst::kCharTable[b] != '\0')
            std::fprintf(out, "%02X=%c\n", b, kst::kCharTable[b]);
    return std::fclose(out) == 0 ? 0 : 1;
}
