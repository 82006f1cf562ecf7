#include "tools/batch_commands.h"

#include "app/document.h"
#include "filters/composite.h"
#include "filters/edges.h"
#include "filters/geometry.h"
#include "filters/levels.h"
#include "filters/mean.h"
#include "filters/noise.h"
#include "filters/point.h"
#include "filters/sharpness.h"

namespace quorvane {

namespace {

// The primitives of a menu command, then the repaint; the batch tool keeps
// no undo snapshot.
template <typename Primitives>
std::function<void()> Command(Primitives primitives) {
    return [primitives] {
        primitives();
        ReDraw();
    };
}

}  // namespace

const std::vector<BatchCommand>& BatchCommands() {
    static const std::vector<BatchCommand> commands = {
        {"black-and-white", "Filters > Black and white", Command([] { BlackAndWhite(); })},
        {"brightness-increase", "Filters > Brightness > Increase", Command([] { AdjustChannels(25, 25, 25); })},
        {"brightness-decrease", "Filters > Brightness > Decrease", Command([] { AdjustChannels(-25, -25, -25); })},
        {"red-increase", "Filters > Channels > Red > Increase", Command([] { AdjustChannels(25, 0, 0); })},
        {"red-decrease", "Filters > Channels > Red > Decrease", Command([] { AdjustChannels(-25, 0, 0); })},
        {"green-increase", "Filters > Channels > Green > Increase", Command([] { AdjustChannels(0, 25, 0); })},
        {"green-decrease", "Filters > Channels > Green > Decrease", Command([] { AdjustChannels(0, -25, 0); })},
        {"blue-increase", "Filters > Channels > Blue > Increase", Command([] { AdjustChannels(0, 0, 25); })},
        {"blue-decrease", "Filters > Channels > Blue > Decrease", Command([] { AdjustChannels(0, 0, -25); })},
        {"grayscale", "Filters > Grayscale", Command([] { Grayscale(); })},
        {"invert-all", "Filters > Invert > All", Command([] { InvertChannels(0); })},
        {"invert-red", "Filters > Invert > Red", Command([] { InvertChannels(1); })},
        {"invert-green", "Filters > Invert > Green", Command([] { InvertChannels(2); })},
        {"invert-blue", "Filters > Invert > Blue", Command([] { InvertChannels(3); })},
        {"logarithm-all", "Filters > Logaritmize > All", Command([] { LogarithmChannels(0); })},
        {"logarithm-red", "Filters > Logaritmize > Red", Command([] { LogarithmChannels(1); })},
        {"logarithm-green", "Filters > Logaritmize > Green", Command([] { LogarithmChannels(2); })},
        {"logarithm-blue", "Filters > Logaritmize > Blue", Command([] { LogarithmChannels(3); })},
        {"optimize", "Filters > Optimize", Command([] { OptimizeLevels(); })},
        {"sepia", "Filters > Sepia", Command([] { Sepia(); })},
        {"contrast-increase", "Filters > Contrast > Increase", Command([] { AdjustContrast(false); })},
        {"contrast-decrease", "Filters > Contrast > Decrease", Command([] { AdjustContrast(true); })},
        {"find-edges", "Filters > Find edges", Command([] { FindEdges(); })},
        {"mean-value", "Filters > Mean value", Command([] { Mean(5); })},
        {"noise-add", "Filters > Noise > Add", Command([] { AddNoise(25); })},
        {"noise-remove", "Filters > Noise > Remove", Command([] { Mean(1); })},
        {"sharpness-increase", "Filters > Sharpness > Increase", Command([] { AdjustSharpness(false); })},
        {"sharpness-decrease", "Filters > Sharpness > Decrease", Command([] { AdjustSharpness(true); })},
        {"drawn", "Filters > Drawn", Command([] { Drawn(); })},
        {"early-20th-century", "Filters > Photo effects > Early 20:th century", Command([] { Early20thCentury(); })},
        {"cheap-color-camera", "Filters > Photo effects > Cheap color camera", Command([] { CheapColorCamera(); })},
        {"swap-channels", "Filters > Swap channels", Command([] { SwapChannels(); })},
        {"mirror-horizontal", "Filters > Mirror > Horisontally", Command([] { MirrorImage(0); })},
        {"mirror-vertical", "Filters > Mirror > Vertically", Command([] { MirrorImage(1); })},
        {"reflection-horizontal", "Filters > Reflection > Horisontally", Command([] {
             ReflectImage(0);
             OptimizeLevels();
         })},
        {"reflection-vertical", "Filters > Reflection > Vertically", Command([] {
             ReflectImage(1);
             OptimizeLevels();
         })},
        {"rotate-left", "Deform > Rotate > Left", Command([] { RotateImage(0); })},
        {"rotate-right", "Deform > Rotate > Right", Command([] { RotateImage(1); })},
        {"crop", "Deform > Crop", Command([] { CropImage(); })},
    };
    return commands;
}

}  // namespace quorvane
