// The main window: shows the document at its natural size, the selection
// frame and its size texts, carries the main menu, and turns mouse presses
// and releases into a selection.
#pragma once

#include <QMainWindow>
#include <map>
#include <string>
#include <vector>

#include "app/document.h"
#include "custom/parser.h"
#include "platform/qt/canvas.h"
#include "sources/multitwain_dib.h"

class QAction;
class QMenu;

namespace quorvane {

class TMainForm : public QMainWindow, public DocumentView {
    Q_OBJECT
public:
    explicit TMainForm(QWidget* parent = nullptr);
    ~TMainForm() override;

    // The creation handler: document bitmaps, the command-line file, first repaint.
    void FormCreate(const std::vector<std::string>& arguments);

    void ReDraw() override;
    void MenuEnabledChanged(DocumentMenu item, bool enabled) override;
    void OpenFile(const std::string& path);

    // A menu item or menu by its name ("SaveMenu", "FiltersMenu").
    QAction* MenuItem(const std::string& name) const;
    Canvas* ClientArea() const { return canvas_; }

    void FormMouseDown(Qt::MouseButton button, int x, int y);
    void FormMouseUp(Qt::MouseButton button, int x, int y);
    void WMDropFiles(const std::vector<std::string>& paths);

    // File and Edit commands (app/edit_commands.cpp).
    void OpenMenuClick(QObject* sender);
    void SaveasMenuClick(QObject* sender);
    void SaveMenuClick(QObject* sender);
    void ExitMenuClick(QObject* sender);
    void UndoMenuClick(QObject* sender);
    void CopyMenuClick(QObject* sender);
    void PasteMenuClick(QObject* sender);
    void SelectallMenuClick(QObject* sender);
    void AboutMenuClick(QObject* sender);

    // Pixel commands of the Filters menu (filters/commands.cpp).
    void BlackandwhiteMenuClick(QObject* sender);
    void IncreaseBrightnessMenuClick(QObject* sender);
    void DecreaseBrightnessMenuClick(QObject* sender);
    void IncreaseRedMenuClick(QObject* sender);
    void DecreaseRedMenuClick(QObject* sender);
    void IncreaseGreenMenuClick(QObject* sender);
    void DecreaseGreenMenuClick(QObject* sender);
    void IncreaseBlueMenuClick(QObject* sender);
    void DecreaseBlueMenuClick(QObject* sender);
    void GrayscaleMenuClick(QObject* sender);
    void InvertAllmenuClick(QObject* sender);
    void InvertRedMenuClick(QObject* sender);
    void InvertGreenMenuClick(QObject* sender);
    void InvertBlueMenuClick(QObject* sender);
    void LogaritmizeAllMenuClick(QObject* sender);
    void LogaritmizeRedMenuClick(QObject* sender);
    void LogaritmizeGreenMenuClick(QObject* sender);
    void LogaritmizeBlueMenuClick(QObject* sender);
    void IncreaseContrastmenuClick(QObject* sender);
    void DecreaseContrastmenuClick(QObject* sender);
    void SwapchannelsMenuClick(QObject* sender);
    void OptimizeMenuClick(QObject* sender);
    void FindEdgesMenuClick(QObject* sender);
    void MeanvalueMenuClick(QObject* sender);
    void AddNoiseMenuClick(QObject* sender);
    void RemoveNoiseMenuClick(QObject* sender);
    void IncreaseSharpnessMenuClick(QObject* sender);
    void DecreaseSharpnessMenuClick(QObject* sender);
    void SepiaMenuClick(QObject* sender);
    void DrawnMenuClick(QObject* sender);
    void Early20thCenturyMenuClick(QObject* sender);
    void CheapcolorcameraMenuClick(QObject* sender);
    void StatisticsMenuClick(QObject* sender);

    // Feather (filters/)
    void FeatherMenuClick(QObject* sender);

    // Geometric transforms, zoom and print (filters/, app/)
    void HorisontallyMenuClick(QObject* sender);
    void VerticallyMenuClick(QObject* sender);
    void ReflectionHorisontallyMenuClick(QObject* sender);
    void ReflectionVerticallyMenuClick(QObject* sender);
    void LeftMenuClick(QObject* sender);
    void RightMenuClick(QObject* sender);
    void CropMenuClick(QObject* sender);
    void ResizeMenuClick(QObject* sender);
    // Scales the whole image; no snapshot, no repaint (the resize dialog's OK does those).
    void Resize(std::int32_t width, std::int32_t height);
    void ZoomMenuClick(QObject* sender);
    // The loupe: copies the 80 x 60 block of the client area around (x, y)
    // into ZoomBitmap and shows it doubled in the zoom window.
    void FormMouseMove(int x, int y);
    void PrintMenuClick(QObject* sender);
    // Prints the image on one page, 3 x 3 printer dots per pixel, at the top
    // left: portrait for 0, landscape for 1.
    void Print(std::int32_t orientation);

    // Custom filter (custom/)
    void CustomfilterMenuClick(QObject* sender);
    // The pass over the selection with the three expressions; no snapshot, no
    // repaint (the dialog's OK does those).
    void CustomFilter(const std::string& red, const std::string& green, const std::string& blue);
    TMathParser MathParser;

    // Retouch (retouch/)
    void RetouchMenuClick(QObject* sender);

    // Webcam (sources/)
    void WebcameraMenuClick(QObject* sender);

    // Scanner (sources/)
    void ScanMenuClick(QObject* sender);
    // Never shown; the acquired DIB is drawn into its picture.
    PictureHolder ScannedImage;

protected:
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    void BuildMainMenu();
    void DrawSelectionFrame(QPainter& painter) const;

    Canvas* canvas_;
    std::map<std::string, QAction*> menuItems_;
};

extern TMainForm* MainForm;

// The menu item's name for a document menu item.
const char* MenuItemName(DocumentMenu item);

}  // namespace quorvane
