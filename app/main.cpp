// Program entry: the application object, its windows in their order of
// creation, and the event loop.
#include <QApplication>
#include <QFont>
#include <cstdio>
#include <cstdlib>

#include "app/about_box.h"
#include "app/main_form.h"
#include "app/print_form.h"
#include "app/zoom_form.h"
#include "filters/palette.h"
#include "filters/resize.h"
#include "platform/qt/qt_services.h"
#include "platform/services.h"

namespace {

bool HasDisplay() {
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"}) {
        const char* value = std::getenv(name);
        if (value != nullptr && *value != '\0') return true;
    }
    return false;
}

}  // namespace

int main(int argc, char** argv) {
    if (!HasDisplay()) {
        std::fprintf(stderr,
                     "Quorvane needs a desktop session (no DISPLAY is set); quorvane-batch does the editor's work "
                     "on files without one (quorvane-batch --help).\n");
        return 1;
    }
    QApplication application(argc, argv);
    QApplication::setApplicationName(quorvane::ApplicationTitle);
    Q_INIT_RESOURCE(pictures);
    QFont font("DejaVu Sans");
    font.setPixelSize(11);
    QApplication::setFont(font);

    using namespace quorvane;
    std::vector<std::string> arguments(argv, argv + argc);
    auto* mainForm = new TMainForm;
    InstallQtServices(mainForm);
    mainForm->FormCreate(arguments);
    ZoomForm = new TZoomForm(mainForm);
    ResizeForm = new TResizeForm(mainForm);
    PrintForm = new TPrintForm(mainForm);
    AboutBox = new TAboutBox(mainForm);
    PaletteForm = new TPaletteForm(mainForm);
    mainForm->show();
    const int result = QApplication::exec();
    delete mainForm;
    return result;
}
