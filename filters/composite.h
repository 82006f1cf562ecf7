// Composite effects: fixed sequences of filters on the same selection, each
// step a complete filter of its own working on the result of the one before.
// A step that throws ends the sequence; the steps before keep their result.
#pragma once

namespace quorvane {

// Grayscale, then AdjustChannels(25, 0, -25).
void Sepia();
// Mean(1), FindEdges, InvertChannels(0), AdjustContrast(false).
void Drawn();
// AddNoise(25), Mean(1), Grayscale, AdjustChannels(25, 13, -25), AdjustContrast(false).
void Early20thCentury();
// AdjustChannels(25, 0, 0), AddNoise(25), Mean(1), AdjustContrast(false).
void CheapColorCamera();

}  // namespace quorvane
