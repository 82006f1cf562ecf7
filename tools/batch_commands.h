// The editor's commands that quorvane-batch can run on the document, by name.
#pragma once

#include <functional>
#include <string>
#include <vector>

namespace quorvane {

struct BatchCommand {
    std::string name;         // as given to --filter
    std::string menuPath;     // where the editor offers it, for --help
    std::function<void()> run;  // the command's primitives on the document
};

const std::vector<BatchCommand>& BatchCommands();

}  // namespace quorvane
