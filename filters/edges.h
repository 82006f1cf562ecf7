// The edge finder.
#pragma once

namespace quorvane {

// Turns the Selection of ImageBitmap into a gray edge-strength map: each
// inner pixel gets the mean absolute luminance difference to its eight
// neighbours; the image's outermost pixels are outlined in black; the
// interior of the map is stretched over the whole selection by pixel
// replication; then OptimizeLevels and LogarithmChannels(0) run on the
// selection. A selection less than 3 pixels wide or high has no interior:
// nothing is stretched over it and it keeps its pixels into the last two
// steps. A uniform edge map makes OptimizeLevels throw, leaving the map.
void FindEdges();

}  // namespace quorvane
