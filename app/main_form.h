// The main window: shows the document at its natural size, the selection
// frame and its size texts, carries the main menu, and turns mouse presses
// and releases into a selection.
#pragma once

#include <QMainWindow>
#include <map>
#include <string>
#include <vector>

#include "app/document.h"
#include "platform/qt/canvas.h"

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
