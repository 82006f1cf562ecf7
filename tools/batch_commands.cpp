#include "tools/batch_commands.h"

namespace quorvane {

const std::vector<BatchCommand>& BatchCommands() {
    static const std::vector<BatchCommand> commands = {};
    return commands;
}

}  // namespace quorvane
