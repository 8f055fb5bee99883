#include "engine/core/Log.h"
#include "tools/simrun/SimRun.h"

#include <iostream>

int main(int argc, char** argv)
{
    SimRunOptions options;
    std::string error;
    if (!ParseSimRunArguments(argc, argv, options, error))
    {
        Vexel::Log::Error("simrun", "%s", error.c_str());
        Vexel::Log::Info("simrun",
                         "usage: simrun --seed N --mode M [--level L] [--wave W] [--ticks T] [--every N] "
                         "[--script file] [--save-at K file] [--load file]");
        return 2;
    }
    return RunSimulation(options, std::cout);
}
