#include <cstdio>

int main()
{
    std::fprintf(stderr, "Dornel's Tilloran: the game window is not built yet.\n");
    return 1;
}
