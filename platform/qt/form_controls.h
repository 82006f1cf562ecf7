// Building a form's controls at the places its layout gives them, and wiring
// them to the form's named handlers; shared by every form.
#pragma once

#include <QFont>
#include <QGuiApplication>
#include <QObject>
#include <QPushButton>
#include <QRect>
#include <QScreen>
#include <QWidget>

#include "platform/services.h"

namespace quorvane {

template <typename Control>
Control* Place(Control* control, const char* name, const QRect& place, const char* hint = "") {
    control->setObjectName(name);
    control->setGeometry(place);
    if (*hint != '\0') control->setToolTip(hint);
    return control;
}

// A click runs the form's handler with the button as sender; an error it
// throws becomes the error box.
template <typename Form>
void OnClick(QPushButton* button, Form* form, void (Form::*handler)(QObject*)) {
    QObject::connect(button, &QPushButton::clicked, form,
                     [form, button, handler] { RunGuarded([&] { (form->*handler)(button); }); });
}

// Places a window, its frame included, in the middle of the primary screen.
inline void CentreOnScreen(QWidget* window) {
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        QRect placed = window->frameGeometry();
        placed.moveCenter(screen->availableGeometry().center());
        window->move(placed.topLeft());
    }
}

// DejaVu Sans Condensed, for captions the forms' font would clip at their
// controls' sizes.
inline QFont CondensedFont(int pixelSize) {
    QFont font("DejaVu Sans Condensed");
    font.setPixelSize(pixelSize);
    return font;
}

}  // namespace quorvane
