#include "cli/cliapplication.h"

#include <iostream>
#include <string>
#include <vector>

int main(int argc, char** argv)
{
    const std::vector<std::string> arguments(argv + 1, argv + argc);
    CCliApplication application(std::cout, std::cerr);
    return application.Run(arguments);
}
