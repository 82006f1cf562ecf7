#include "app/document.h"

#include <algorithm>
#include <array>
#include <utility>

#include "platform/bmp.h"
#include "platform/jpeg.h"
#include "platform/services.h"

namespace quorvane {

Bitmap ImageBitmap;
Bitmap WorkBitmap;
Bitmap UndoBitmap;
Bitmap ZoomBitmap;
TRect Selection;
std::string CurrentFileName;

namespace {

DocumentView* View = nullptr;
std::array<bool, 8> MenuEnabled{};

enum class ImageKind { Bmp, Jpeg, Other };

ImageKind KindOf(const std::string& path) {
    const std::string upper = UpperCase(path);
    if (upper.find(".BMP") != std::string::npos) return ImageKind::Bmp;
    if (upper.find(".JPG") != std::string::npos) return ImageKind::Jpeg;
    return ImageKind::Other;
}

}  // namespace

void SetDocumentView(DocumentView* view) { View = view; }

void ResetDocument() {
    ImageBitmap = Bitmap();
    WorkBitmap = Bitmap();
    UndoBitmap = Bitmap();
    ZoomBitmap = Bitmap(80, 60);
    Selection = TRect{};
    CurrentFileName.clear();
    for (std::size_t i = 0; i < MenuEnabled.size(); ++i) SetMenuEnabled(static_cast<DocumentMenu>(i), false);
}

void SetMenuEnabled(DocumentMenu item, bool enabled) {
    MenuEnabled[static_cast<std::size_t>(item)] = enabled;
    if (View != nullptr) View->MenuEnabledChanged(item, enabled);
}

bool IsMenuEnabled(DocumentMenu item) { return MenuEnabled[static_cast<std::size_t>(item)]; }

void EnableImageMenus(bool includingSave) {
    SetMenuEnabled(DocumentMenu::SaveasMenu, true);
    if (includingSave) SetMenuEnabled(DocumentMenu::SaveMenu, true);
    SetMenuEnabled(DocumentMenu::PrintMenu, true);
    SetMenuEnabled(DocumentMenu::FiltersMenu, true);
    SetMenuEnabled(DocumentMenu::DeformMenu, true);
    SetMenuEnabled(DocumentMenu::CopyMenu, true);
    SetMenuEnabled(DocumentMenu::SelectallMenu, true);
}

void SelectAllIfEmpty() {
    if (!IsSelectionEmpty()) return;
    TheServices().messages->ShowMessage("Nothing selected.\r\nSelecting all.");
    SelectAll();
}

std::int64_t SelectionWidth() { return std::int64_t{Selection.Right} - Selection.Left + 1; }
std::int64_t SelectionHeight() { return std::int64_t{Selection.Bottom} - Selection.Top + 1; }

void NormaliseSelection() {
    if (Selection.Right < Selection.Left) std::swap(Selection.Left, Selection.Right);
    if (Selection.Bottom < Selection.Top) std::swap(Selection.Top, Selection.Bottom);
}

void ReDraw() {
    NormaliseSelection();
    if (View != nullptr) View->ReDraw();
}

void SelectAll() { Selection = TRect{0, 0, ImageBitmap.Width() - 1, ImageBitmap.Height() - 1}; }

bool IsSelectionEmpty() {
    const std::int64_t width = SelectionWidth();
    const std::int64_t height = SelectionHeight();
    return width <= 1 || height <= 1;
}

void CopySelectionToWork() {
    const std::int64_t width = SelectionWidth();
    const std::int64_t height = SelectionHeight();
    Bitmap::CheckSize(width, height);
    WorkBitmap.SetSize(static_cast<int>(width), static_cast<int>(height));
    const bool inside = Selection.Left >= 0 && Selection.Top >= 0 && Selection.Right < ImageBitmap.Width() &&
                        Selection.Bottom < ImageBitmap.Height();
    if (!inside) WorkBitmap.Fill(OutsideImageColour);
    WorkBitmap.Draw(ImageBitmap, -Selection.Left, -Selection.Top);
}

void WriteWorkToSelection() { ImageBitmap.Draw(WorkBitmap, Selection.Left, Selection.Top); }

bool OpenFile(const std::string& path) {
    switch (KindOf(path)) {
        case ImageKind::Bmp:
            ImageBitmap = ReadBmpFile(path);
            break;
        case ImageKind::Jpeg:
            ImageBitmap = ReadJpegFile(path);
            break;
        case ImageKind::Other:
            TheServices().messages->ShowMessage("You must specify a BMP or JPG file.");
            return false;
    }
    SelectAll();
    ReDraw();
    EnableImageMenus(true);
    return true;
}

bool SaveImageFile(const std::string& path) {
    switch (KindOf(path)) {
        case ImageKind::Bmp:
            WriteBmpFile(ImageBitmap, path);
            break;
        case ImageKind::Jpeg:
            WriteJpegFile(ImageBitmap, path);
            break;
        case ImageKind::Other:
            TheServices().messages->ShowMessage("You must specify a .BMP or .JPG file.\r\nexample: MyPic.bmp");
            return false;
    }
    ReDraw();
    SetMenuEnabled(DocumentMenu::SaveMenu, true);
    return true;
}

void UpdateUndo() {
    UndoBitmap.Assign(ImageBitmap);
    SetMenuEnabled(DocumentMenu::UndoMenu, true);
}

void RestoreUndo() {
    ImageBitmap.Assign(UndoBitmap);
    SetMenuEnabled(DocumentMenu::UndoMenu, false);
    SelectAll();
    ReDraw();
}

std::string UpperCase(std::string text) {
    for (char& c : text)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    return text;
}

}  // namespace quorvane
