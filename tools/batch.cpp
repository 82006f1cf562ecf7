// quorvane-batch: the editor's work on files, without a window.
//
//   quorvane-batch INPUT OUTPUT [OPTION]...   (quorvane-batch --help lists them)
//
// INPUT is opened as the editor opens a file (whole image selected), or is
// "scanner:" for one page from the default TWAIN source; the
// options act on the document in the order given, as the editor's commands
// would, and the document is saved to OUTPUT as the editor saves.
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "app/document.h"
#include "custom/custom_filter.h"
#include "custom/filter_file.h"
#include "filters/feather.h"
#include "filters/geometry.h"
#include "filters/noise.h"
#include "filters/statistics.h"
#include "platform/services.h"
#include "sources/scanner_input.h"
#include "tools/batch_commands.h"

namespace quorvane {
namespace {

// The system's messages break lines with CR LF; a terminal line takes `with`.
std::string LineBreaksAs(std::string text, const char* with) {
    for (std::size_t at = text.find("\r\n"); at != std::string::npos; at = text.find("\r\n", at))
        text.replace(at, 2, with);
    return text;
}

constexpr int ExitFailed = 1;
constexpr int ExitUsage = 2;

// Boxes become lines on standard error; a question is answered No.
class BatchMessages final : public MessageService {
public:
    void ShowMessage(const std::string& text) override { Print(text); }
    bool Confirm(const std::string& text) override {
        Print(text + " (answered No)");
        return false;
    }
    void ShowError(const std::string& text) override { Print(text); }
    void Beep() override {}

private:
    static void Print(const std::string& text) {
        std::fprintf(stderr, "quorvane-batch: %s\n", LineBreaksAs(text, " ").c_str());
    }
};

void PrintHelp() {
    std::printf(
        "usage: quorvane-batch INPUT OUTPUT [OPTION]...\n"
        "\n"
        "Opens INPUT (a path containing .bmp or .jpg, in any case, or scanner: for one\n"
        "page from the default scanner), applies the options\n"
        "in the order given, and saves the document to OUTPUT (.bmp: 24-bit BMP,\n"
        ".jpg: JPEG at quality 90). The whole image is selected after opening.\n"
        "\n"
        "  --select L,T,R,B  select columns L..R and rows T..B (both inclusive), as a\n"
        "                    mouse drag from (L,T) to (R,B) would; a selection one\n"
        "                    pixel wide or high or less selects the whole image\n"
        "  --filter NAME     run a command of the Filters menu on the selection (below)\n"
        "  --feather R,G,B   Filters > Feather with the colour R,G,B (0..255 each)\n"
        "  --custom 'RED;GREEN;BLUE'\n"
        "                    run a custom filter on the selection: one expression in\n"
        "                    R1, G1 and B1 per channel, spaces removed as the Custom\n"
        "                    filter dialog removes them\n"
        "  --custom-file FILE.fil\n"
        "                    run the custom filter saved in a filter file\n"
        "  --resize W,H[,smooth]\n"
        "                    Deform > Resize to W x H pixels by nearest neighbour; with\n"
        "                    smooth, one 3 x 3 mean pass follows when the image grows\n"
        "                    in either direction (the dialog's pseudo interpolation)\n"
        "  --statistics      print Filters > Statistics of the image to standard output\n"
        "  --seed N          from here on, seed the noise generator with N\n"
        "                    (0..4294967295) instead of the clock, so runs repeat\n"
        "  --help            show this text\n"
        "\n"
        "Filters:\n");
    for (const BatchCommand& command : BatchCommands())
        std::printf("  %-26s %s\n", command.name.c_str(), command.menuPath.c_str());
}

int Usage(const std::string& problem) {
    std::fprintf(stderr, "quorvane-batch: %s (see quorvane-batch --help)\n", problem.c_str());
    return ExitUsage;
}

// COUNT comma-separated integers from MINIMUM to MAXIMUM, or nothing.
std::optional<std::vector<long long>> ParseNumbers(const std::string& text, std::size_t count, long long minimum,
                                                   long long maximum) {
    std::vector<long long> values;
    const char* at = text.c_str();
    while (values.size() < count) {
        char* end = nullptr;
        errno = 0;
        const long long value = std::strtoll(at, &end, 10);
        if (end == at || errno != 0 || value < minimum || value > maximum) return std::nullopt;
        values.push_back(value);
        if (*end != (values.size() < count ? ',' : '\0')) return std::nullopt;
        at = end + 1;
    }
    return values;
}

const BatchCommand* FindCommand(const std::string& name) {
    for (const BatchCommand& command : BatchCommands())
        if (command.name == name) return &command;
    return nullptr;
}

// "RED;GREEN;BLUE" as three expressions, or nothing without exactly three.
std::optional<FilterExpressions> SplitExpressions(const std::string& text) {
    const std::size_t first = text.find(';');
    const std::size_t second = first == std::string::npos ? first : text.find(';', first + 1);
    if (second == std::string::npos || text.find(';', second + 1) != std::string::npos) return std::nullopt;
    return FilterExpressions{text.substr(0, first), text.substr(first + 1, second - first - 1), text.substr(second + 1)};
}

// The Custom filter dialog's OK without the snapshot.
void ApplyCustomFilter(const FilterExpressions& expressions) {
    static TMathParser parser;
    CustomFilter(parser, WithoutSpaces(expressions.red), WithoutSpaces(expressions.green),
                 WithoutSpaces(expressions.blue));
    ReDraw();
}

void Select(const TRect& rect) {
    Selection = rect;
    SelectAllIfEmpty();
    ReDraw();
}

std::uint32_t NoiseSeed = 0;
std::uint32_t FixedNoiseSeed() { return NoiseSeed; }

void PrintStatistics() {
    std::printf("%s\n", LineBreaksAs(StatisticsText(MeasureImage(), CurrentFileName), "\n").c_str());
}

using Step = std::function<void()>;

// An option with a value: what a bad value is told, and the step it makes
// (nothing for a bad value).
struct ValueOption {
    const char* name;
    const char* expects;
    std::optional<Step> (*makeStep)(const std::string& value);
};

const ValueOption ValueOptions[] = {
    {"--select", "LEFT,TOP,RIGHT,BOTTOM",
     [](const std::string& value) -> std::optional<Step> {
         const auto corners = ParseNumbers(value, 4, INT32_MIN, INT32_MAX);
         if (!corners) return std::nullopt;
         const auto& c = *corners;
         const TRect rect{static_cast<std::int32_t>(c[0]), static_cast<std::int32_t>(c[1]),
                          static_cast<std::int32_t>(c[2]), static_cast<std::int32_t>(c[3])};
         return [rect] { Select(rect); };
     }},
    {"--filter", "the name of a filter",
     [](const std::string& value) -> std::optional<Step> {
         const BatchCommand* command = FindCommand(value);
         if (command == nullptr) return std::nullopt;
         return [command] { command->run(); };
     }},
    {"--feather", "RED,GREEN,BLUE from 0 to 255",
     [](const std::string& value) -> std::optional<Step> {
         const auto channels = ParseNumbers(value, 3, 0, 255);
         if (!channels) return std::nullopt;
         const auto& c = *channels;
         const TColor colour =
             RGB(static_cast<std::uint8_t>(c[0]), static_cast<std::uint8_t>(c[1]), static_cast<std::uint8_t>(c[2]));
         return [colour] {
             Feather(colour);
             ReDraw();
         };
     }},
    {"--custom", "'RED;GREEN;BLUE'",
     [](const std::string& value) -> std::optional<Step> {
         const std::optional<FilterExpressions> expressions = SplitExpressions(value);
         if (!expressions) return std::nullopt;
         return [expressions] { ApplyCustomFilter(*expressions); };
     }},
    {"--custom-file", "a filter file",
     [](const std::string& value) -> std::optional<Step> {
         return [value] { ApplyCustomFilter(ReadFilterFile(value)); };
     }},
    {"--resize", "WIDTH,HEIGHT or WIDTH,HEIGHT,smooth (sizes from 1)",
     [](const std::string& value) -> std::optional<Step> {
         const std::string smoothSuffix = ",smooth";
         const bool smooth = value.ends_with(smoothSuffix);
         const auto size = ParseNumbers(smooth ? value.substr(0, value.size() - smoothSuffix.size()) : value, 2, 1,
                                        INT32_MAX);
         if (!size) return std::nullopt;
         const auto width = static_cast<std::int32_t>((*size)[0]);
         const auto height = static_cast<std::int32_t>((*size)[1]);
         return [width, height, smooth] {
             ResizeWithPseudoInterpolation(width, height, ImageBitmap.Width(), ImageBitmap.Height(), smooth);
             ReDraw();
         };
     }},
    {"--seed", "a number from 0 to 4294967295",
     [](const std::string& value) -> std::optional<Step> {
         const auto seed = ParseNumbers(value, 1, 0, UINT32_MAX);
         if (!seed) return std::nullopt;
         const auto fixed = static_cast<std::uint32_t>((*seed)[0]);
         return [fixed] {
             NoiseSeed = fixed;
             SetNoiseClock(FixedNoiseSeed);
         };
     }},
};

const ValueOption* FindValueOption(const std::string& name) {
    for (const ValueOption& option : ValueOptions)
        if (name == option.name) return &option;
    return nullptr;
}

int Run(int argc, char** argv) {
    std::vector<std::string> positional;
    std::vector<Step> steps;
    for (int i = 1; i < argc; ++i) {
        const std::string argument = argv[i];
        if (argument == "--help" || argument == "-h") {
            PrintHelp();
            return 0;
        }
        if (argument == "--statistics") {
            steps.push_back(PrintStatistics);
        } else if (const ValueOption* option = FindValueOption(argument)) {
            if (i + 1 >= argc) return Usage(argument + " needs a value");
            const std::string value = argv[++i];
            std::optional<Step> step = option->makeStep(value);
            if (!step) {
                if (argument == "--filter") return Usage("unknown filter " + value);
                return Usage(argument + " takes " + option->expects + ", not " + value);
            }
            steps.push_back(std::move(*step));
        } else if (argument.size() > 1 && argument[0] == '-' && argument != "-") {
            return Usage("unknown option " + argument);
        } else {
            positional.push_back(argument);
        }
    }
    if (positional.size() != 2) return Usage("give one INPUT and one OUTPUT file");

    ResetDocument();
    bool saved = false;
    const bool finished = RunGuarded([&] {
        CurrentFileName = positional[0];
        if (!(CurrentFileName == ScannerInput ? OpenScanner() : OpenFile(CurrentFileName))) return;
        for (const Step& step : steps) step();
        saved = SaveImageFile(positional[1]);
    });
    return finished && saved ? 0 : ExitFailed;
}

}  // namespace
}  // namespace quorvane

int main(int argc, char** argv) {
    quorvane::BatchMessages messages;
    quorvane::TheServices().messages = &messages;
    return quorvane::Run(argc, argv);
}
