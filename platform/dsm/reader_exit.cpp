#include <chrono>
#include <thread>

#include "platform/dsm/sane_page.h"

namespace quorvane::dsm {

void LetReaderExit() { std::this_thread::sleep_for(std::chrono::milliseconds(20)); }

}  // namespace quorvane::dsm
