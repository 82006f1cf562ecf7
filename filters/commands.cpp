// The pixel commands of the Filters menu. Each takes the undo snapshot, runs
// its primitive on the selection and repaints; the selection stays.
#include "app/main_form.h"
#include "filters/composite.h"
#include "filters/edges.h"
#include "filters/levels.h"
#include "filters/mean.h"
#include "filters/noise.h"
#include "filters/point.h"
#include "filters/sharpness.h"
#include "filters/statistics.h"

namespace quorvane {

void TMainForm::BlackandwhiteMenuClick(QObject*) {
    UpdateUndo();
    quorvane::BlackAndWhite();
    ReDraw();
}

void TMainForm::IncreaseBrightnessMenuClick(QObject*) {
    UpdateUndo();
    quorvane::AdjustChannels(25, 25, 25);
    ReDraw();
}

void TMainForm::DecreaseBrightnessMenuClick(QObject*) {
    UpdateUndo();
    quorvane::AdjustChannels(-25, -25, -25);
    ReDraw();
}

void TMainForm::IncreaseRedMenuClick(QObject*) {
    UpdateUndo();
    quorvane::AdjustChannels(25, 0, 0);
    ReDraw();
}

void TMainForm::DecreaseRedMenuClick(QObject*) {
    UpdateUndo();
    quorvane::AdjustChannels(-25, 0, 0);
    ReDraw();
}

void TMainForm::IncreaseGreenMenuClick(QObject*) {
    UpdateUndo();
    quorvane::AdjustChannels(0, 25, 0);
    ReDraw();
}

void TMainForm::DecreaseGreenMenuClick(QObject*) {
    UpdateUndo();
    quorvane::AdjustChannels(0, -25, 0);
    ReDraw();
}

void TMainForm::IncreaseBlueMenuClick(QObject*) {
    UpdateUndo();
    quorvane::AdjustChannels(0, 0, 25);
    ReDraw();
}

void TMainForm::DecreaseBlueMenuClick(QObject*) {
    UpdateUndo();
    quorvane::AdjustChannels(0, 0, -25);
    ReDraw();
}

void TMainForm::GrayscaleMenuClick(QObject*) {
    UpdateUndo();
    quorvane::Grayscale();
    ReDraw();
}

void TMainForm::InvertAllmenuClick(QObject*) {
    UpdateUndo();
    quorvane::InvertChannels(0);
    ReDraw();
}

void TMainForm::InvertRedMenuClick(QObject*) {
    UpdateUndo();
    quorvane::InvertChannels(1);
    ReDraw();
}

void TMainForm::InvertGreenMenuClick(QObject*) {
    UpdateUndo();
    quorvane::InvertChannels(2);
    ReDraw();
}

void TMainForm::InvertBlueMenuClick(QObject*) {
    UpdateUndo();
    quorvane::InvertChannels(3);
    ReDraw();
}

void TMainForm::LogaritmizeAllMenuClick(QObject*) {
    UpdateUndo();
    quorvane::LogarithmChannels(0);
    ReDraw();
}

void TMainForm::LogaritmizeRedMenuClick(QObject*) {
    UpdateUndo();
    quorvane::LogarithmChannels(1);
    ReDraw();
}

void TMainForm::LogaritmizeGreenMenuClick(QObject*) {
    UpdateUndo();
    quorvane::LogarithmChannels(2);
    ReDraw();
}

void TMainForm::LogaritmizeBlueMenuClick(QObject*) {
    UpdateUndo();
    quorvane::LogarithmChannels(3);
    ReDraw();
}

void TMainForm::IncreaseContrastmenuClick(QObject*) {
    UpdateUndo();
    quorvane::AdjustContrast(false);
    ReDraw();
}

void TMainForm::DecreaseContrastmenuClick(QObject*) {
    UpdateUndo();
    quorvane::AdjustContrast(true);
    ReDraw();
}

void TMainForm::SwapchannelsMenuClick(QObject*) {
    UpdateUndo();
    quorvane::SwapChannels();
    ReDraw();
}

void TMainForm::OptimizeMenuClick(QObject*) {
    UpdateUndo();
    quorvane::OptimizeLevels();
    ReDraw();
}

void TMainForm::FindEdgesMenuClick(QObject*) {
    UpdateUndo();
    quorvane::FindEdges();
    ReDraw();
}

void TMainForm::MeanvalueMenuClick(QObject*) {
    UpdateUndo();
    quorvane::Mean(5);
    ReDraw();
}

void TMainForm::AddNoiseMenuClick(QObject*) {
    UpdateUndo();
    quorvane::AddNoise(25);
    ReDraw();
}

void TMainForm::RemoveNoiseMenuClick(QObject*) {
    UpdateUndo();
    quorvane::Mean(1);
    ReDraw();
}

void TMainForm::IncreaseSharpnessMenuClick(QObject*) {
    UpdateUndo();
    quorvane::AdjustSharpness(false);
    ReDraw();
}

void TMainForm::DecreaseSharpnessMenuClick(QObject*) {
    UpdateUndo();
    quorvane::AdjustSharpness(true);
    ReDraw();
}

void TMainForm::SepiaMenuClick(QObject*) {
    UpdateUndo();
    quorvane::Sepia();
    ReDraw();
}

void TMainForm::DrawnMenuClick(QObject*) {
    UpdateUndo();
    quorvane::Drawn();
    ReDraw();
}

void TMainForm::Early20thCenturyMenuClick(QObject*) {
    UpdateUndo();
    quorvane::Early20thCentury();
    ReDraw();
}

void TMainForm::CheapcolorcameraMenuClick(QObject*) {
    UpdateUndo();
    quorvane::CheapColorCamera();
    ReDraw();
}

// Statistics only reports: no snapshot, no repaint.
void TMainForm::StatisticsMenuClick(QObject*) { quorvane::Statistics(); }

}  // namespace quorvane
