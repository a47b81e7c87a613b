#include "Platform/Linux/PrivateFiles.h"

#include "Support/Translation.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace cohortex {

namespace {

// failure: a translated text where {0} is the path and {1} the system's description of the error.
std::unexpected<Error> systemError(const char* failure, const std::filesystem::path& path, int error)
{
    return makeError(fillIn(failure, path.string(), std::strerror(error)));
}

bool isDirectory(const std::filesystem::path& path)
{
    std::error_code error;
    return std::filesystem::is_directory(path, error);
}

Expected<void> createPrivateDirectory(const std::filesystem::path& directory)
{
    if (::mkdir(directory.c_str(), 0700) != 0) {
        int error = errno;
        // Someone else may have created it in the meantime, which is as good.
        if (error == EEXIST && isDirectory(directory))
            return {};
        // TRANSLATORS: {0} is a folder, {1} the system's description of the error.
        return systemError(_("Cannot create the directory {0}: {1}"), directory, error);
    }
    // The umask may have taken bits away from 0700; the owner needs all three.
    if (::chmod(directory.c_str(), 0700) != 0) {
        int error = errno;
        // TRANSLATORS: {0} is a folder or file, {1} the system's description of the error.
        return systemError(_("Cannot set the permissions of {0}: {1}"), directory, error);
    }
    return {};
}

} // namespace

Expected<void> createPrivateDirectories(const std::filesystem::path& directory)
{
    std::vector<std::filesystem::path> missing;
    for (auto path = directory; !path.empty() && !isDirectory(path); path = path.parent_path()) {
        missing.push_back(path);
        if (path == path.parent_path())
            break;
    }
    for (auto path = missing.rbegin(); path != missing.rend(); ++path) {
        if (auto created = createPrivateDirectory(*path); !created)
            return created;
    }
    return {};
}

Expected<void> createPrivateFile(const std::filesystem::path& file)
{
    int descriptor = ::open(file.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (descriptor < 0) {
        int error = errno;
        // TRANSLATORS: {0} is a file, {1} the system's description of the error.
        return systemError(_("Cannot open {0}: {1}"), file, error);
    }
    int result = ::fchmod(descriptor, 0600);
    int error = errno;
    ::close(descriptor);
    if (result != 0)
        // TRANSLATORS: {0} is a folder or file, {1} the system's description of the error.
        return systemError(_("Cannot set the permissions of {0}: {1}"), file, error);
    return {};
}

} // namespace cohortex
