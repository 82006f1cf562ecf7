// quorvane-batch: the editor's work on files, without a window.
//
//   quorvane-batch INPUT OUTPUT [--select LEFT,TOP,RIGHT,BOTTOM] [--filter NAME]...
//
// INPUT is opened as the editor opens a file (whole image selected), the
// options act on the document in the order given, as the editor's commands
// would, and the document is saved to OUTPUT as the editor saves.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "app/document.h"
#include "platform/services.h"
#include "tools/batch_commands.h"

namespace quorvane {
namespace {

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
    static void Print(std::string text) {
        for (std::size_t at = text.find("\r\n"); at != std::string::npos; at = text.find("\r\n", at))
            text.replace(at, 2, " ");
        std::fprintf(stderr, "quorvane-batch: %s\n", text.c_str());
    }
};

void PrintHelp() {
    std::printf(
        "usage: quorvane-batch INPUT OUTPUT [--select LEFT,TOP,RIGHT,BOTTOM] [--filter NAME]...\n"
        "\n"
        "Opens INPUT (a path containing .bmp or .jpg, in any case), applies the options\n"
        "in the order given, and saves the document to OUTPUT (.bmp: 24-bit BMP,\n"
        ".jpg: JPEG at quality 90). The whole image is selected after opening.\n"
        "\n"
        "  --select L,T,R,B  select columns L..R and rows T..B (both inclusive), as a\n"
        "                    mouse drag from (L,T) to (R,B) would; a selection one\n"
        "                    pixel wide or high or less selects the whole image\n"
        "  --filter NAME     run a command of the editor on the selection\n"
        "  --help            show this text\n");
    if (!BatchCommands().empty()) {
        std::printf("\nFilters:\n");
        for (const BatchCommand& command : BatchCommands())
            std::printf("  %-26s %s\n", command.name.c_str(), command.menuPath.c_str());
    }
}

int Usage(const std::string& problem) {
    std::fprintf(stderr, "quorvane-batch: %s (see quorvane-batch --help)\n", problem.c_str());
    return ExitUsage;
}

bool ParseSelection(const char* text, TRect& rect) {
    long values[4];
    const char* at = text;
    for (int i = 0; i < 4; ++i) {
        char* end = nullptr;
        values[i] = std::strtol(at, &end, 10);
        if (end == at || values[i] < INT32_MIN || values[i] > INT32_MAX) return false;
        if (i < 3 && *end != ',') return false;
        if (i == 3 && *end != '\0') return false;
        at = end + 1;
    }
    rect = TRect{static_cast<std::int32_t>(values[0]), static_cast<std::int32_t>(values[1]),
                 static_cast<std::int32_t>(values[2]), static_cast<std::int32_t>(values[3])};
    return true;
}

const BatchCommand* FindCommand(const std::string& name) {
    for (const BatchCommand& command : BatchCommands())
        if (command.name == name) return &command;
    return nullptr;
}

// The selection gesture's rule: what a release leaves empty selects all.
void Select(const TRect& rect) {
    Selection = rect;
    if (IsSelectionEmpty()) {
        TheServices().messages->ShowMessage("Nothing selected.\r\nSelecting all.");
        SelectAll();
    }
    ReDraw();
}

int Run(int argc, char** argv) {
    std::vector<std::string> positional;
    std::vector<std::function<void()>> steps;
    for (int i = 1; i < argc; ++i) {
        const std::string argument = argv[i];
        if (argument == "--help" || argument == "-h") {
            PrintHelp();
            return 0;
        }
        if (argument == "--select" || argument == "--filter") {
            if (i + 1 >= argc) return Usage(argument + " needs a value");
            const char* value = argv[++i];
            if (argument == "--select") {
                TRect rect;
                if (!ParseSelection(value, rect)) return Usage("--select takes LEFT,TOP,RIGHT,BOTTOM, not " + std::string(value));
                steps.push_back([rect] { Select(rect); });
            } else {
                const BatchCommand* command = FindCommand(value);
                if (command == nullptr) return Usage("unknown filter " + std::string(value));
                steps.push_back([command] { command->run(); });
            }
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
        if (!OpenFile(CurrentFileName)) return;
        for (const auto& step : steps) step();
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
