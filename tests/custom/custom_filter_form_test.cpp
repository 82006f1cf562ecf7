#include "custom/custom_filter_form.h"

#include <QAction>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <fstream>
#include <sstream>

#include "custom/filter_file.h"
#include "gui/main_form_fixture.h"

namespace quorvane::testing {
namespace {

class CustomFilterFormTest : public MainFormTest {
protected:
    void SetUp() override {
        MainFormTest::SetUp();
        CustomFilterForm = new TCustomFilterForm;
        dialog.reset(CustomFilterForm);
    }
    void TearDown() override {
        dialog.reset();
        CustomFilterForm = nullptr;
        MainFormTest::TearDown();
    }

    void SetTexts(const QString& red, const QString& green, const QString& blue) {
        dialog->REdit->setText(red);
        dialog->GEdit->setText(green);
        dialog->BEdit->setText(blue);
    }
    bool ButtonsEnabled() const {
        const bool save = dialog->SaveButton->isEnabled();
        EXPECT_EQ(dialog->OKButton->isEnabled(), save);
        EXPECT_EQ(dialog->ClearButton->isEnabled(), save);
        return save;
    }
    std::string WriteFile(const std::string& name, const std::string& content) {
        const std::string path = (folder / name).string();
        std::ofstream(path, std::ios::binary) << content;
        return path;
    }
    static std::string Content(const std::string& path) {
        std::ifstream stream(path, std::ios::binary);
        std::stringstream content;
        content << stream.rdbuf();
        return content.str();
    }
    void OpenDialog() {
        form->MenuItem("CustomfilterMenu")->trigger();
        ASSERT_TRUE(dialog->isVisible());
    }

