// The Scan command and the batch tool's scanner input end to end: the TWAIN
// layer, our source manager, its windows and SANE's test device, compared
// with what scanimage gives for the same settings. The manager keeps its
// default source and each device's settings for the whole run, so every test
// runs in a process of its own.
#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTimer>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <map>
#include <sstream>

#include "gui/main_form_fixture.h"
#include "platform/dynamic_library.h"
#include "platform/message_queue.h"
#include "platform/qt/qt_message_queue.h"
#include "platform/window_handles.h"
#include "sources/multitwain_dib.h"
#include "sources/multitwain_inner.h"
#include "sources/scanner_input.h"

namespace quorvane::testing {
namespace {

const char* const SystemTestConfig = "/etc/sane.d/test.conf";

// A PNM page as scanimage writes it (P4 line art, P5 gray, P6 colour, 8 or 16 bits).
Bitmap ReadPnm(const std::string& bytes) {
    std::istringstream in(bytes);
    auto number = [&in] {
        while (in >> std::ws && in.peek() == '#') in.ignore(1 << 20, '\n');
        int value = 0;
        in >> value;
        return value;
    };
    std::string magic;
    in >> magic;
    const int width = number(), height = number(), maximum = magic == "P4" ? 1 : number();
    in.get();
    Bitmap picture(width, height);
    const int sampleBytes = maximum > 255 ? 2 : 1;
    for (int y = 0; y < height; ++y) {
        std::vector<unsigned char> row;
        const std::size_t rowBytes = magic == "P4"   ? (width + 7) / 8
                                     : magic == "P5" ? std::size_t(width) * sampleBytes
                                                     : std::size_t(width) * 3 * sampleBytes;
        row.resize(rowBytes);
        in.read(reinterpret_cast<char*>(row.data()), static_cast<std::streamsize>(rowBytes));
        for (int x = 0; x < width; ++x) {
            if (magic == "P4") {
                const int level = row[x / 8] >> (7 - x % 8) & 1 ? 0 : 255;
                picture.SetPixel(x, y, RGB(level, level, level));
            } else if (magic == "P5") {
                const int level = row[std::size_t(x) * sampleBytes];
                picture.SetPixel(x, y, RGB(level, level, level));
            } else {
                const unsigned char* p = &row[std::size_t(x) * 3 * sampleBytes];
                picture.SetPixel(x, y, RGB(p[0], p[sampleBytes], p[2 * sampleBytes]));
            }
        }
    }
    return picture;
}

// One thing to do in a window of the source manager once it is up; true when done.
struct Step {
    const char* window;
    std::function<bool(QWidget&)> act;
};

template <class Control>
Control& Find(QWidget& window, const char* name) {
    auto* control = window.findChild<Control*>(name);
    if (control == nullptr) throw std::runtime_error(std::string("no control ") + name);
    return *control;
}

bool Choose(QWidget& window, const char* combo, const QString& text) {
    auto& box = Find<QComboBox>(window, combo);
    const int index = box.findText(text);
    if (index < 0) throw std::runtime_error("no item " + text.toStdString());
    box.setCurrentIndex(index);
    emit box.activated(index);
    return true;
}

// Clicks once the step is over: a click may wait in an event loop of its own
// (Scan reads the page), and the next steps have to run in it.
bool Click(QWidget& window, const char* button) {
    QMetaObject::invokeMethod(&Find<QPushButton>(window, button), &QPushButton::click, Qt::QueuedConnection);
    return true;
}

Step SelectDefault() {
    return {"SelectSourceDialog", [](QWidget& dialog) { return Click(dialog, "select"); }};
}
Step ScanIn(const QString& mode) {
    return {"SourceWindow", [mode](QWidget& window) { return Choose(window, "mode", mode) && Click(window, "scan"); }};
}

class SaneScanTest : public MainFormTest {
protected:
    void SetUp() override {
        if (!std::filesystem::exists(SystemTestConfig)) GTEST_SKIP() << "SANE's test device is not installed";
        MainFormTest::SetUp();
        sane = folder / "sane";
        std::filesystem::create_directories(sane);
        std::ofstream(sane / "dll.conf") << "test\n";
        Configure({{"test-picture", "\"Color pattern\""}});
        ::setenv("SANE_CONFIG_DIR", sane.c_str(), 1);
        ::setenv(SourceManagerFolderVariable, REAL_DSM_DIR, 1);
        InstallQtMessageQueue();
        SetWarningBoxPresenter({});
        driver = std::make_unique<QTimer>();
        QObject::connect(driver.get(), &QTimer::timeout, [this] { RunNextStep(); });
        driver->start(10);
    }
    void TearDown() override {
        driver.reset();
        MainFormTest::TearDown();
    }

