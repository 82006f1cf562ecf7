// The Retouch command of the main window: the image goes to the retouch
// window through the exchange file, and the retouch window takes the main
// window's place.
#include "app/document.h"
#include "app/exchange_file.h"
#include "app/main_form.h"
#include "retouch/retouch_form.h"

namespace quorvane {

void TMainForm::RetouchMenuClick(QObject*) {
    UpdateUndo();
    const std::string exchangeFile = ExchangeFileName();
    if (!SaveImageFile(exchangeFile)) return;
    RetouchForm->Load(exchangeFile);
    hide();
    RetouchForm->show();
    RetouchForm->move(pos());
}

}  // namespace quorvane
