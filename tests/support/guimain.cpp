#include "support/guitests.h"

int main(int argc, char** argv)
{
    return testsupport::RunGuiTests(argc, argv);
}
