#include "App/Launch.h"
#include "Platform/Linux/LaunchTrace.h"

int main(int argc, char* argv[])
{
    cohortex::traceLaunch("main");
    return cohortex::runCohortex(argc, argv);
}
