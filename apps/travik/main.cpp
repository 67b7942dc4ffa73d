#include "ProgramMain.h"

int main(int argc, char **argv)
{
    return runProgram(argc, argv, BuildFlavour::travik());
}
