// The Feather command: the undo snapshot is taken when the palette dialog
// opens; the dialog's OK runs the blend and the repaint.
#include "app/main_form.h"
#include "filters/palette.h"

namespace quorvane {

void TMainForm::FeatherMenuClick(QObject*) {
    UpdateUndo();
    PaletteForm->show();
    PaletteForm->raise();
}

}  // namespace quorvane
