// The source manager's "Select Source" dialog: every scanner SANE finds, the
// current default marked; Select takes the highlighted one, Cancel none.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace quorvane::dsm {

struct DeviceEntry {
    std::string name;         // SANE's device name, what sane_open takes
    std::string description;  // vendor, model and kind for people
};

// The index of the device picked, or nothing when the user cancels.
std::optional<std::size_t> SelectSource(const std::vector<DeviceEntry>& devices, const std::string& current);

}  // namespace quorvane::dsm
