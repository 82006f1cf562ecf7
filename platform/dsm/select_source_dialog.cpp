#include "platform/dsm/select_source_dialog.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace quorvane::dsm {

std::optional<std::size_t> SelectSource(const std::vector<DeviceEntry>& devices, const std::string& current) {
    QDialog dialog;
    dialog.setObjectName("SelectSourceDialog");
    dialog.setWindowTitle("Select Source");
    dialog.setWindowFlag(Qt::WindowStaysOnTopHint);
    dialog.setAttribute(Qt::WA_QuitOnClose, false);
    auto* list = new QListWidget;
    list->setObjectName("sources");
    for (const DeviceEntry& device : devices) list->addItem(QString::fromStdString(device.description));
    list->setCurrentRow(0);
    for (std::size_t i = 0; i < devices.size(); ++i)
        if (devices[i].name == current) list->setCurrentRow(static_cast<int>(i));
    auto* buttons = new QDialogButtonBox;
    QPushButton* select = buttons->addButton("&Select", QDialogButtonBox::AcceptRole);
    QPushButton* cancel = buttons->addButton("Cancel", QDialogButtonBox::RejectRole);
    select->setObjectName("select");
    cancel->setObjectName("cancel");
    select->setEnabled(!devices.empty());
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    QObject::connect(list, &QListWidget::itemDoubleClicked, &dialog, &QDialog::accept);
    auto* layout = new QVBoxLayout(&dialog);
    layout->addWidget(new QLabel(devices.empty() ? "No scanner was found." : "Sources:"));
    layout->addWidget(list);
    layout->addWidget(buttons);
    dialog.resize(340, 220);
    if (dialog.exec() != QDialog::Accepted || list->currentRow() < 0 || devices.empty()) return std::nullopt;
    return static_cast<std::size_t>(list->currentRow());
}

}  // namespace quorvane::dsm
