#include "App/Launch.h"

int main(int argc, char* argv[])
{
    return cohortex::runCohortex(argc, argv);
}
