// The levels stretch: each colour channel of the selection separately
// stretched so that its darkest value becomes 0 and its brightest 255.
#pragma once

namespace quorvane {

// Rewrites the Selection of ImageBitmap through the filter frame. Per channel
// scale = 255 / (maximum - minimum) and offset = -scale * minimum are held as
// doubles; a value v becomes round(v * scale + offset) formed in extended
// precision, ties to even. A channel with one value throughout throws
// Error("Floating point division by zero") before anything is written back.
void OptimizeLevels();

}  // namespace quorvane
