// A main window on the offscreen platform with scripted boxes and dialogs.
#pragma once

#include <gtest/gtest.h>

#include <QImage>
#include <filesystem>
#include <memory>

#include "app/about_box.h"
#include "app/main_form.h"
#include "platform/bmp.h"
#include "support/scripted_services.h"

namespace quorvane::testing {

inline Bitmap Gradient(int width, int height) {
    Bitmap bitmap(width, height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) bitmap.SetPixel(x, y, RGB(x % 256, y % 256, (x + y) % 97));
    return bitmap;
}

class MainFormTest : public ::testing::Test {
protected:
    void SetUp() override {
        folder = std::filesystem::temp_directory_path() / ("quorvane-gui-" + std::to_string(::getpid()));
        std::filesystem::create_directories(folder);
        form = std::make_unique<TMainForm>();
        form->FormCreate({"quorvane"});
        AboutBox = new TAboutBox(form.get());
    }
    void TearDown() override {
        form.reset();
        AboutBox = nullptr;
        std::filesystem::remove_all(folder);
    }

    std::string WriteImage(const std::string& name, const Bitmap& picture) {
        const std::string path = (folder / name).string();
        WriteBmpFile(picture, path);
        return path;
    }
    void Open(const std::string& path) {
        CurrentFileName = path;
        form->OpenFile(path);
    }
    QImage Client() const { return form->ClientArea()->Buffer(); }
    QSize ClientSize() const { return form->ClientArea()->size(); }
    bool Enabled(const char* item) const { return form->MenuItem(item)->isEnabled(); }

    ScriptedServices services;
    std::filesystem::path folder;
    std::unique_ptr<TMainForm> form;
};

}  // namespace quorvane::testing
