#include "platform/qt/qt_services.h"

#include <QApplication>
#include <QClipboard>
#include <QFileDialog>
#include <QGridLayout>
#include <QHeaderView>
#include <QImageReader>
#include <QLabel>
#include <QMessageBox>
#include <QMimeData>
#include <QPointer>
#include <QTreeView>
#include <memory>

#include "platform/qt/image_conversion.h"
#include "platform/services.h"

namespace quorvane {

QStringList QtNameFilters(const std::string& filter) {
    const QStringList parts = QString::fromStdString(filter).split('|');
    QStringList filters;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        // Qt reads the patterns from the parentheses; a description that shows
        // them already ("Bitmap (*.bmp)") is used as it is.
        const QString patterns = "(" + parts[i + 1].split(';').join(' ') + ")";
        filters << (parts[i].endsWith(patterns) ? parts[i] : parts[i] + " " + patterns);
    }
    return filters;
}

QString DisplayText(const std::string& text) {
    return QString::fromStdString(text).replace("\r\n", "\n");
}

namespace {

class QtMessages final : public MessageService {
public:
    explicit QtMessages(QWidget* parent) : parent_(parent) {}

    void ShowMessage(const std::string& text) override {
        QMessageBox::information(parent_, ApplicationTitle, DisplayText(text), QMessageBox::Ok);
    }
    bool Confirm(const std::string& text) override {
        return QMessageBox::question(parent_, "Confirm", DisplayText(text), QMessageBox::Yes | QMessageBox::No) ==
               QMessageBox::Yes;
    }
    void ShowError(const std::string& text) override {
        QMessageBox::critical(parent_, ApplicationTitle, DisplayText(text), QMessageBox::Ok);
    }
    void Beep() override { QApplication::beep(); }

private:
    QPointer<QWidget> parent_;
};

// Shows the picture of the file under the cursor beside the file list.
void AddPicturePreview(QFileDialog& dialog) {
    auto* layout = qobject_cast<QGridLayout*>(dialog.layout());
    if (layout == nullptr) return;
    auto* preview = new QLabel(&dialog);
    preview->setFixedSize(160, 160);
    preview->setAlignment(Qt::AlignCenter);
    preview->setFrameShape(QFrame::StyledPanel);
    layout->addWidget(preview, 0, layout->columnCount(), layout->rowCount(), 1);
    QObject::connect(&dialog, &QFileDialog::currentChanged, preview, [preview](const QString& path) {
        QImageReader reader(path);
        const QSize size = reader.size();
        if (size.isValid()) reader.setScaledSize(size.scaled(preview->size(), Qt::KeepAspectRatio));
        const QImage picture = reader.read();
        preview->setPixmap(picture.isNull() ? QPixmap() : QPixmap::fromImage(picture));
    });
}

class QtFileDialogs final : public FileDialogService {
public:
    explicit QtFileDialogs(QWidget* parent) : parent_(parent) {}

    std::optional<std::string> OpenFileName(const FileDialogRequest& request) override {
        return Run(request, QFileDialog::AcceptOpen);
    }
    std::optional<std::string> SaveFileName(const FileDialogRequest& request) override {
        return Run(request, QFileDialog::AcceptSave);
    }

private:
    std::optional<std::string> Run(const FileDialogRequest& request, QFileDialog::AcceptMode mode) {
        QFileDialog dialog(parent_, mode == QFileDialog::AcceptOpen ? "Open" : "Save as", folder_);
        dialog.setOption(QFileDialog::DontUseNativeDialog);
        // The overwrite question belongs to the command, not to the dialog.
        dialog.setOption(QFileDialog::DontConfirmOverwrite);
        dialog.setAcceptMode(mode);
        dialog.setFileMode(mode == QFileDialog::AcceptOpen ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
        dialog.setNameFilters(QtNameFilters(request.filter));
        dialog.setDefaultSuffix(QString::fromStdString(request.defaultExtension));
        if (request.previewPicture) AddPicturePreview(dialog);
        dialog.resize(dialog.sizeHint().expandedTo(QSize(760, 440)));
        // Wide enough columns that dates and sizes show whole.
        if (auto* list = dialog.findChild<QTreeView*>())
            list->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
        if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
        folder_ = dialog.directory().absolutePath();
        return dialog.selectedFiles().first().toStdString();
    }

    QPointer<QWidget> parent_;
    QString folder_;
};

class QtClipboard final : public ClipboardService {
public:
    void SetImage(const Bitmap& image) override { QApplication::clipboard()->setImage(WrapBitmap(image).copy()); }
    std::optional<Bitmap> Image() override {
        const QMimeData* data = QApplication::clipboard()->mimeData();
        if (data == nullptr || !data->hasImage()) return std::nullopt;
        const QImage image = qvariant_cast<QImage>(data->imageData());
        if (image.isNull()) return std::nullopt;
        return BitmapFromImage(image);
    }
};

class QtCursor final : public CursorService {
public:
    void SetBusy(bool busy) override {
        if (busy)
            QApplication::setOverrideCursor(Qt::WaitCursor);
        else
            QApplication::restoreOverrideCursor();
    }
};

}  // namespace

void InstallQtServices(QWidget* parent) {
    static std::unique_ptr<QtMessages> messages;
    static std::unique_ptr<QtFileDialogs> dialogs;
    static QtClipboard clipboard;
    static QtCursor cursor;
    messages = std::make_unique<QtMessages>(parent);
    dialogs = std::make_unique<QtFileDialogs>(parent);
    TheServices() = Services{messages.get(), dialogs.get(), &clipboard, &cursor};
}

}  // namespace quorvane
