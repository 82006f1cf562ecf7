#include "platform/file_io.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <sys/uio.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstring>
#include <vector>

#include "platform/error.h"

namespace quorvane {

std::string SystemErrorText(int error) { return std::strerror(error); }

namespace {

[[noreturn]] void ThrowOpen(const std::string& path, int error) {
    throw Error("Cannot open file \"" + path + "\". " + SystemErrorText(error));
}

}  // namespace

MappedFile::MappedFile(const std::string& path) {
    const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) ThrowOpen(path, errno);
    struct stat info {};
    if (fstat(fd, &info) != 0) {
        const int error = errno;
        close(fd);
        ThrowOpen(path, error);
    }
    if (!S_ISREG(info.st_mode)) {
        close(fd);
        ThrowOpen(path, S_ISDIR(info.st_mode) ? EISDIR : EINVAL);
    }
    size_ = static_cast<std::size_t>(info.st_size);
    if (size_ > 0) {
        void* map = mmap(nullptr, size_, PROT_READ, MAP_PRIVATE | MAP_POPULATE, fd, 0);
        if (map == MAP_FAILED) {
            const int error = errno;
            close(fd);
            ThrowOpen(path, error);
        }
        data_ = static_cast<const std::uint8_t*>(map);
        mapped_ = true;
    }
    close(fd);
}

MappedFile::~MappedFile() {
    if (mapped_) munmap(const_cast<std::uint8_t*>(data_), size_);
}

ReplacingFile::ReplacingFile(const std::string& path) : path_(path) {
    const std::size_t slash = path.rfind('/');
    const std::string folder = slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
    const std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    tempPath_ = folder + "." + name + ".XXXXXX";
    std::vector<char> pattern(tempPath_.begin(), tempPath_.end());
    pattern.push_back('\0');
    fd_ = mkostemp(pattern.data(), O_CLOEXEC);
    if (fd_ < 0) throw Error("Cannot create file \"" + path + "\". " + SystemErrorText(errno));
    tempPath_ = pattern.data();
    struct stat existing {};
    const mode_t mode = stat(path.c_str(), &existing) == 0 ? existing.st_mode & 07777 : [] {
        const mode_t mask = umask(0);
        umask(mask);
        return static_cast<mode_t>(0666 & ~mask);
    }();
    fchmod(fd_, mode);
}

ReplacingFile::~ReplacingFile() {
    if (fd_ >= 0) {
        close(fd_);
        unlink(tempPath_.c_str());
    }
}

void ReplacingFile::Fail() const {
    throw Error("Cannot write file \"" + path_ + "\". " + SystemErrorText(errno));
}

void ReplacingFile::Write(const void* data, std::size_t size) {
    const auto* bytes = static_cast<const std::uint8_t*>(data);
    while (size > 0) {
        const ssize_t written = write(fd_, bytes, size);
        if (written < 0 && errno == EINTR) continue;
        if (written <= 0) {
            if (written == 0) errno = ENOSPC;
            Fail();
        }
        bytes += written;
        size -= static_cast<std::size_t>(written);
    }
}

void ReplacingFile::WriteStrided(const std::uint8_t* first, std::ptrdiff_t step, std::size_t size,
                                 std::size_t count) {
    constexpr std::size_t Batch = IOV_MAX < 1024 ? IOV_MAX : 1024;
    std::vector<iovec> pieces;
    pieces.reserve(Batch);
    std::size_t done = 0;
    while (done < count) {
        pieces.clear();
        const std::size_t batch = count - done < Batch ? count - done : Batch;
        for (std::size_t i = 0; i < batch; ++i)
            pieces.push_back({const_cast<std::uint8_t*>(first + static_cast<std::ptrdiff_t>(done + i) * step), size});
        std::size_t index = 0;
        while (index < pieces.size()) {
            const ssize_t written = writev(fd_, &pieces[index], static_cast<int>(pieces.size() - index));
            if (written < 0 && errno == EINTR) continue;
            if (written <= 0) {
                if (written == 0) errno = ENOSPC;
                Fail();
            }
            auto left = static_cast<std::size_t>(written);
            while (index < pieces.size() && left >= pieces[index].iov_len) left -= pieces[index++].iov_len;
            if (index < pieces.size()) {
                pieces[index].iov_base = static_cast<std::uint8_t*>(pieces[index].iov_base) + left;
                pieces[index].iov_len -= left;
            }
        }
        done += batch;
    }
}

void ReplacingFile::Commit() {
    if (close(fd_) != 0) {
        fd_ = -1;
        const int error = errno;
        unlink(tempPath_.c_str());
        errno = error;
        Fail();
    }
    fd_ = -1;
    if (rename(tempPath_.c_str(), path_.c_str()) != 0) {
        const int error = errno;
        unlink(tempPath_.c_str());
        throw Error("Cannot create file \"" + path_ + "\". " + SystemErrorText(error));
    }
}

}  // namespace quorvane
