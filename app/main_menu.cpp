// The main menu, built from one table: a row per menu, item or rule.
#include <QMenuBar>
#include <QPainter>
#include <QSvgRenderer>
#include <array>

#include "app/main_form.h"
#include "platform/services.h"

namespace quorvane {

namespace {

using Handler = void (TMainForm::*)(QObject*);

struct MenuRow {
    const char* parent;    // the menu it belongs to; "" for the menu bar
    const char* name;      // "" for a rule
    const char* caption;   // "-" for a rule
    const char* shortCut;  // "" for none
    int picture;           // index into the menu pictures, -1 for none
    Handler handler;       // nullptr for a menu
    bool submenu = false;
};

constexpr Handler None = nullptr;

// clang-format off
const MenuRow MainMenuRows[] = {
    {"", "FileMenu", "&File", "", -1, None, true},
    {"FileMenu", "OpenMenu", "&Open", "Ctrl+O", 0, &TMainForm::OpenMenuClick},
    {"FileMenu", "SaveasMenu", "&Save as", "", 1, &TMainForm::SaveasMenuClick},
    {"FileMenu", "SaveMenu", "&Save", "Ctrl+S", -1, &TMainForm::SaveMenuClick},
    {"FileMenu", "", "-", "", -1, None},
    {"FileMenu", "PrintMenu", "&Print", "", 2, None},
    {"FileMenu", "", "-", "", -1, None},
    {"FileMenu", "ExitMenu", "&Exit", "", 3, &TMainForm::ExitMenuClick},
    {"", "EditMenu", "&Edit", "", -1, None, true},
    {"EditMenu", "UndoMenu", "&Undo", "Ctrl+Z", 4, &TMainForm::UndoMenuClick},
    {"EditMenu", "", "-", "", -1, None},
    {"EditMenu", "CopyMenu", "&Copy", "Ctrl+C", 5, &TMainForm::CopyMenuClick},
    {"EditMenu", "PasteMenu", "&Paste", "Ctrl+V", 6, &TMainForm::PasteMenuClick},
    {"EditMenu", "SelectallMenu", "&Select all", "Ctrl+A", -1, &TMainForm::SelectallMenuClick},
    {"", "FiltersMenu", "F&ilters", "", -1, None, true},
    {"FiltersMenu", "StatisticsMenu", "&Statistics", "", 7, None},
    {"FiltersMenu", "ZoomMenu", "&Zoom", "", 8, None},
    {"FiltersMenu", "", "-", "", -1, None},
    {"FiltersMenu", "RetouchMenu", "&Retouch", "", 12, None},
    {"FiltersMenu", "", "-", "", -1, None},
    {"FiltersMenu", "CustomfilterMenu", "&Custom filter", "", -1, None},
    {"FiltersMenu", "", "-", "", -1, None},
    {"FiltersMenu", "BlackandwhiteMenu", "&Black and white", "", -1, None},
    {"FiltersMenu", "BrightnessMenu", "B&rightness", "", -1, None, true},
    {"BrightnessMenu", "IncreaseBrightnessMenu", "&Increase", "", -1, None},
    {"BrightnessMenu", "DecreaseBrightnessMenu", "&Decrease", "", -1, None},
    {"FiltersMenu", "ChannelsMenu", "&Channels", "", -1, None, true},
    {"ChannelsMenu", "RedMenu", "&Red", "", -1, None, true},
    {"RedMenu", "IncreaseRedMenu", "&Increase", "", -1, None},
    {"RedMenu", "DecreaseRedMenu", "&Decrease", "", -1, None},
    {"ChannelsMenu", "Greenmenu", "&Green", "", -1, None, true},
    {"Greenmenu", "IncreaseGreenMenu", "&Increase", "", -1, None},
    {"Greenmenu", "DecreaseGreenMenu", "&Decrease", "", -1, None},
    {"ChannelsMenu", "BlueMenu", "&Blue", "", -1, None, true},
    {"BlueMenu", "IncreaseBlueMenu", "&Increase", "", -1, None},
    {"BlueMenu", "DecreaseBlueMenu", "&Decrease", "", -1, None},
    {"FiltersMenu", "GrayscaleMenu", "&Grayscale", "", -1, None},
    {"FiltersMenu", "InvertMenu", "&Invert", "", -1, None, true},
    {"InvertMenu", "InvertAllmenu", "&All", "", -1, None},
    {"InvertMenu", "", "-", "", -1, None},
    {"InvertMenu", "InvertRedMenu", "&Red", "", -1, None},
    {"InvertMenu", "InvertGreenMenu", "&Green", "", -1, None},
    {"InvertMenu", "InvertBlueMenu", "&Blue", "", -1, None},
    {"FiltersMenu", "LogaritmizeMenu", "&Logaritmize", "", -1, None, true},
    {"LogaritmizeMenu", "LogaritmizeAllMenu", "&All", "", -1, None},
    {"LogaritmizeMenu", "", "-", "", -1, None},
    {"LogaritmizeMenu", "LogaritmizeRedMenu", "&Red", "", -1, None},
    {"LogaritmizeMenu", "LogaritmizeGreenMenu", "&Green", "", -1, None},
    {"LogaritmizeMenu", "LogaritmizeBlueMenu", "&Blue", "", -1, None},
    {"FiltersMenu", "MirrorMenu", "&Mirror", "", -1, None, true},
    {"MirrorMenu", "HorisontallyMenu", "&Horisontally", "", -1, None},
    {"MirrorMenu", "VerticallyMenu", "&Vertically", "", -1, None},
    {"FiltersMenu", "OptimizeMenu", "&Optimize", "", -1, None},
    {"FiltersMenu", "SepiaMenu", "&Sepia", "", -1, None},
    {"FiltersMenu", "", "-", "", -1, None},
    {"FiltersMenu", "ContrastMenu", "Co&ntrast", "", -1, None, true},
    {"ContrastMenu", "IncreaseContrastmenu", "&Increase", "", -1, None},
    {"ContrastMenu", "DecreaseContrastmenu", "&Decrease", "", -1, None},
    {"FiltersMenu", "FindEdgesMenu", "&Find edges", "", -1, None},
    {"FiltersMenu", "MeanvalueMenu", "&Mean value", "", -1, None},
    {"FiltersMenu", "NoiseMenu", "&Noise", "", -1, None, true},
    {"NoiseMenu", "AddNoiseMenu", "&Add", "", -1, None},
    {"NoiseMenu", "RemoveNoiseMenu", "&Remove", "", -1, None},
    {"FiltersMenu", "SharpnessMenu", "S&harpness", "", -1, None, true},
    {"SharpnessMenu", "IncreaseSharpnessMenu", "&Increase", "", -1, None},
    {"SharpnessMenu", "DecreaseSharpnessMenu", "&Decrease", "", -1, None},
    {"FiltersMenu", "", "-", "", -1, None},
    {"FiltersMenu", "DrawnMenu", "&Drawn", "", -1, None},
    {"FiltersMenu", "FeatherMenu", "&Feather", "", -1, None},
    {"FiltersMenu", "PhotoMenu", "&Photo effects", "", -1, None, true},
    {"PhotoMenu", "Early20thCenturyMenu", "&Early 20:th century", "", -1, None},
    {"PhotoMenu", "CheapcolorcameraMenu", "&Cheap color camera", "", -1, None},
    {"FiltersMenu", "ReflectionMenu", "R&eflection", "", -1, None, true},
    {"ReflectionMenu", "ReflectionHorisontallyMenu", "&Horisontally", "", -1, None},
    {"ReflectionMenu", "ReflectionVerticallyMenu", "&Vertically", "", -1, None},
    {"FiltersMenu", "SwapchannelsMenu", "S&wap channels", "", -1, None},
    {"", "DeformMenu", "&Deform", "", -1, None, true},
    {"DeformMenu", "CropMenu", "&Crop", "", -1, None},
    {"DeformMenu", "ResizeMenu", "&Resize", "", -1, None},
    {"DeformMenu", "Rotate1", "R&otate", "", -1, None, true},
    {"Rotate1", "LeftMenu", "&Left", "", -1, None},
    {"Rotate1", "RightMenu", "&Right", "", -1, None},
    {"", "SourcesMenu", "&Sources", "", -1, None, true},
    {"SourcesMenu", "WebcameraMenu", "&Webcam", "", 9, None},
    {"SourcesMenu", "ScanMenu", "&Scanner / digital camera", "", 10, None},
    {"", "HelpMenu", "&Help", "", -1, None, true},
    {"HelpMenu", "AboutMenu", "&About", "", 11, &TMainForm::AboutMenuClick},
};
// clang-format on

// MenuImageList: the 13 menu pictures, drawn for us as SVG.
constexpr std::array<const char*, 13> MenuPictureFiles = {
    "open", "saveas", "print", "exit", "undo", "copy", "paste",
    "statistics", "zoom", "webcam", "scanner", "about", "retouch",
};

QIcon MenuPicture(int index) {
    QSvgRenderer renderer(QString(":/pictures/%1.svg").arg(MenuPictureFiles[static_cast<std::size_t>(index)]));
    QIcon icon;
    for (int size : {16, 32}) {
        QPixmap pixmap(size, size);
        pixmap.fill(Qt::transparent);
        QPainter painter(&pixmap);
        renderer.render(&painter);
        painter.end();
        icon.addPixmap(pixmap);
    }
    return icon;
}

}  // namespace

void TMainForm::BuildMainMenu() {
    std::map<std::string, QMenu*> menus;
    for (const MenuRow& row : MainMenuRows) {
        QMenu* parent = *row.parent != '\0' ? menus.at(row.parent) : nullptr;
        if (std::string(row.caption) == "-") {
            parent->addSeparator();
            continue;
        }
        QAction* action = nullptr;
        if (row.submenu) {
            QMenu* menu = parent != nullptr ? parent->addMenu(row.caption) : menuBar()->addMenu(row.caption);
            menus[row.name] = menu;
            action = menu->menuAction();
        } else {
            action = parent->addAction(row.caption);
            if (*row.shortCut != '\0') action->setShortcut(QKeySequence(row.shortCut));
            if (row.handler != nullptr) {
                const Handler handler = row.handler;
                connect(action, &QAction::triggered, this, [this, handler, action] {
                    RunGuarded([&] { (this->*handler)(action); });
                });
            }
        }
        if (row.picture >= 0) {
            action->setIcon(MenuPicture(row.picture));
            action->setIconVisibleInMenu(true);
        }
        action->setObjectName(row.name);
        menuItems_[row.name] = action;
    }
}

QAction* TMainForm::MenuItem(const std::string& name) const { return menuItems_.at(name); }

}  // namespace quorvane
