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
    {"FileMenu", "PrintMenu", "&Print", "", 2, &TMainForm::PrintMenuClick},
    {"FileMenu", "", "-", "", -1, None},
    {"FileMenu", "ExitMenu", "&Exit", "", 3, &TMainForm::ExitMenuClick},
    {"", "EditMenu", "&Edit", "", -1, None, true},
    {"EditMenu", "UndoMenu", "&Undo", "Ctrl+Z", 4, &TMainForm::UndoMenuClick},
    {"EditMenu", "", "-", "", -1, None},
    {"EditMenu", "CopyMenu", "&Copy", "Ctrl+C", 5, &TMainForm::CopyMenuClick},
    {"EditMenu", "PasteMenu", "&Paste", "Ctrl+V", 6, &TMainForm::PasteMenuClick},
    {"EditMenu", "SelectallMenu", "&Select all", "Ctrl+A", -1, &TMainForm::SelectallMenuClick},
    {"", "FiltersMenu", "F&ilters", "", -1, None, true},
    {"FiltersMenu", "StatisticsMenu", "&Statistics", "", 7, &TMainForm::StatisticsMenuClick},
    {"FiltersMenu", "ZoomMenu", "&Zoom", "", 8, &TMainForm::ZoomMenuClick},
    {"FiltersMenu", "", "-", "", -1, None},
    {"FiltersMenu", "RetouchMenu", "&Retouch", "", 12, &TMainForm::RetouchMenuClick},
    {"FiltersMenu", "", "-", "", -1, None},
    {"FiltersMenu", "CustomfilterMenu", "&Custom filter", "", -1, &TMainForm::CustomfilterMenuClick},
    {"FiltersMenu", "", "-", "", -1, None},
    {"FiltersMenu", "BlackandwhiteMenu", "&Black and white", "", -1, &TMainForm::BlackandwhiteMenuClick},
    {"FiltersMenu", "BrightnessMenu", "B&rightness", "", -1, None, true},
    {"BrightnessMenu", "IncreaseBrightnessMenu", "&Increase", "", -1, &TMainForm::IncreaseBrightnessMenuClick},
    {"BrightnessMenu", "DecreaseBrightnessMenu", "&Decrease", "", -1, &TMainForm::DecreaseBrightnessMenuClick},
    {"FiltersMenu", "ChannelsMenu", "&Channels", "", -1, None, true},
    {"ChannelsMenu", "RedMenu", "&Red", "", -1, None, true},
    {"RedMenu", "IncreaseRedMenu", "&Increase", "", -1, &TMainForm::IncreaseRedMenuClick},
    {"RedMenu", "DecreaseRedMenu", "&Decrease", "", -1, &TMainForm::DecreaseRedMenuClick},
    {"ChannelsMenu", "Greenmenu", "&Green", "", -1, None, true},
    {"Greenmenu", "IncreaseGreenMenu", "&Increase", "", -1, &TMainForm::IncreaseGreenMenuClick},
    {"Greenmenu", "DecreaseGreenMenu", "&Decrease", "", -1, &TMainForm::DecreaseGreenMenuClick},
    {"ChannelsMenu", "BlueMenu", "&Blue", "", -1, None, true},
    {"BlueMenu", "IncreaseBlueMenu", "&Increase", "", -1, &TMainForm::IncreaseBlueMenuClick},
    {"BlueMenu", "DecreaseBlueMenu", "&Decrease", "", -1, &TMainForm::DecreaseBlueMenuClick},
    {"FiltersMenu", "GrayscaleMenu", "&Grayscale", "", -1, &TMainForm::GrayscaleMenuClick},
    {"FiltersMenu", "InvertMenu", "&Invert", "", -1, None, true},
    {"InvertMenu", "InvertAllmenu", "&All", "", -1, &TMainForm::InvertAllmenuClick},
    {"InvertMenu", "", "-", "", -1, None},
    {"InvertMenu", "InvertRedMenu", "&Red", "", -1, &TMainForm::InvertRedMenuClick},
    {"InvertMenu", "InvertGreenMenu", "&Green", "", -1, &TMainForm::InvertGreenMenuClick},
    {"InvertMenu", "InvertBlueMenu", "&Blue", "", -1, &TMainForm::InvertBlueMenuClick},
    {"FiltersMenu", "LogaritmizeMenu", "&Logaritmize", "", -1, None, true},
    {"LogaritmizeMenu", "LogaritmizeAllMenu", "&All", "", -1, &TMainForm::LogaritmizeAllMenuClick},
    {"LogaritmizeMenu", "", "-", "", -1, None},
    {"LogaritmizeMenu", "LogaritmizeRedMenu", "&Red", "", -1, &TMainForm::LogaritmizeRedMenuClick},
    {"LogaritmizeMenu", "LogaritmizeGreenMenu", "&Green", "", -1, &TMainForm::LogaritmizeGreenMenuClick},
    {"LogaritmizeMenu", "LogaritmizeBlueMenu", "&Blue", "", -1, &TMainForm::LogaritmizeBlueMenuClick},
    {"FiltersMenu", "MirrorMenu", "&Mirror", "", -1, None, true},
    {"MirrorMenu", "HorisontallyMenu", "&Horisontally", "", -1, &TMainForm::HorisontallyMenuClick},
    {"MirrorMenu", "VerticallyMenu", "&Vertically", "", -1, &TMainForm::VerticallyMenuClick},
    {"FiltersMenu", "OptimizeMenu", "&Optimize", "", -1, &TMainForm::OptimizeMenuClick},
    {"FiltersMenu", "SepiaMenu", "&Sepia", "", -1, &TMainForm::SepiaMenuClick},
    {"FiltersMenu", "", "-", "", -1, None},
    {"FiltersMenu", "ContrastMenu", "Co&ntrast", "", -1, None, true},
    {"ContrastMenu", "IncreaseContrastmenu", "&Increase", "", -1, &TMainForm::IncreaseContrastmenuClick},
    {"ContrastMenu", "DecreaseContrastmenu", "&Decrease", "", -1, &TMainForm::DecreaseContrastmenuClick},
    {"FiltersMenu", "FindEdgesMenu", "&Find edges", "", -1, &TMainForm::FindEdgesMenuClick},
    {"FiltersMenu", "MeanvalueMenu", "&Mean value", "", -1, &TMainForm::MeanvalueMenuClick},
    {"FiltersMenu", "NoiseMenu", "&Noise", "", -1, None, true},
    {"NoiseMenu", "AddNoiseMenu", "&Add", "", -1, &TMainForm::AddNoiseMenuClick},
    {"NoiseMenu", "RemoveNoiseMenu", "&Remove", "", -1, &TMainForm::RemoveNoiseMenuClick},
    {"FiltersMenu", "SharpnessMenu", "S&harpness", "", -1, None, true},
    {"SharpnessMenu", "IncreaseSharpnessMenu", "&Increase", "", -1, &TMainForm::IncreaseSharpnessMenuClick},
    {"SharpnessMenu", "DecreaseSharpnessMenu", "&Decrease", "", -1, &TMainForm::DecreaseSharpnessMenuClick},
    {"FiltersMenu", "", "-", "", -1, None},
    {"FiltersMenu", "DrawnMenu", "&Drawn", "", -1, &TMainForm::DrawnMenuClick},
    {"FiltersMenu", "FeatherMenu", "&Feather", "", -1, &TMainForm::FeatherMenuClick},
    {"FiltersMenu", "PhotoMenu", "&Photo effects", "", -1, None, true},
    {"PhotoMenu", "Early20thCenturyMenu", "&Early 20:th century", "", -1, &TMainForm::Early20thCenturyMenuClick},
    {"PhotoMenu", "CheapcolorcameraMenu", "&Cheap color camera", "", -1, &TMainForm::CheapcolorcameraMenuClick},
    {"FiltersMenu", "ReflectionMenu", "R&eflection", "", -1, None, true},
    {"ReflectionMenu", "ReflectionHorisontallyMenu", "&Horisontally", "", -1, &TMainForm::ReflectionHorisontallyMenuClick},
    {"ReflectionMenu", "ReflectionVerticallyMenu", "&Vertically", "", -1, &TMainForm::ReflectionVerticallyMenuClick},
    {"FiltersMenu", "SwapchannelsMenu", "S&wap channels", "", -1, &TMainForm::SwapchannelsMenuClick},
    {"", "DeformMenu", "&Deform", "", -1, None, true},
    {"DeformMenu", "CropMenu", "&Crop", "", -1, &TMainForm::CropMenuClick},
    {"DeformMenu", "ResizeMenu", "&Resize", "", -1, &TMainForm::ResizeMenuClick},
    {"DeformMenu", "Rotate1", "R&otate", "", -1, None, true},
    {"Rotate1", "LeftMenu", "&Left", "", -1, &TMainForm::LeftMenuClick},
    {"Rotate1", "RightMenu", "&Right", "", -1, &TMainForm::RightMenuClick},
    {"", "SourcesMenu", "&Sources", "", -1, None, true},
    {"SourcesMenu", "WebcameraMenu", "&Webcam", "", 9, &TMainForm::WebcameraMenuClick},
    {"SourcesMenu", "ScanMenu", "&Scanner / digital camera", "", 10, &TMainForm::ScanMenuClick},
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
