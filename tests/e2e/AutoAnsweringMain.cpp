#include "App/Launch.h"
#include "AutoAnsweringAlerts.h"

// Cohortex as the end-to-end tests run it when a dialog would ask: the same program, answering itself.
int main(int argc, char* argv[])
{
    cohortex::AutoAnsweringAlerts alerts;
    return cohortex::runCohortex(argc, argv, &alerts);
}
