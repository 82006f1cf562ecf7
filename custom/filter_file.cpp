#include "custom/filter_file.h"

#include <array>

#include "platform/file_io.h"

namespace quorvane {
namespace {

constexpr char CarriageReturn = 13;
constexpr char LineFeed = 10;
constexpr char EndOfFileMark = 26;

}  // namespace

FilterExpressions ParseFilterFile(std::string_view content) {
    content = content.substr(0, content.find(EndOfFileMark));
    std::array<std::string, 3> lines;
    for (std::string& line : lines) {
        const std::size_t end = content.find(CarriageReturn);
        line = content.substr(0, end);
        if (end == std::string_view::npos) break;
        content.remove_prefix(end + 1);
        if (!content.empty() && content.front() == LineFeed) content.remove_prefix(1);
    }
    return {lines[0], lines[1], lines[2]};
}

FilterExpressions ReadFilterFile(const std::string& path) {
    const MappedFile file(path);
    return ParseFilterFile({reinterpret_cast<const char*>(file.Data()), file.Size()});
}

void WriteFilterFile(const std::string& path, const FilterExpressions& expressions) {
    const std::string content =
        expressions.red + "\r\n" + expressions.green + "\r\n" + expressions.blue + "\r\n";
    ReplacingFile file(path);
    file.Write(content.data(), content.size());
    file.Commit();
}

}  // namespace quorvane
