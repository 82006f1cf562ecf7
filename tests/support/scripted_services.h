// A scripted double for the user-facing services: it records every box the
// code shows, answers questions and file dialogs from queues, and fails the
// test on a box or a dialog nobody expected.
#pragma once

#include <gtest/gtest.h>

#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "platform/services.h"

namespace quorvane::testing {

class ScriptedServices final : public MessageService, public FileDialogService, public ClipboardService,
                               public CursorService {
public:
    ScriptedServices() : previous_(TheServices()) { TheServices() = Services{this, this, this, this}; }
    ~ScriptedServices() override {
        TheServices() = previous_;
        EXPECT_TRUE(answers.empty()) << "unused confirmation answers";
        EXPECT_TRUE(fileNames.empty()) << "unused file dialog answers";
        EXPECT_EQ(busyDepth, 0) << "busy cursor left on";
    }

    // What the code showed, in order: "message: TEXT", "confirm: TEXT", "error: TEXT".
    std::vector<std::string> shown;
    // Answers for Confirm, in order; a question with no answer left fails.
    std::deque<bool> answers;
    // Answers for the file dialogs, in order: a path, or nothing for Cancel.
    std::deque<std::optional<std::string>> fileNames;
    std::vector<FileDialogRequest> dialogRequests;
    std::optional<Bitmap> clipboard;
    int busyDepth = 0;
    int beeps = 0;

    void ShowMessage(const std::string& text) override { shown.push_back("message: " + text); }
    bool Confirm(const std::string& text) override {
        shown.push_back("confirm: " + text);
        if (answers.empty()) {
            ADD_FAILURE() << "unexpected question: " << text;
            return false;
        }
        const bool answer = answers.front();
        answers.pop_front();
        return answer;
    }
    void ShowError(const std::string& text) override { shown.push_back("error: " + text); }
    void Beep() override { ++beeps; }

    std::optional<std::string> OpenFileName(const FileDialogRequest& request) override { return NextFile(request); }
    std::optional<std::string> SaveFileName(const FileDialogRequest& request) override { return NextFile(request); }

    void SetImage(const Bitmap& image) override {
        clipboard.emplace();
        clipboard->Assign(image);
    }
    std::optional<Bitmap> Image() override {
        if (!clipboard) return std::nullopt;
        Bitmap copy;
        copy.Assign(*clipboard);
        return copy;
    }

    void SetBusy(bool busy) override { busyDepth += busy ? 1 : -1; }

private:
    std::optional<std::string> NextFile(const FileDialogRequest& request) {
        dialogRequests.push_back(request);
        if (fileNames.empty()) {
            ADD_FAILURE() << "unexpected file dialog";
            return std::nullopt;
        }
        auto answer = fileNames.front();
        fileNames.pop_front();
        return answer;
    }

    Services previous_;
};

}  // namespace quorvane::testing
