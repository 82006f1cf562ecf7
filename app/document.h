// The image document: one 24-bit picture, a selection on it, the file it came
// from and a one-level undo copy, held in process-wide globals that every
// window and command shares. Only the user-interface thread touches them.
#pragma once

#include <cstdint>
#include <string>

#include "platform/bitmap.h"

namespace quorvane {

// A rectangle with both corners inclusive, in image pixel coordinates.
struct TRect {
    std::int32_t Left = 0;
    std::int32_t Top = 0;
    std::int32_t Right = 0;
    std::int32_t Bottom = 0;
    bool operator==(const TRect&) const = default;
};

extern Bitmap ImageBitmap;  // the document image
extern Bitmap WorkBitmap;   // the selection's copy while a filter, Crop or Copy runs
extern Bitmap UndoBitmap;   // the undo snapshot of the whole image
extern Bitmap ZoomBitmap;   // the loupe's sample of the screen, 80 x 60
extern TRect Selection;     // never clamped to the image
extern std::string CurrentFileName;

// The menu items whose enabled state follows the document.
enum class DocumentMenu {
    SaveasMenu,
    SaveMenu,
    PrintMenu,
    FiltersMenu,
    DeformMenu,
    CopyMenu,
    SelectallMenu,
    UndoMenu,
};

// What shows the document: the main window in the editor, nothing in the
// batch tool. The document calls it where a repaint or a menu change is due.
class DocumentView {
public:
    virtual ~DocumentView() = default;
    virtual void ReDraw() = 0;
    virtual void MenuEnabledChanged(DocumentMenu item, bool enabled) = 0;
};

void SetDocumentView(DocumentView* view);

// Back to the state at start: empty pictures, selection (0, 0, 0, 0), no file
// name, the document's menu items disabled. For tests and start-up.
void ResetDocument();

void SetMenuEnabled(DocumentMenu item, bool enabled);
bool IsMenuEnabled(DocumentMenu item);

// Exchanges Left and Right when Right < Left, Top and Bottom when Bottom < Top.
void NormaliseSelection();
// The selection's width and height, wide enough for any corners.
std::int64_t SelectionWidth();
std::int64_t SelectionHeight();
// Normalises the selection and repaints through the view.
void ReDraw();

void SelectAll();
bool IsSelectionEmpty();
// The selection gesture's rule: an empty selection says so and selects all.
void SelectAllIfEmpty();

// The pixel that copies of the selection show where it reaches past the image.
inline constexpr TColor OutsideImageColour = RGB(0, 0, 0);

// Sets WorkBitmap to the selection's size and copies the selection into it,
// one to one; pixels outside the image get OutsideImageColour.
void CopySelectionToWork();
// Draws WorkBitmap into ImageBitmap at (Left, Top), clipped to the image.
void WriteWorkToSelection();

// Makes the file the document: ".BMP" anywhere in the upper-cased path reads
// a BMP, else ".JPG" a JPEG, else the user is told and nothing changes. The
// picture is decoded first and replaces the document only when it is whole.
// Does not change CurrentFileName. True when the file became the document.
bool OpenFile(const std::string& path);
// Writes ImageBitmap as BMP or JPEG by the same substring rule. True when
// the file was written.
bool SaveImageFile(const std::string& path);

void UpdateUndo();
void RestoreUndo();

// Enables what a loaded image offers: Save as, Save (when `includingSave`),
// Print, the Filters and Deform menus, Copy and Select all, in that order.
// An open enables Save too; a paste or a scan does not.
void EnableImageMenus(bool includingSave);

// The toolkit's ASCII upper-casing.
std::string UpperCase(std::string text);

}  // namespace quorvane
