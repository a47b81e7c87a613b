#include "App/Launch.h"
#include "Platform/Linux/LaunchTrace.h"
#include "Support/Translation.h"

int main(int argc, char* argv[])
{
    // First of all: every message, the command line's included, is read in the user's language.
    cohortex::useTranslations(COHORTEX_LOCALE_DIR);
    cohortex::traceLaunch("main");
    return cohortex::runCohortex(argc, argv);
}
