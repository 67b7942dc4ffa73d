#pragma once

#include "BuildFlavour.h"

// The shared program entry of travik and travik-gmap.
int runProgram(int argc, char **argv, const BuildFlavour &flavour);