    std::unique_ptr<TCustomFilterForm> dialog;
};

TEST_F(CustomFilterFormTest, ControlsAsDesigned) {
    EXPECT_EQ(dialog->windowTitle(), "Custom filter");
    EXPECT_EQ(dialog->size(), QSize(487, 153));
    EXPECT_TRUE(dialog->windowFlags() & Qt::WindowStaysOnTopHint);
    EXPECT_EQ(dialog->windowFlags() & Qt::WindowType_Mask, Qt::Tool);
    EXPECT_FALSE(dialog->windowFlags() & Qt::WindowCloseButtonHint);
    EXPECT_FALSE(dialog->isVisible());
    struct Control {
        QWidget* widget;
        QString text;
        QRect geometry;
        QString hint;
    };
    const Control controls[] = {
        {dialog->GroupBox1, "Filter options", {8, 8, 473, 105}, ""},
        {dialog->REdit, "", {48, 24, 313, 24}, "This expression controls the Red channel"},
        {dialog->GEdit, "", {48, 48, 313, 24}, "This expression controls the Green channel"},
        {dialog->BEdit, "", {48, 72, 313, 24}, "This expression controls the Blue channel"},
        {dialog->LoadButton, "&Load", {368, 16, 75, 25}, "Load filter file"},
        {dialog->SaveButton, "&Save", {368, 40, 75, 25}, "Save filter file"},
        {dialog->ClearButton, "&Clear", {368, 72, 75, 25}, ""},
        {dialog->HelpButton, "?", {456, 8, 14, 17}, "Help"},
        {dialog->OKButton, "&OK", {328, 120, 75, 25}, "OK"},
        {dialog->CancelButton, "&Cancel", {408, 120, 75, 25}, "Cancel"},
    };
    for (const Control& control : controls) {
        const QString name = control.widget->objectName();
        EXPECT_EQ(control.widget->geometry(), control.geometry) << name.toStdString();
        EXPECT_EQ(control.widget->toolTip(), control.hint) << name.toStdString();
        if (auto* button = qobject_cast<QPushButton*>(control.widget)) {
            EXPECT_EQ(button->text(), control.text);
        }
        if (auto* edit = qobject_cast<QLineEdit*>(control.widget)) {
            EXPECT_EQ(edit->text(), control.text);
            EXPECT_TRUE(edit->font().bold());
        }
    }
    EXPECT_EQ(dialog->GroupBox1->title(), "Filter options");
    EXPECT_EQ(dialog->Label1->text(), "R2 = ");
    EXPECT_EQ(dialog->Label2->text(), "G2 = ");
    EXPECT_EQ(dialog->Label3->text(), "B2 = ");
    EXPECT_EQ(dialog->Label1->pos(), QPoint(16, 27));
    EXPECT_EQ(dialog->Label3->pos(), QPoint(16, 75));
    EXPECT_EQ(dialog->Label4->geometry(), QRect(32, 120, 264, 26));
    EXPECT_TRUE(dialog->Label4->wordWrap());
    const QRect warning = dialog->Label4->fontMetrics().boundingRect(QRect(0, 0, 264, 1000), Qt::TextWordWrap,
                                                                    dialog->Label4->text());
    EXPECT_LE(warning.height(), 26) << "the warning is clipped";
    EXPECT_EQ(dialog->Label4->palette().color(QPalette::WindowText), QColor(Qt::red));
    EXPECT_FALSE(ButtonsEnabled());

    QWidget* order[] = {dialog->REdit,   dialog->GEdit,      dialog->BEdit,    dialog->LoadButton,  dialog->SaveButton,
                        dialog->ClearButton, dialog->HelpButton, dialog->OKButton, dialog->CancelButton};
    // The focus chain also holds the labels and the group box, which Tab passes over.
    auto nextTabStop = [](QWidget* widget) {
        do widget = widget->nextInFocusChain();
        while (!(widget->focusPolicy() & Qt::TabFocus));
        return widget;
    };
    for (std::size_t index = 1; index < std::size(order); ++index)
        EXPECT_EQ(nextTabStop(order[index - 1]), order[index]) << order[index]->objectName().toStdString();
}

TEST_F(CustomFilterFormTest, EnablingRule) {
    struct Case {
        QString red, green, blue;
        bool enabled;
    };
    const Case cases[] = {
        {"R1", "G1", "B1", false}, {" R1", "G1", "B1", true}, {"r1", "G1", "B1", true}, {"R1", "G1", "B1 ", true},
        {"", "G1", "B1", false},   {"255-R1", "", "B1", false}, {"1", "2", "", false},  {" ", " ", " ", true},
        {"B1", "R1", "G1", true},
    };
    for (const Case& c : cases) {
        SetTexts(c.red, c.green, c.blue);
        EXPECT_EQ(ButtonsEnabled(), c.enabled) << c.red.toStdString() << "|" << c.green.toStdString() << "|"
                                               << c.blue.toStdString();
    }
}

TEST_F(CustomFilterFormTest, MenuDisablesTheMainWindowUntilCancel) {
    Open(WriteImage("a.bmp", Gradient(20, 10)));
    OpenDialog();
    EXPECT_FALSE(form->isEnabled());
    EXPECT_TRUE(dialog->isEnabled());
    SetTexts("255-R1", "G1", "B1");
    const Bitmap before = [] { Bitmap copy; copy.Assign(ImageBitmap); return copy; }();
    QTest::mouseClick(dialog->CancelButton, Qt::LeftButton);
    EXPECT_TRUE(form->isEnabled());
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_TRUE(ImageBitmap.SamePixels(before));
    OpenDialog();
    EXPECT_EQ(dialog->REdit->text(), "255-R1");  // the texts stay between uses
}

TEST_F(CustomFilterFormTest, OKAppliesTheTextsWithoutSpacesAsOneUndoStep) {
    Bitmap image(3, 1);
    image.SetPixel(0, 0, RGB(10, 20, 30));
    image.SetPixel(1, 0, RGB(0, 1, 2));
    image.SetPixel(2, 0, RGB(255, 128, 7));
    Open(WriteImage("b.bmp", image));
    OpenDialog();
    SetTexts("2 5 5-R 1", " B1", "S IN(R1)*0+G1");
    QTest::mouseClick(dialog->OKButton, Qt::LeftButton);
    EXPECT_EQ(ImageBitmap.Pixel(0, 0), RGB(245, 30, 20));
    EXPECT_EQ(ImageBitmap.Pixel(1, 0), RGB(255, 2, 1));
    EXPECT_EQ(ImageBitmap.Pixel(2, 0), RGB(0, 7, 128));
    EXPECT_EQ(dialog->REdit->text(), "2 5 5-R 1");
    EXPECT_TRUE(UndoBitmap.SamePixels(image));
    EXPECT_TRUE(form->isEnabled());
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_TRUE(services.shown.empty());
}

TEST_F(CustomFilterFormTest, OverflowLeavesTheImageAndTheDialogOpen) {
    const Bitmap image = Gradient(30, 20);
    Open(WriteImage("c.bmp", image));
    OpenDialog();
    SetTexts("R1*1E4000*1E4000", "G1", "B1");
    QTest::mouseClick(dialog->OKButton, Qt::LeftButton);
    EXPECT_EQ(services.shown, std::vector<std::string>{"error: Floating point overflow."});
    EXPECT_TRUE(ImageBitmap.SamePixels(image));
    EXPECT_TRUE(UndoBitmap.SamePixels(image));
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_FALSE(form->isEnabled());
    EXPECT_EQ(services.busyDepth, 0);
}

TEST_F(CustomFilterFormTest, LoadSetsTheTextsAndTheCaption) {
    const std::string twoLines = WriteFile("two.fil", "255-R1\r\n255-G1\r\n");
    services.fileNames = {twoLines};
    QTest::mouseClick(dialog->LoadButton, Qt::LeftButton);
    EXPECT_EQ(services.dialogRequests.at(0).filter, "Filter files (*.fil)|*.fil");
    EXPECT_EQ(services.dialogRequests.at(0).defaultExtension, "fil");
    EXPECT_EQ(dialog->REdit->text(), "255-R1");
    EXPECT_EQ(dialog->GEdit->text(), "255-G1");
    EXPECT_EQ(dialog->BEdit->text(), "");
    EXPECT_FALSE(ButtonsEnabled());
    EXPECT_EQ(dialog->windowTitle().toStdString(), "Custom filter - " + twoLines);

    services.fileNames = {WriteFile("lf.fil", "R1\nG1\nB1\n\xe9\r\n")};
    QTest::mouseClick(dialog->LoadButton, Qt::LeftButton);
    EXPECT_EQ(dialog->REdit->text(), QString("R1\nG1\nB1\n") + QChar(0xe9));

    const QString caption = dialog->windowTitle();
    services.fileNames = {std::nullopt, (folder / "missing.fil").string()};
    QTest::mouseClick(dialog->LoadButton, Qt::LeftButton);  // cancelled
    QTest::mouseClick(dialog->LoadButton, Qt::LeftButton);  // cannot be read
    ASSERT_EQ(services.shown.size(), 1u);
    EXPECT_EQ(services.shown[0].rfind("error: Cannot open file", 0), 0u) << services.shown[0];
    EXPECT_EQ(dialog->windowTitle(), caption);
    EXPECT_EQ(dialog->GEdit->text(), "");
}

TEST_F(CustomFilterFormTest, SaveAsksBeforeReplacingAndLoadsBackTheSameTexts) {
    const std::string path = WriteFile("old.fil", "old\r\n");
    SetTexts(" 255 - R1 ", "G1", "B1");
    services.fileNames = {path};
    services.answers = {false};
    QTest::mouseClick(dialog->SaveButton, Qt::LeftButton);
    EXPECT_EQ(services.shown, std::vector<std::string>{"confirm: File exists. Overwrite?"});
    EXPECT_EQ(Content(path), "old\r\n");
    EXPECT_EQ(dialog->windowTitle(), "Custom filter");

    services.fileNames = {path};
    services.answers = {true};
    QTest::mouseClick(dialog->SaveButton, Qt::LeftButton);
    EXPECT_EQ(Content(path), " 255 - R1 \r\nG1\r\nB1\r\n");
    EXPECT_EQ(dialog->windowTitle().toStdString(), "Custom filter - " + path);

    const std::string fresh = (folder / "new.fil").string();
    services.fileNames = {fresh, fresh};
    QTest::mouseClick(dialog->SaveButton, Qt::LeftButton);  // no question for a new file
    EXPECT_EQ(services.shown.size(), 2u);
    SetTexts("x", "y", "z");
    QTest::mouseClick(dialog->LoadButton, Qt::LeftButton);
    EXPECT_EQ(dialog->REdit->text(), " 255 - R1 ");
    EXPECT_EQ(dialog->GEdit->text(), "G1");
    EXPECT_EQ(dialog->BEdit->text(), "B1");
}

TEST_F(CustomFilterFormTest, HelpAndClear) {
    QTest::mouseClick(dialog->HelpButton, Qt::LeftButton);
    EXPECT_EQ(services.shown,
              std::vector<std::string>{
                  "message: Write your own filters!\r\n\r\nR1, G1, and B1 are integer values between 0 and 255 "
                  "corresponding to the Red, \r\nGreen and Blue channels. You can use the following operators and "
                  "functions: \r\n\r\n+, -, *, /, ^, (, ), ABS, ATAN, COS, EXP, LN, ROUND, SIN, SQR, SQRT, TRUNC"});
    services.fileNames = {WriteFile("clear.fil", "1\r\n2\r\n3\r\n")};
    QTest::mouseClick(dialog->LoadButton, Qt::LeftButton);
    EXPECT_TRUE(ButtonsEnabled());
    QTest::mouseClick(dialog->ClearButton, Qt::LeftButton);
    EXPECT_EQ(dialog->windowTitle(), "Custom filter");
    EXPECT_EQ(dialog->REdit->text() + dialog->GEdit->text() + dialog->BEdit->text(), "");
    EXPECT_FALSE(ButtonsEnabled());
}

}  // namespace
}  // namespace quorvane::testing
