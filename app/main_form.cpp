#include "app/main_form.h"

#include <QAction>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QLayout>
#include <QMenuBar>
#include <QMimeData>
#include <QPainter>

#include "platform/qt/image_conversion.h"
#include "platform/services.h"

namespace quorvane {

TMainForm* MainForm = nullptr;

namespace {

constexpr int MinimumClientWidth = 260;
const QColor FormGrey(128, 128, 128);

}  // namespace

const char* MenuItemName(DocumentMenu item) {
    switch (item) {
        case DocumentMenu::SaveasMenu: return "SaveasMenu";
        case DocumentMenu::SaveMenu: return "SaveMenu";
        case DocumentMenu::PrintMenu: return "PrintMenu";
        case DocumentMenu::FiltersMenu: return "FiltersMenu";
        case DocumentMenu::DeformMenu: return "DeformMenu";
        case DocumentMenu::CopyMenu: return "CopyMenu";
        case DocumentMenu::SelectallMenu: return "SelectallMenu";
        case DocumentMenu::UndoMenu: return "UndoMenu";
    }
    return "";
}

TMainForm::TMainForm(QWidget* parent) : QMainWindow(parent), canvas_(new Canvas(this)) {
    setObjectName("MainForm");
    setWindowTitle(ApplicationTitle);
    setWindowFlags(Qt::Window | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);
    setCentralWidget(canvas_);
    // The window is exactly as large as its menu bar and client area.
    layout()->setSizeConstraint(QLayout::SetFixedSize);
    // Narrower menu bar items, so the six menus fit in the narrowest window.
    menuBar()->setStyleSheet("QMenuBar { spacing: 0px; } QMenuBar::item { padding: 2px 5px; }");
    canvas_->setCursor(Qt::CrossCursor);
    canvas_->onMouseDown = [this](Qt::MouseButton button, int x, int y) {
        RunGuarded([&] { FormMouseDown(button, x, y); });
    };
    canvas_->onMouseUp = [this](Qt::MouseButton button, int x, int y) {
        RunGuarded([&] { FormMouseUp(button, x, y); });
    };
    canvas_->onMouseMove = [this](int x, int y) { RunGuarded([&] { FormMouseMove(x, y); }); };
    BuildMainMenu();
    MenuItem("ZoomMenu")->setCheckable(true);
    MenuItem("WebcameraMenu")->setCheckable(true);
    MainForm = this;
    SetDocumentView(this);
}

TMainForm::~TMainForm() {
    if (MainForm == this) {
        MainForm = nullptr;
        SetDocumentView(nullptr);
    }
}

void TMainForm::FormCreate(const std::vector<std::string>& arguments) {
    setAcceptDrops(true);
    ResetDocument();
    bool drawn = false;  // an opened file has drawn itself
    RunGuarded([&] {
        const std::string argument = arguments.size() > 1 ? arguments[1] : std::string();
        if (!argument.empty() && QFileInfo::exists(QString::fromStdString(argument))) {
            CurrentFileName = argument;
            drawn = quorvane::OpenFile(CurrentFileName);
        } else if (!argument.empty()) {
            TheServices().messages->ShowMessage(argument + " does not exist.");
        }
    });
    if (!drawn) ReDraw();
}

void TMainForm::OpenFile(const std::string& path) { quorvane::OpenFile(path); }

void TMainForm::MenuEnabledChanged(DocumentMenu item, bool enabled) { MenuItem(MenuItemName(item))->setEnabled(enabled); }

// Fits the client area to the image (at least 260 wide), then draws the
// image, the grey band beside a narrow image, the selection frame and the
// selection's size, and sets the caption. The frame and the texts exist only
// on the screen.
void TMainForm::ReDraw() {
    NormaliseSelection();
    const int width = std::max(ImageBitmap.Width(), MinimumClientWidth);
    canvas_->SetClientSize(width, ImageBitmap.Height());
    setWindowTitle(CurrentFileName.empty() ? QString(ApplicationTitle)
                                           : QString("%1 - %2").arg(ApplicationTitle, QString::fromStdString(CurrentFileName)));
    QImage& buffer = canvas_->Buffer();
    if (buffer.isNull()) return;  // no image: the client area has no height
    DrawBitmapInto(ImageBitmap, buffer);
    QPainter painter(&buffer);
    // Grey where the image does not reach, so each pixel is written once.
    painter.fillRect(buffer.rect().adjusted(ImageBitmap.Width(), 0, 0, 0), FormGrey);
    DrawSelectionFrame(painter);
    QFont font = painter.font();
    font.setBold(true);
    painter.setFont(font);
    painter.setPen(Qt::white);
    const std::int64_t selectionWidth = SelectionWidth();
    const std::int64_t selectionHeight = SelectionHeight();
    const int flags = Qt::AlignLeft | Qt::AlignTop | Qt::TextDontClip;
    painter.drawText(QRect(10, 10, 0, 0), flags, QString("Selection width: %1").arg(selectionWidth));
    painter.drawText(QRect(10, 25, 0, 0), flags, QString("             height: %1").arg(selectionHeight));
    painter.end();
    canvas_->update();
}

// A 3-pixel black outline under a 1-pixel yellow dotted one, both centred on
// the rectangle through the selection's corner pixels.
void TMainForm::DrawSelectionFrame(QPainter& painter) const {
    const QRect outline(QPoint(Selection.Left, Selection.Top), QPoint(Selection.Right, Selection.Bottom));
    const QRect frame(outline.topLeft(), QSize(outline.width() - 1, outline.height() - 1));
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(Qt::black, 3, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
    painter.drawRect(frame);
    painter.setBackgroundMode(Qt::TransparentMode);
    painter.setPen(QPen(QColor(255, 255, 0), 1, Qt::DotLine));
    painter.drawRect(frame);
}

void TMainForm::FormMouseDown(Qt::MouseButton button, int x, int y) {
    if (button == Qt::LeftButton) {
        Selection.Left = x;
        Selection.Top = y;
        QPainter painter(&canvas_->Buffer());
        painter.setPen(QPen(Qt::white, 1));
        painter.drawLine(x, y, x + 10, y);
        painter.drawLine(x, y, x, y + 10);
        painter.end();
        canvas_->update();
    } else if (button == Qt::RightButton || button == Qt::MiddleButton) {
        ZoomMenuClick(this);
    }
    setWindowTitle("Release mouse button to end selection!");
}

void TMainForm::FormMouseUp(Qt::MouseButton button, int x, int y) {
    if (button == Qt::LeftButton) {
        Selection.Right = x;
        Selection.Bottom = y;
    }
    SelectAllIfEmpty();
    ReDraw();
}

void TMainForm::WMDropFiles(const std::vector<std::string>& paths) {
    RunGuarded([&] {
        for (const std::string& path : paths) OpenFile(path);
    });
}

void TMainForm::dragEnterEvent(QDragEnterEvent* event) {
    if (event->mimeData()->hasUrls()) event->acceptProposedAction();
}

void TMainForm::dropEvent(QDropEvent* event) {
    std::vector<std::string> paths;
    for (const QUrl& url : event->mimeData()->urls())
        if (url.isLocalFile()) paths.push_back(url.toLocalFile().toStdString());
    event->acceptProposedAction();
    WMDropFiles(paths);
}

}  // namespace quorvane
