#include <cstdio>
#include <cstring>

int main(int argc, char** argv)
{
    if (argc > 1 && std::strcmp(argv[1], "--version") == 0) {
        std::printf("parlantographer-cli %s\n", PARLANTOGRAPHER_VERSION);
        return 0;
    }
    std::fprintf(stderr, "usage: parlantographer-cli COMMAND ...\n");
    return 2;
}
