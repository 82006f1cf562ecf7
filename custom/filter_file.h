// Filter files (".fil"): the red, green and blue expressions as three text
// lines of 8-bit characters.
//
// Writing ends each line with a carriage return and a line feed and adds
// nothing else. Reading takes each line up to a carriage return and skips one
// line feed right after it; a line feed without a carriage return before it
// is part of the line's text. A character 26 ends the file, lines missing at
// its end are empty, anything after the third line is ignored, and a line
// may be of any length: every content reads as some three texts.
#pragma once

#include <string>
#include <string_view>

namespace quorvane {

struct FilterExpressions {
    std::string red;
    std::string green;
    std::string blue;
    bool operator==(const FilterExpressions&) const = default;
};

// The three lines of a filter file's content.
FilterExpressions ParseFilterFile(std::string_view content);

// Reads the file at `path`; throws Error when it cannot be read.
FilterExpressions ReadFilterFile(const std::string& path);

// Writes the three lines to `path` through a temporary file that replaces it
// only when complete, so a failed save leaves any old file as it was. Throws
// Error when the file cannot be written.
void WriteFilterFile(const std::string& path, const FilterExpressions& expressions);

}  // namespace quorvane
