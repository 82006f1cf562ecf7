// The services of platform/services.h on Qt: message boxes, file dialogs,
// the clipboard and the busy cursor.
#pragma once

#include <QWidget>

namespace quorvane {

// Installs the Qt services; boxes and dialogs open over `parent`.
void InstallQtServices(QWidget* parent);

// The system's filter "Images|*.bmp;*.jpg" in Qt's form "Images (*.bmp *.jpg)".
QStringList QtNameFilters(const std::string& filter);

// A message text for display: "\r\n" becomes a line break.
QString DisplayText(const std::string& text);

}  // namespace quorvane
