#pragma once

#include "Platform/Linux/GLibPtr.h"

#include <glib.h>
#include <string>
#include <vector>

namespace cohortex {

struct ProgramResult {
    bool succeeded{ false };
    std::string output;
};

// Runs a desktop tool found on the PATH the way a user's own programs would, and waits for it.
inline ProgramResult runProgram(std::vector<std::string> arguments)
{
    std::vector<char*> argv;
    for (auto& argument : arguments)
        argv.push_back(argument.data());
    argv.push_back(nullptr);
    char* output = nullptr;
    int status = 0;
    bool ran = g_spawn_sync(nullptr, argv.data(), nullptr,
        GSpawnFlags(G_SPAWN_SEARCH_PATH | G_SPAWN_STDERR_TO_DEV_NULL), nullptr, nullptr, &output, nullptr,
        &status, nullptr);
    GCharPtr ownedOutput(output);
    return { ran && g_spawn_check_wait_status(status, nullptr), output ? output : "" };
}

inline bool hasProgram(const char* name)
{
    return GCharPtr(g_find_program_in_path(name)) != nullptr;
}

} // namespace cohortex
