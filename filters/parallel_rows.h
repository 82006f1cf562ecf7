// Splits a pass over rows between the machine's cores.
//
// The kernels of the filters write disjoint rows and read only what no other
// row block writes, so a block's result does not depend on how the rows are
// divided: the split is invisible in the pixels.
#pragma once

#include <cstdint>
#include <functional>

namespace quorvane {

// Runs work(firstRow, endRow) over the rows [0, rows), in two blocks on two
// threads when the job holds enough pixels to pay for a thread, else in one
// call on the calling thread.
void ForRowBlocks(int rows, std::int64_t pixelsPerRow, const std::function<void(int firstRow, int endRow)>& work);

}  // namespace quorvane
