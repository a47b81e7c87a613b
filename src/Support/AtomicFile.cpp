#include "Support/AtomicFile.h"

#include "Support/Uuid.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <system_error>
#include <unistd.h>

namespace cohortex {

namespace {

std::unexpected<Error> systemError(int code)
{
    return makeError(std::system_category().message(code));
}

// Closes the descriptor and removes the file unless the rename took it over.
class TemporaryFile {
public:
    explicit TemporaryFile(std::filesystem::path path)
        : m_path(std::move(path))
    {
        // New files get the usual 0666 less the umask, as any program's output file would.
        m_descriptor = ::open(m_path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    }
    ~TemporaryFile()
    {
        if (m_descriptor >= 0)
            ::close(m_descriptor);
        if (!m_isKept)
            ::unlink(m_path.c_str());
    }
    TemporaryFile(const TemporaryFile&) = delete;
    TemporaryFile& operator=(const TemporaryFile&) = delete;

    bool isOpen() const { return m_descriptor >= 0; }
    int descriptor() const { return m_descriptor; }
    const std::filesystem::path& path() const { return m_path; }
    // A failed close can be the first report of a failed write on some file systems, so it is checked.
    bool close()
    {
        int result = ::close(m_descriptor);
        m_descriptor = -1;
        return result == 0;
    }
    void keep() { m_isKept = true; }

private:
    std::filesystem::path m_path;
    int m_descriptor{ -1 };
    bool m_isKept{ false };
};

bool writeAll(int descriptor, std::string_view contents)
{
    while (!contents.empty()) {
        auto written = ::write(descriptor, contents.data(), contents.size());
        if (written < 0 && errno == EINTR)
            continue;
        if (written < 0)
            return false;
        if (written == 0) {
            errno = EIO;
            return false;
        }
        contents.remove_prefix(static_cast<std::size_t>(written));
    }
    return true;
}

void keepPermissionsOf(const std::filesystem::path& existing, int descriptor)
{
    struct stat status { };
    if (::stat(existing.c_str(), &status) == 0 && S_ISREG(status.st_mode))
        ::fchmod(descriptor, status.st_mode & 07777);
}

} // namespace

Expected<void> writeFileAtomically(const std::filesystem::path& path, std::string_view contents)
{
    // The hidden name keeps file managers from showing the half-written file; the random part keeps two
    // writers of the same file apart.
    auto folder = path.parent_path().empty() ? std::filesystem::path(".") : path.parent_path();
    TemporaryFile temporary(
        folder / ("." + path.filename().string() + "." + Uuid::random().string() + ".tmp"));
    if (!temporary.isOpen())
        return systemError(errno);
    keepPermissionsOf(path, temporary.descriptor());
    if (!writeAll(temporary.descriptor(), contents) || ::fsync(temporary.descriptor()) != 0)
        return systemError(errno);
    if (!temporary.close())
        return systemError(errno);
    if (::rename(temporary.path().c_str(), path.c_str()) != 0)
        return systemError(errno);
    temporary.keep();
    return {};
}

} // namespace cohortex
