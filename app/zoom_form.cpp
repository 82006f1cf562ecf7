#include "app/zoom_form.h"

#include <QAction>
#include <algorithm>
#include <cstring>

#include "app/document.h"
#include "app/main_form.h"

namespace quorvane {

TZoomForm* ZoomForm = nullptr;

namespace {

constexpr int SampleWidth = 80;
constexpr int SampleHeight = 60;
// Where the pointer's pixel lands in the sample.
constexpr int PointerColumn = 39;
constexpr int PointerRow = 29;
// What the sample holds where the block reaches past the client area.
constexpr TColor OutsideClientColour = RGB(0, 0, 0);

// Copies the 80 x 60 block of `screen` whose pixel (39, 29) is (x, y) into ZoomBitmap.
void SampleScreen(const QImage& screen, int x, int y) {
    ZoomBitmap.SetSize(SampleWidth, SampleHeight);
    ZoomBitmap.Fill(OutsideClientColour);
    const int left = x - PointerColumn;
    const int top = y - PointerRow;
    const int firstColumn = std::max(0, -left);
    const int endColumn = std::min(SampleWidth, screen.width() - left);
    for (int row = std::max(0, -top); row < std::min(SampleHeight, screen.height() - top); ++row) {
        const auto* from = reinterpret_cast<const QRgb*>(screen.constScanLine(top + row));
        std::uint8_t* to = ZoomBitmap.ScanLine(row);
        for (int column = firstColumn; column < endColumn; ++column) {
            const QRgb pixel = from[left + column];
            to[3 * column] = static_cast<std::uint8_t>(qBlue(pixel));
            to[3 * column + 1] = static_cast<std::uint8_t>(qGreen(pixel));
            to[3 * column + 2] = static_cast<std::uint8_t>(qRed(pixel));
        }
    }
}

// Draws ZoomBitmap at the top-left of `area`, each pixel as a 2 x 2 block;
// what falls beyond the area is dropped.
void ShowDoubled(QImage& area) {
    for (int y = 0; y < area.height() && y / 2 < SampleHeight; ++y) {
        const std::uint8_t* from = ZoomBitmap.ScanLine(y / 2);
        auto* to = reinterpret_cast<QRgb*>(area.scanLine(y));
        for (int x = 0; x < area.width() && x / 2 < SampleWidth; ++x) {
            const std::uint8_t* pixel = from + 3 * (x / 2);
            to[x] = qRgb(pixel[2], pixel[1], pixel[0]);
        }
    }
}

}  // namespace

TZoomForm::TZoomForm(QWidget* parent) : QWidget(parent), canvas_(new Canvas(this)) {
    setObjectName("ZoomForm");
    setWindowTitle("Zoom");
    setWindowFlags(Qt::Tool | Qt::WindowStaysOnTopHint | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    canvas_->SetClientSize(ClientWidth, ClientHeight);
    canvas_->Buffer().fill(Qt::black);
    setFixedSize(ClientWidth, ClientHeight);
    move(574, 110);
}

void TMainForm::ZoomMenuClick(QObject*) {
    if (ZoomForm == nullptr) return;
    const bool show = ZoomForm->isHidden();
    ZoomForm->setVisible(show);
    MenuItem("ZoomMenu")->setChecked(show);
}

void TMainForm::FormMouseMove(int x, int y) {
    if (ZoomForm == nullptr) return;
    SampleScreen(ClientArea()->Buffer(), x, y);
    ShowDoubled(ZoomForm->ClientArea()->Buffer());
    ZoomForm->ClientArea()->update();
}

}  // namespace quorvane
