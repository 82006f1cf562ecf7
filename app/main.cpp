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
#include "custom/custom_filter_form.h"
#include "filters/palette.h"
#include "filters/resize.h"
#include "platform/qt/qt_message_queue.h"
#include "platform/qt/qt_services.h"
#include "retouch/retouch_form.h"
#include "sources/webcam.h"
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
    Q_INIT_RESOURCE(retouch_pictures);
    QFont font("DejaVu Sans");
    font.setPixelSize(11);
    QApplication::setFont(font);

    using namespace quorvane;
    std::vector<std::string> arguments(argv, argv + argc);
    auto* mainForm = new TMainForm;
    InstallQtServices(mainForm);
    InstallQtMessageQueue();
    mainForm->FormCreate(arguments);
    ZoomForm = new TZoomForm(mainForm);
    VideoForm = new TVideoForm(mainForm);
    ResizeForm = new TResizeForm(mainForm);
    PrintForm = new TPrintForm(mainForm);
    AboutBox = new TAboutBox(mainForm);
    // Without a parent: it stays shown while the main window is hidden.
    RetouchForm = new TRetouchForm;
    PaletteForm = new TPaletteForm(mainForm);
    // Without a parent: disabling the main window while it is shown must not disable it.
    CustomFilterForm = new TCustomFilterForm;
    mainForm->show();
    const int result = QApplication::exec();
    delete CustomFilterForm;
    delete RetouchForm;
    delete mainForm;
    return result;
}
