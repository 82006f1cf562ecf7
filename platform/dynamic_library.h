// Loading a shared library at run time and finding an export by name, and
// the folder our TWAIN source manager is installed in.
#pragma once

#include <string>

namespace quorvane {

using LibraryHandle = void*;

// Null when the library does not load.
LibraryHandle LoadDynamicLibrary(const std::string& path);
// Null when the library has no such export.
void* FindExport(LibraryHandle library, const std::string& name);
void FreeDynamicLibrary(LibraryHandle library);

// The environment variable naming the source manager's folder.
inline constexpr const char* SourceManagerFolderVariable = "QUORVANE_TWAIN_DIR";

// The folder of the source manager library: the one named by
// QUORVANE_TWAIN_DIR when it is set and not empty, else the running program's
// own folder.
std::string SourceManagerFolder();

bool FileExists(const std::string& path);

}  // namespace quorvane
