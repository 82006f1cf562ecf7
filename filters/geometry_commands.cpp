// The commands that move pixels: Mirror and Reflection in the Filters menu,
// Crop, Resize and Rotate in the Deform menu. Each ends with the whole image
// selected.
#include "app/main_form.h"
#include "filters/geometry.h"
#include "filters/levels.h"

namespace quorvane {

void TMainForm::HorisontallyMenuClick(QObject*) {
    UpdateUndo();
    MirrorImage(0);
    ReDraw();
}

void TMainForm::VerticallyMenuClick(QObject*) {
    UpdateUndo();
    MirrorImage(1);
    ReDraw();
}

void TMainForm::ReflectionHorisontallyMenuClick(QObject*) {
    UpdateUndo();
    ReflectImage(0);
    OptimizeLevels();
    ReDraw();
}

void TMainForm::ReflectionVerticallyMenuClick(QObject*) {
    UpdateUndo();
    ReflectImage(1);
    OptimizeLevels();
    ReDraw();
}

void TMainForm::LeftMenuClick(QObject*) {
    UpdateUndo();
    RotateImage(0);
    ReDraw();
}

void TMainForm::RightMenuClick(QObject*) {
    UpdateUndo();
    RotateImage(1);
    ReDraw();
}

void TMainForm::CropMenuClick(QObject*) {
    UpdateUndo();
    CropImage();
    ReDraw();
}

void TMainForm::Resize(std::int32_t width, std::int32_t height) { ResizeImage(width, height); }

}  // namespace quorvane
