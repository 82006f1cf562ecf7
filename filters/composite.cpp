#include "filters/composite.h"

#include "filters/edges.h"
#include "filters/mean.h"
#include "filters/noise.h"
#include "filters/point.h"

namespace quorvane {

// Grayscale, then AdjustChannels(25, 0, -25), fused into one pass.
void Sepia() { TintedGrayscale(25, 0, -25); }

void Drawn() {
    Mean(1);
    FindEdges();
    InvertChannels(0);
    AdjustContrast(false);
}

void Early20thCentury() {
    AddNoise(25);
    Mean(1);
    Grayscale();
    AdjustChannels(25, 13, -25);
    AdjustContrast(false);
}

void CheapColorCamera() {
    AdjustChannels(25, 0, 0);
    AddNoise(25);
    Mean(1);
    AdjustContrast(false);
}

}  // namespace quorvane
