#include "App/CohortexApp.h"

int main(int argc, char* argv[])
{
    cohortex::CohortexApp app;
    return app.run(argc, argv);
}
