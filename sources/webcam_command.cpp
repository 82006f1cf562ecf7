// The Webcam command of the main window: shows the webcam dialog, or brings
// it forward when it is shown already, and checks the menu item.
#include <QAction>

#include "app/main_form.h"
#include "sources/webcam.h"

namespace quorvane {

void TMainForm::WebcameraMenuClick(QObject*) {
    if (VideoForm == nullptr) return;
    VideoForm->show();
    VideoForm->raise();
    MenuItem("WebcameraMenu")->setChecked(true);
}

}  // namespace quorvane
