// The File and Edit commands and the About command of the main window.
#include <QFileInfo>

#include "app/about_box.h"
#include "app/main_form.h"
#include "platform/services.h"

namespace quorvane {

namespace {

const FileDialogRequest OpenPictureDialog{"Images|*.bmp;*.jpg;*.jpeg", "", true};
const FileDialogRequest SavePictureDialog{"Bitmap (*.bmp)|*.bmp|JPEG (*.jpg)|*.jpg", "bmp", false};

}  // namespace

void TMainForm::OpenMenuClick(QObject*) {
    const std::optional<std::string> path = TheServices().fileDialogs->OpenFileName(OpenPictureDialog);
    if (!path) return;
    CurrentFileName = *path;
    OpenFile(CurrentFileName);
}

void TMainForm::SaveasMenuClick(QObject*) {
    const std::optional<std::string> path = TheServices().fileDialogs->SaveFileName(SavePictureDialog);
    if (!path) return;
    if (QFileInfo::exists(QString::fromStdString(*path)) && !TheServices().messages->Confirm("File exists. Overwrite?"))
        return;
    CurrentFileName = *path;
    SaveImageFile(CurrentFileName);
}

void TMainForm::SaveMenuClick(QObject*) { SaveImageFile(CurrentFileName); }

void TMainForm::ExitMenuClick(QObject*) {
    if (TheServices().messages->Confirm("Exit now?")) close();
}

void TMainForm::UndoMenuClick(QObject*) { RestoreUndo(); }

void TMainForm::CopyMenuClick(QObject*) {
    CopySelectionToWork();
    TheServices().clipboard->SetImage(WorkBitmap);
    WorkBitmap.ReleasePixels();
}

void TMainForm::PasteMenuClick(QObject*) {
    std::optional<Bitmap> picture = TheServices().clipboard->Image();
    if (!picture) {
        TheServices().messages->ShowMessage("No clipboard data available.");
        return;
    }
    ImageBitmap = std::move(*picture);
    CurrentFileName.clear();
    SelectAll();
    ReDraw();
    EnableImageMenus(false);
}

void TMainForm::SelectallMenuClick(QObject*) {
    SelectAll();
    ReDraw();
}

void TMainForm::AboutMenuClick(QObject*) {
    AboutBox->show();
    AboutBox->raise();
}

}  // namespace quorvane
