// The options of an open SANE device that a scan window offers, found by
// their standard names: source, mode and depth (as a TWAIN pixel type),
// resolution and the scan area. Each option is read and set through SANE's
// own constraints; an option the device lacks or has inactive is absent.
#pragma once

#include <sane/sane.h>
#include <sane/saneopts.h>

#include <optional>
#include <string>
#include <vector>

namespace quorvane::dsm {

// The string values of a string-list option and its current one.
struct StringChoice {
    std::vector<std::string> values;
    std::string current;
};

// A numeric option: its range (minimum, maximum, step 0 for any) or its word
// list (with its least and greatest value as the range), and its current
// value, in the option's unit.
struct NumberChoice {
    double minimum = 0;
    double maximum = 0;
    double step = 0;
    std::vector<double> list;
    double current = 0;
    SANE_Unit unit = SANE_UNIT_NONE;
};

// TWAIN pixel types as bits of a mask: 1 << TWPT_BW, 1 << TWPT_GRAY, 1 << TWPT_RGB.
using PixelTypeMask = unsigned;

class SaneOptions {
public:
    explicit SaneOptions(SANE_Handle device) : device_(device) {}

    std::optional<StringChoice> Strings(const char* name) const;
    std::optional<NumberChoice> Number(const char* name) const;
    SANE_Status SetString(const char* name, const std::string& value);
    SANE_Status SetNumber(const char* name, double value);

    // The pixel types the device can deliver, the current one, and choosing
    // one (mode and depth together: line art is a line-art mode or 1-bit gray).
    PixelTypeMask PixelTypes() const;
    int PixelType() const;
    SANE_Status SetPixelType(int type);

    // Whether the current source is a document feeder.
    bool FromFeeder() const;

    // The values of every option a scan window offers, to give a device
    // opened again the settings it had.
    struct Saved {
        std::vector<std::pair<std::string, std::string>> strings;
        std::vector<std::pair<std::string, double>> numbers;
    };
    Saved Save() const;
    void Restore(const Saved& saved);

private:
    const SANE_Option_Descriptor* Find(const char* name, SANE_Int& index) const;
    std::optional<std::string> ModeFor(int type) const;

    SANE_Handle device_;
};

}  // namespace quorvane::dsm