    // Writes the test device's configuration: the system's, with these keys changed.
    void Configure(const std::map<std::string, std::string>& changes) {
        std::ifstream system(SystemTestConfig);
        std::ofstream config(sane / "test.conf");
        for (std::string line; std::getline(system, line);) {
            const std::string key = line.substr(0, line.find(' '));
            const auto change = changes.find(key);
            config << (change != changes.end() ? key + " " + change->second : line) << "\n";
        }
    }

    // What scanimage gives for the same device configuration and options.
    // The test backend's reader thread can deadlock scanimage itself when it
    // ends a frame, so a run that does not finish is tried again.
    Bitmap Scanimage(const std::string& options) {
        const std::string command = "timeout 10 scanimage -d test:0 --format=pnm " + options + " 2>/dev/null";
        for (int attempt = 0; attempt < 3; ++attempt) {
            FILE* pipe = ::popen(command.c_str(), "r");
            std::string bytes;
            char buffer[65536];
            for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;) bytes.append(buffer, n);
            if (::pclose(pipe) == 0) return ReadPnm(bytes);
        }
        ADD_FAILURE() << command << " failed three times";
        return Bitmap();
    }

    void Scan(std::vector<Step> script) {
        steps = std::move(script);
        form->MenuItem("ScanMenu")->trigger();
        EXPECT_TRUE(steps.empty()) << "the scan ended before step " << steps.front().window;
    }

    void RunNextStep() {
        if (steps.empty()) return;
        for (QWidget* window : QApplication::topLevelWidgets()) {
            if (window->objectName() != steps.front().window || !window->isVisible()) continue;
            if (steps.front().act(*window)) steps.erase(steps.begin());
            return;
        }
    }

    void ExpectDocumentIs(const Bitmap& expected) {
        ASSERT_EQ(ImageBitmap.Width(), expected.Width());
        ASSERT_EQ(ImageBitmap.Height(), expected.Height());
        for (int y = 0; y < expected.Height(); ++y)
            for (int x = 0; x < expected.Width(); ++x)
                ASSERT_EQ(ImageBitmap.Pixel(x, y), expected.Pixel(x, y)) << "at " << x << "," << y;
    }

