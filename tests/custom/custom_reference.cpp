#include "custom/custom_reference.h"

#include <algorithm>
#include <cmath>

#include "custom/parser.h"
#include "platform/error.h"

namespace quorvane::testing {
namespace {

std::string ReplaceEach(std::string text, const std::string& name, int value) {
    const std::string digits = std::to_string(value);
    for (std::size_t at = text.find(name); at != std::string::npos; at = text.find(name, at + digits.size()))
        text.replace(at, name.size(), digits);
    return text;
}

}  // namespace

std::string ReferenceSubstitution(std::string text, int red, int green, int blue) {
    return ReplaceEach(ReplaceEach(ReplaceEach(std::move(text), "R1", red), "G1", green), "B1", blue);
}

ReferenceChannel ReferenceChannelValue(const std::string& expression, int red, int green, int blue) {
    TMathParser parser;
    parser.ParseString = ReferenceSubstitution(expression, red, green, blue);
    try {
        parser.Evaluate();
    } catch (const Error& error) {
        return {0, error.what()};
    }
    const long double rounded = std::nearbyint(parser.ResultValue);
    return {static_cast<std::uint8_t>(rounded < 0 ? 0 : rounded > 255 ? 255 : static_cast<int>(rounded)), {}};
}

ReferencePass ReferenceCustomFilter(const Bitmap& image, TRect selection, const std::string& red,
                                    const std::string& green, const std::string& blue) {
    ReferencePass pass;
    pass.image.Assign(image);
    if (selection.Right < selection.Left) std::swap(selection.Left, selection.Right);
    if (selection.Bottom < selection.Top) std::swap(selection.Top, selection.Bottom);
    for (int y = selection.Top; y <= selection.Bottom; ++y) {
        for (int x = selection.Left; x <= selection.Right; ++x) {
            const bool inside = x >= 0 && y >= 0 && x < image.Width() && y < image.Height();
            const TColor colour = inside ? image.Pixel(x, y) : 0;
            const int r = colour & 255;
            const int g = (colour >> 8) & 255;
            const int b = (colour >> 16) & 255;
            const ReferenceChannel channels[3] = {ReferenceChannelValue(red, r, g, b),
                                                  ReferenceChannelValue(green, r, g, b),
                                                  ReferenceChannelValue(blue, r, g, b)};
            for (const ReferenceChannel& channel : channels) {
                if (channel.error) {
                    pass.image.Assign(image);
                    pass.error = channel.error;
                    return pass;
                }
            }
            if (inside) pass.image.SetPixel(x, y, RGB(channels[0].value, channels[1].value, channels[2].value));
        }
    }
    return pass;
}

}  // namespace quorvane::testing
