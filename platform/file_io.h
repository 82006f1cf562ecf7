// Whole-file reading and crash-safe replacement of files.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace quorvane {

// A file's bytes, mapped read-only for as long as the object lives.
// Throws Error "Cannot open file "PATH". REASON" when it cannot be read.
class MappedFile {
public:
    explicit MappedFile(const std::string& path);
    ~MappedFile();
    MappedFile(const MappedFile&) = delete;
    MappedFile& operator=(const MappedFile&) = delete;

    const std::uint8_t* Data() const { return data_; }
    std::size_t Size() const { return size_; }

private:
    const std::uint8_t* data_ = nullptr;
    std::size_t size_ = 0;
    bool mapped_ = false;
};

// Writes a new file beside `path` and moves it over `path` only on Commit(),
// so a failed write never destroys the file it was meant to replace.
// A replaced file keeps its permission bits. Without Commit() the temporary
// file is removed. Throws Error "Cannot create file "PATH". REASON" and
// "Cannot write file "PATH". REASON".
class ReplacingFile {
public:
    explicit ReplacingFile(const std::string& path);
    ~ReplacingFile();
    ReplacingFile(const ReplacingFile&) = delete;
    ReplacingFile& operator=(const ReplacingFile&) = delete;

    void Write(const void* data, std::size_t size);
    // Writes `count` pieces of `size` bytes, piece i starting at first + i * step
    // (step may be negative): the rows of a picture in either order.
    void WriteStrided(const std::uint8_t* first, std::ptrdiff_t step, std::size_t size, std::size_t count);
    void Commit();

    // Throws the "Cannot write" error with the current errno.
    [[noreturn]] void Fail() const;

private:
    std::string path_;
    std::string tempPath_;
    int fd_ = -1;
};

// The text of errno for messages.
std::string SystemErrorText(int error);

}  // namespace quorvane