    std::filesystem::path sane;
    std::vector<Step> steps;
    std::unique_ptr<QTimer> driver;  // runs the steps while the scan waits
};

TEST_F(SaneScanTest, EachModeGivesThePixelsScanimageGives) {
    const std::pair<const char*, const char*> modes[] = {
        {"Colour", "--mode Color"}, {"Gray", "--mode Gray --depth 8"}, {"Line art", "--mode Gray --depth 1"}};
    for (const auto& [mode, options] : modes) {
        Scan({SelectDefault(), ScanIn(mode)});
        ExpectDocumentIs(Scanimage(options));
        EXPECT_TRUE(services.shown.empty());
    }
}

TEST_F(SaneScanTest, ThePixelTypesTheApplicationTakesChooseTheMode) {
    Configure({{"test-picture", "\"Color pattern\""}, {"mode", "Color"}});
    TWAIN_SetHideInterface(true);
    for (const auto& [mask, options] : {std::pair{1u << TWPT_GRAY, "--mode Gray"},
                                        std::pair{1u << TWPT_BW | 1u << TWPT_GRAY, "--mode Gray"},
                                        std::pair{1u << TWPT_BW, "--mode Gray --depth 1"}}) {
        TWAIN_AcquireImages(NoWindow, mask);
        ASSERT_EQ(TWAIN_ImageCount(), 1);
        PictureHolder holder;
        DIB_CopyToImage(TWAIN_ImageAt(0), holder);
        FreeBlock(TWAIN_ImageAt(0));
        ImageBitmap = std::move(holder.Picture);
        ExpectDocumentIs(Scanimage(options));
    }
}

TEST_F(SaneScanTest, TheSettingsOfTheWindowGoToTheDevice) {
    Scan({SelectDefault(), {"SourceWindow", [](QWidget& window) {
              Choose(window, "resolution", "75 dpi");
              Find<QDoubleSpinBox>(window, "right").setValue(40);
              return Choose(window, "mode", "Colour") && Click(window, "scan");
          }}});
    ExpectDocumentIs(Scanimage("--mode Color --resolution 75 -x 40"));
}

// Devices configured to be awkward, read by the batch tool's scanner input
// (the source's window hidden).
struct AwkwardCase {
    const char* name;
    std::map<std::string, std::string> config;
};

void PrintTo(const AwkwardCase& awkward, std::ostream* out) { *out << awkward.name; }

class AwkwardDevice : public SaneScanTest, public ::testing::WithParamInterface<AwkwardCase> {};

TEST_P(AwkwardDevice, GivesThePixelsScanimageGives) {
    auto config = GetParam().config;
    config["test-picture"] = "\"Color pattern\"";
    Configure(config);
    ASSERT_TRUE(OpenScanner());
    ExpectDocumentIs(Scanimage(""));
}

INSTANTIATE_TEST_SUITE_P(
    Devices, AwkwardDevice,
    ::testing::Values(AwkwardCase{"Colour16Bits", {{"mode", "Color"}, {"depth", "16"}}},
                      AwkwardCase{"Gray16Bits", {{"mode", "Gray"}, {"depth", "16"}}},
                      AwkwardCase{"ThreePass", {{"mode", "Color"}, {"three-pass", "true"}, {"three-pass-order", "GBR"}}},
                      AwkwardCase{"HandScanner", {{"mode", "Gray"}, {"hand-scanner", "true"}}}),
    [](const ::testing::TestParamInfo<AwkwardCase>& info) { return std::string(info.param.name); });

// Lines longer than their pixels (scanimage writes the waste as pixels).
TEST_F(SaneScanTest, PixelsWastedAtLineEndsAreLeftOut) {
    Configure({{"test-picture", "\"Color pattern\""}, {"mode", "Color"}});
    const Bitmap whole = Scanimage("");
    Configure({{"test-picture", "\"Color pattern\""}, {"mode", "Color"}, {"ppl-loss", "7"}});
    ASSERT_TRUE(OpenScanner());
    Bitmap expected(whole.Width() - 7, whole.Height());
    for (int y = 0; y < whole.Height(); ++y)
        for (int x = 0; x < expected.Width(); ++x) expected.SetPixel(x, y, whole.Pixel(x, y));
    ExpectDocumentIs(expected);
}

TEST_F(SaneScanTest, FeederBatchGivesItsFirstPage) {
    Open(WriteImage("before.bmp", Gradient(5, 4)));
    Scan({SelectDefault(), {"SourceWindow", [](QWidget& window) {
              return Choose(window, "source", "Automatic Document Feeder") && ScanIn("Colour").act(window);
          }}});
    ExpectDocumentIs(Scanimage("--mode Color --source 'Automatic Document Feeder'"));
    EXPECT_EQ(TWAIN_ImageCount(), 10);
    form->UndoMenuClick(nullptr);
    EXPECT_EQ(ImageBitmap.Width(), 5);
}

TEST_F(SaneScanTest, JammedFeederGivesNoImageAndSaysWhy) {
    Configure({{"read-status-code", "\"SANE_STATUS_JAMMED\""}});
    Open(WriteImage("before.bmp", Gradient(5, 4)));
    const std::string jammed = "The paper is jammed in the document feeder.";
    Scan({SelectDefault(), ScanIn("Gray"), {"SourceWindow", [&](QWidget& window) {
              if (Find<QLabel>(window, "status").text().toStdString() != jammed) return false;
              EXPECT_EQ(Find<QComboBox>(window, "source").currentText(), "Flatbed");
              return Click(window, "close");
          }}});
    EXPECT_EQ(ImageBitmap.Width(), 5);
    EXPECT_TRUE(services.shown.empty());

    EXPECT_FALSE(OpenScanner());
    EXPECT_EQ(services.shown,
              (std::vector<std::string>{"message: " + jammed, "message: No image arrived from the scanner."}));
    EXPECT_EQ(ImageBitmap.Width(), 5);
}

TEST_F(SaneScanTest, CancelAndCloseChangeNothing) {
    Open(WriteImage("before.bmp", Gradient(5, 4)));
    UndoBitmap.SetSize(1, 1);
    Scan({{"SelectSourceDialog", [](QWidget& dialog) { return Click(dialog, "cancel"); }},
          {"SourceWindow", [](QWidget& window) { return Click(window, "close"); }}});
    // A slow page: Close while it is read cancels it.
    Configure({{"test-picture", "\"Color pattern\""}, {"read-delay", "true"}, {"read-delay-duration", "200000"}});
    Scan({SelectDefault(), ScanIn("Colour"), {"SourceWindow", [](QWidget& window) {
              return !Find<QPushButton>(window, "scan").isEnabled() && Click(window, "close");
          }}});
    EXPECT_EQ(ImageBitmap.Width(), 5);
    EXPECT_EQ(UndoBitmap.Width(), 1);
    EXPECT_TRUE(services.shown.empty());
}

TEST_F(SaneScanTest, ClosingTheMainWindowWhileAPageIsReadEndsTheScan) {
    Configure({{"test-picture", "\"Color pattern\""}, {"read-delay", "true"}, {"read-delay-duration", "200000"}});
    form->show();
    TMainForm* main = form.get();
    // Qt tells of the last window closing only inside the program's own loop.
    QTimer::singleShot(0, [&] {
        Scan({SelectDefault(), ScanIn("Colour"), {"SourceWindow", [main](QWidget& window) {
                  if (Find<QPushButton>(window, "scan").isEnabled()) return false;
                  QMetaObject::invokeMethod(main, &QWidget::close, Qt::QueuedConnection);
                  return true;
              }}});
        QCoreApplication::exit(0);
    });
    QApplication::exec();
    EXPECT_EQ(ImageBitmap.Width(), 0);
    for (QWidget* window : QApplication::topLevelWidgets())
        EXPECT_FALSE(window->objectName() == "SourceWindow" && window->isVisible());
}

TEST_F(SaneScanTest, ThePickedSourceIsTheDefaultForTheRestOfTheRun) {
    auto pick = [](const char* device) {
        return Step{"SelectSourceDialog", [device](QWidget& dialog) {
                        auto& list = Find<QListWidget>(dialog, "sources");
                        const auto items = list.findItems(device, Qt::MatchContains);
                        if (items.empty()) throw std::runtime_error("no source " + std::string(device));
                        list.setCurrentItem(items.front());
                        return Click(dialog, "select");
                    }};
    };
    auto expectCurrent = [](const char* device) {
        return Step{"SelectSourceDialog", [device](QWidget& dialog) {
                        EXPECT_TRUE(Find<QListWidget>(dialog, "sources").currentItem()->text().contains(device));
                        return Click(dialog, "cancel");
                    }};
    };
    std::string title;
    auto closeSource = [&title](QWidget& window) {
        title = window.windowTitle().toStdString();
        return Click(window, "close");
    };
    Scan({pick("test:1"), {"SourceWindow", closeSource}});
    EXPECT_NE(title.find("test:1"), std::string::npos) << title;
    Scan({expectCurrent("test:1"), {"SourceWindow", closeSource}});
    EXPECT_NE(title.find("test:1"), std::string::npos) << title;
}

}  // namespace
}  // namespace quorvane::testing
