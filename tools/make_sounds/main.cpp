// make_sounds <output-folder>: writes the game's ten wave files into the folder.
#include "game/wave_synth.h"

#include <cstdio>
#include <string>

int main(int argc, char **argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_sounds <output-folder>\n");
        return 2;
    }
    std::string error;
    if (!tl::WriteSoundFiles(argv[1], error)) {
        std::fprintf(stderr, "make_sounds: %s\n", error.c_str());
        return 1;
    }
    return 0;
}
