#include "custom/filter_file.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <unistd.h>

#include "platform/error.h"

namespace quorvane {
namespace {

using namespace std::string_literals;

TEST(FilterFile, ReadsThreeCarriageReturnLines) {
    struct Case {
        std::string content;
        FilterExpressions expected;
    };
    const Case cases[] = {
        {"255-R1\r\n255-G1\r\n255-B1\r\n", {"255-R1", "255-G1", "255-B1"}},
        {"a\rb\rc\r", {"a", "b", "c"}},
        {"a\r\nb\r\n", {"a", "b", ""}},                         // a missing line reads empty
        {"", {"", "", ""}},
        {"a\nb\nc\n", {"a\nb\nc\n", "", ""}},                  // a lone line feed is text
        {"a\n\r\n\nb\r\r\nc", {"a\n", "\nb", ""}},             // one line feed skipped, the next kept
        {"a\r\nb\r\nc\r\nd\r\ne\r\n", {"a", "b", "c"}},        // more lines are ignored
        {"a\r\nb\x1a\r\nc\r\n", {"a", "b", ""}},               // character 26 ends the file
        {"\x1a" "a\r\n", {"", "", ""}},
        {"a\r\nb\r\nc", {"a", "b", "c"}},                      // no end of line after the last
        {" R1 \r\n\tG1\r\n\0B1\r\n"s, {" R1 ", "\tG1", "\0B1"s}},
    };
    for (const Case& c : cases) EXPECT_EQ(ParseFilterFile(c.content), c.expected) << c.content;
    const std::string longLine(200000, '1');
    EXPECT_EQ(ParseFilterFile(longLine + "\r\n"), (FilterExpressions{longLine, "", ""}));
}

class FilterFileOnDisk : public ::testing::Test {
protected:
    void SetUp() override { std::filesystem::create_directories(folder); }
    void TearDown() override { std::filesystem::remove_all(folder); }
    static std::string Content(const std::filesystem::path& path) {
        std::ifstream stream(path, std::ios::binary);
        std::stringstream content;
        content << stream.rdbuf();
        return content.str();
    }
    const std::filesystem::path folder =
        std::filesystem::temp_directory_path() / ("quorvane-fil-" + std::to_string(::getpid()));
};

TEST_F(FilterFileOnDisk, WritesExactlyThreeLinesAndReadsThemBack) {
    const std::string path = (folder / "invert.fil").string();
    const FilterExpressions expressions{" 255 - R1 ", "G1\n+0", ""};
    WriteFilterFile(path, expressions);
    EXPECT_EQ(Content(path), " 255 - R1 \r\nG1\n+0\r\n\r\n");
    EXPECT_EQ(ReadFilterFile(path), expressions);
    WriteFilterFile(path, {"B1", "R1", "G1"});  // replaces the old content
    EXPECT_EQ(Content(path), "B1\r\nR1\r\nG1\r\n");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder), {}), 1) << "a temporary file was left";
}

TEST_F(FilterFileOnDisk, FailuresRaiseErrorsAndKeepTheOldFile) {
    EXPECT_THROW(ReadFilterFile((folder / "missing.fil").string()), Error);
    EXPECT_THROW(ReadFilterFile(folder.string()), Error);
    EXPECT_THROW(WriteFilterFile((folder / "no-such-folder" / "a.fil").string(), {"R1", "G1", "B1"}), Error);
    const std::filesystem::path kept = folder / "kept.fil";
    WriteFilterFile(kept.string(), {"1", "2", "3"});
    std::filesystem::create_directory(folder / "target.fil");  // a name that cannot be replaced by a file
    EXPECT_THROW(WriteFilterFile((folder / "target.fil").string(), {"R1", "G1", "B1"}), Error);
    EXPECT_EQ(Content(kept), "1\r\n2\r\n3\r\n");
}

}  // namespace
}  // namespace quorvane
