#include "app/exchange_file.h"

#include <stdlib.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <memory>
#include <system_error>

#include "platform/error.h"

namespace quorvane {

namespace {

constexpr const char* ExchangeLeafName = "temp00.bmp";

std::filesystem::path SystemTemporaryFolder() {
    std::error_code error;
    std::filesystem::path folder = std::filesystem::temp_directory_path(error);
    return error ? std::filesystem::path("/tmp") : folder;
}

// A private folder made with mkdtemp (which gives it mode 0700), removed
// when the object ends in the process that made it; a forked child leaves
// its parent's folder alone.
class PrivateFolder {
public:
    PrivateFolder() : owner_(::getpid()) {
        std::string pattern = (SystemTemporaryFolder() / "quorvane-XXXXXX").string();
        if (mkdtemp(pattern.data()) == nullptr)
            throw Error("Cannot create a temporary folder in " + SystemTemporaryFolder().string() + ": " +
                        std::strerror(errno));
        path_ = pattern;
    }
    ~PrivateFolder() {
        std::error_code ignored;
        if (OwnedByThisProcess()) std::filesystem::remove_all(path_, ignored);
    }
    PrivateFolder(const PrivateFolder&) = delete;
    PrivateFolder& operator=(const PrivateFolder&) = delete;

    const std::filesystem::path& Path() const { return path_; }
    bool OwnedByThisProcess() const { return owner_ == ::getpid(); }

private:
    pid_t owner_;
    std::filesystem::path path_;
};

// The running process's folder, made anew in a forked child.
const PrivateFolder& ProcessFolder() {
    static std::unique_ptr<PrivateFolder> folder;
    if (!folder || !folder->OwnedByThisProcess()) {
        folder.reset();
        folder = std::make_unique<PrivateFolder>();
    }
    return *folder;
}

}  // namespace

std::string ExchangeFileName() {
    return (ProcessFolder().Path() / ExchangeLeafName).string();
}

void DeleteExchangeFile() {
    std::error_code ignored;
    std::filesystem::remove(ExchangeFileName(), ignored);
}

}  // namespace quorvane
