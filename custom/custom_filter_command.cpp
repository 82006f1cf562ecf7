// The main window's side of the custom filter: the menu command that opens
// the dialog, and the pass the dialog's OK runs with the window's parser.
#include "app/main_form.h"
#include "custom/custom_filter.h"
#include "custom/custom_filter_form.h"

namespace quorvane {

void TMainForm::CustomfilterMenuClick(QObject*) {
    setEnabled(false);
    CustomFilterForm->show();
    CustomFilterForm->raise();
}

void TMainForm::CustomFilter(const std::string& red, const std::string& green, const std::string& blue) {
    quorvane::CustomFilter(MathParser, red, green, blue);
}

}  // namespace quorvane
