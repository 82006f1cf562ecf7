#include "app/exchange_file.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

namespace quorvane {
namespace {

namespace fs = std::filesystem;

TEST(ExchangeFileTest, LivesInAPrivateFolderUnderTheTemporaryFolder) {
    const fs::path file = ExchangeFileName();
    EXPECT_EQ(file.filename(), "temp00.bmp");
    EXPECT_EQ(ExchangeFileName(), file.string());
    const fs::path folder = file.parent_path();
    EXPECT_EQ(folder.parent_path(), fs::temp_directory_path());
    EXPECT_NE(fs::weakly_canonical(folder), fs::weakly_canonical(fs::current_path()));
    struct stat status {};
    ASSERT_EQ(::stat(folder.c_str(), &status), 0);
    EXPECT_TRUE(S_ISDIR(status.st_mode));
    EXPECT_EQ(status.st_mode & 0777, 0700u);
    EXPECT_EQ(status.st_uid, ::getuid());
}

TEST(ExchangeFileTest, DeletionRemovesTheFileAndIgnoresAMissingOne) {
    const std::string file = ExchangeFileName();
    std::ofstream(file) << "picture";
    ASSERT_TRUE(fs::exists(file));
    DeleteExchangeFile();
    EXPECT_FALSE(fs::exists(file));
    DeleteExchangeFile();
    EXPECT_TRUE(fs::exists(fs::path(file).parent_path()));
}

// A forked child makes a folder of its own; its exit removes that folder,
// with the file in it, and leaves the parent's alone.
TEST(ExchangeFileTest, TheFolderAndItsFileGoWhenTheProcessExits) {
    const std::string parentFile = ExchangeFileName();
    int pipeEnds[2];
    ASSERT_EQ(::pipe(pipeEnds), 0);
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        const std::string file = ExchangeFileName();
        std::ofstream(file) << "picture";
        const ssize_t written = ::write(pipeEnds[1], file.data(), file.size());
        std::exit(written == static_cast<ssize_t>(file.size()) ? 0 : 1);
    }
    ::close(pipeEnds[1]);
    std::string file(4096, '\0');
    const ssize_t length = ::read(pipeEnds[0], file.data(), file.size());
    ::close(pipeEnds[0]);
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    ASSERT_GT(length, 0);
    file.resize(static_cast<std::size_t>(length));
    EXPECT_NE(file, parentFile);
    EXPECT_FALSE(fs::exists(fs::path(file).parent_path()));
    EXPECT_TRUE(fs::exists(fs::path(parentFile).parent_path()));
}

}  // namespace
}  // namespace quorvane
