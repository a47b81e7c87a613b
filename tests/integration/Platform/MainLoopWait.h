#pragma once

// The main-loop waits live in one place; this name stays for the tests that include it.
#include "integration/Engine/MainLoop.h"
