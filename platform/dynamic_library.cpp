#include "platform/dynamic_library.h"

#include <dlfcn.h>
#include <sys/stat.h>

#include <cstdlib>
#include <filesystem>

namespace quorvane {

LibraryHandle LoadDynamicLibrary(const std::string& path) { return ::dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL); }

void* FindExport(LibraryHandle library, const std::string& name) {
    return library == nullptr ? nullptr : ::dlsym(library, name.c_str());
}

void FreeDynamicLibrary(LibraryHandle library) {
    if (library != nullptr) ::dlclose(library);
}

std::string SourceManagerFolder() {
    const char* named = std::getenv(SourceManagerFolderVariable);
    if (named != nullptr && *named != '\0') return named;
    std::error_code error;
    const std::filesystem::path program = std::filesystem::read_symlink("/proc/self/exe", error);
    return error ? std::string() : program.parent_path().string();
}

bool FileExists(const std::string& path) {
    struct stat status {};
    return ::stat(path.c_str(), &status) == 0 && S_ISREG(status.st_mode);
}

}  // namespace quorvane
