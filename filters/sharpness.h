// The sharpness filter.
#pragma once

namespace quorvane {

// Pushes each inner pixel of the Selection of ImageBitmap away from (false:
// gain 2) or toward (true: gain -0.5) m, the mean luminance of its eight
// neighbours before the pass: red, then green, then blue become
// ClampByte(trunc((L - m) * gain + v)), L being the pixel's luminance with
// the channels already rewritten. The one-pixel ring keeps its values.
void AdjustSharpness(bool decrease);

}  // namespace quorvane
