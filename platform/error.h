// The one kind of error the system raises itself: a message for the user.
//
// Commands do not catch it; the top-level guard of the program shows its text
// in the error box and returns to the event loop (see platform/qt/guard.h).
#pragma once

#include <stdexcept>
#include <string>

namespace quorvane {

class Error : public std::runtime_error {
public:
    explicit Error(const std::string& message) : std::runtime_error(message) {}
};

}  // namespace quorvane
