// The scanner as the batch tool's input: one page from the default TWAIN
// source, its window hidden.
#pragma once

#include <string>

namespace quorvane {

// The INPUT that names the scanner.
inline constexpr const char* ScannerInput = "scanner:";

// Makes the first image of one acquisition the document, whole image
// selected; the batch's further images are released. False when no image
// arrived, after the layer's messages and one of its own.
bool OpenScanner();

}  // namespace quorvane
