#include "Platform/Linux/PrivateFiles.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace cohortex {

namespace {

std::unexpected<Error> systemError(std::string_view action, const std::filesystem::path& path, int error)
{
    return makeError(std::string(action) + " " + path.string() + ": " + std::strerror(error));
}

bool isDirectory(const std::filesystem::path& path)
{
    std::error_code error;
    return std::filesystem::is_directory(path, error);
}

Expected<void> createPrivateDirectory(const std::filesystem::path& directory)
{
    if (::mkdir(directory.c_str(), 0700) != 0) {
        // Someone else may have created it in the meantime, which is as good.
        if (errno == EEXIST && isDirectory(directory))
            return {};
        return systemError("Cannot create the directory", directory, errno);
    }
    // The umask may have taken bits away from 0700; the owner needs all three.
    if (::chmod(directory.c_str(), 0700) != 0)
        return systemError("Cannot set the permissions of", directory, errno);
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
    if (descriptor < 0)
        return systemError("Cannot open", file, errno);
    int result = ::fchmod(descriptor, 0600);
    int error = errno;
    ::close(descriptor);
    if (result != 0)
        return systemError("Cannot set the permissions of", file, error);
    return {};
}

} // namespace cohortex
