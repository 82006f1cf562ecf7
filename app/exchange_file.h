// The exchange file through which windows hand an image to each other:
// "temp00.bmp" in a folder private to the running process (mode 0700, under
// the system's temporary folder), so that a user's own file of that name is
// never overwritten or deleted. The folder is created on first use and
// removed, with whatever it holds, when the process exits.
#pragma once

#include <string>

namespace quorvane {

// The exchange file's path. Creates the private folder on the first call;
// throws Error when it cannot be created.
std::string ExchangeFileName();

// Deletes the exchange file. A failed deletion, a missing file included, is ignored.
void DeleteExchangeFile();

}  // namespace quorvane
