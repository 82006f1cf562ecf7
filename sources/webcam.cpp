#include "sources/webcam.h"

#include <QAction>
#include <QCloseEvent>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QAbstractItemView>

#include "app/document.h"
#include "app/exchange_file.h"
#include "app/main_form.h"
#include "platform/qt/form_controls.h"
#include "platform/services.h"
#include "sources/video_control_widget.h"

namespace quorvane {

TVideoForm* VideoForm = nullptr;

namespace {

constexpr const char* ChoseDriverText = "Chose driver";

QPushButton* MakeButton(QWidget* parent, const char* name, const char* caption, const char* hint, int left) {
    return Place(new QPushButton(caption, parent), name, QRect(left, 256, 75, 25), hint);
}

// Deletes the exchange file when the snapshot ends, however it ends.
class ExchangeFileRemover {
public:
    ExchangeFileRemover() = default;
    ~ExchangeFileRemover() { DeleteExchangeFile(); }
    ExchangeFileRemover(const ExchangeFileRemover&) = delete;
    ExchangeFileRemover& operator=(const ExchangeFileRemover&) = delete;
};

}  // namespace

TVideoForm::TVideoForm(QWidget* parent) : QWidget(parent) {
    setObjectName("VideoForm");
    setWindowTitle("Video");
    setWindowFlags(Qt::Tool | Qt::WindowStaysOnTopHint | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint);
    setFixedSize(ClientWidth, ClientHeight);
    VideoSourceWindow = new VideoControlWidget(this);
    VideoSourceWindow->setObjectName("VideoSource");
    VideoSource = std::make_unique<TVideo>(*VideoSourceWindow, "VideoSource");
    VideoSourceWindow->setGeometry(0, 0, 320, 240);
    LoadVideoSourceSettings();
    VideoSource->SetOnStatusCallback([this](TVideo* sender, int nID, const std::string& status) {
        VideoSourceStatusCallback(sender, nID, status);
    });
    DriversComboBox = new QComboBox(this);
    DriversComboBox->setObjectName("DriversComboBox");
    DriversComboBox->setEditable(true);
    DriversComboBox->setInsertPolicy(QComboBox::NoInsert);
    DriversComboBox->setCompleter(nullptr);
    DriversComboBox->setGeometry(8, 256, 145, DriversComboBox->sizeHint().height());
    SnapshotButton = MakeButton(this, "SnapshotButton", "&Snapshot", "Snapshot", 160);
    SnapshotButton->setEnabled(false);
    OkButton = MakeButton(this, "OkButton", "&Ok", "OK", 240);
    CentreOnScreen(this);
    FormCreate(this);
    connect(DriversComboBox, &QComboBox::activated, this, [this] {
        RunGuarded([this] { DriversComboBoxChange(this); });
        DriversComboBox->lineEdit()->setCursorPosition(0);
    });
    connect(DriversComboBox->lineEdit(), &QLineEdit::textEdited, this,
            [this] { RunGuarded([this] { DriversComboBoxChange(this); }); });
    connect(SnapshotButton, &QPushButton::clicked, this, [this] { RunGuarded([this] { SnapshotButtonClick(this); }); });
    connect(OkButton, &QPushButton::clicked, this, [this] { RunGuarded([this] { OkButtonClick(this); }); });
}

TVideoForm::~TVideoForm() {
    VideoSource.reset();
    if (VideoForm == this) VideoForm = nullptr;
}

// The values stored with the dialog, in their order.
void TVideoForm::LoadVideoSourceSettings() {
    TVideo& video = *VideoSource;
    video.SetDriverOpen(false);
    video.SetDriverIndex(1);
    video.SetDriverName("Microsoft WDM Image Capture");
    video.SetVideoOverlay(false);
    video.SetVideoPreview(false);
    video.SetPreviewScaleToWindow(true);
    video.SetPreviewScaleProportional(true);
    video.SetPreviewRate(30);
    video.SetMicroSecPerFrame(66667);
    video.SetFrameRate(15);
    video.SetCapAudio(false);
    video.SetVideoFileName("Video.avi");
    video.SetSingleImageFile("Capture.bmp");
    video.SetCapTimeLimit(0);
    video.SetCapIndexSize(0);
    video.SetCapToFile(true);
}

void TVideoForm::FormCreate(QObject*) {
    for (const std::string& driver : GetDriverList()) DriversComboBox->addItem(QString::fromStdString(driver));
    DriversComboBox->setCurrentIndex(-1);
    DriversComboBox->setEditText(ChoseDriverText);
    // The list may be wider than the box, so that long driver names show whole.
    DriversComboBox->view()->setMinimumWidth(DriversComboBox->view()->sizeHintForColumn(0) + 8);
}

void TVideoForm::DriversComboBoxChange(QObject*) {
    VideoSource->SetDriverIndex(DriversComboBox->currentIndex());
    VideoSource->SetVideoPreview(true);
    SnapshotButton->setEnabled(true);
}

// The frame travels through the exchange file, which is cleared first so
// that a failed save can never hand over a picture left from before.
void TVideoForm::SnapshotButtonClick(QObject*) {
    const std::string exchangeFile = ExchangeFileName();
    DeleteExchangeFile();
    const ExchangeFileRemover remover;
    VideoSource->SetSingleImageFile(exchangeFile);
    if (VideoSource->SaveFrameToDIB()) TheServices().messages->Beep();
    MainForm->OpenFile(exchangeFile);
    SetMenuEnabled(DocumentMenu::UndoMenu, false);
}

void TVideoForm::OkButtonClick(QObject*) { close(); }

void TVideoForm::FormClose(QObject*, TCloseAction&) {
    if (MainForm != nullptr) MainForm->MenuItem("WebcameraMenu")->setChecked(false);
}

void TVideoForm::VideoSourceStatusCallback(TVideo*, int nID, const std::string&) {
    if (nID == CaptureStatusDeviceLost) VideoSource->SetDriverOpen(false);
}

void TVideoForm::closeEvent(QCloseEvent* event) {
    TCloseAction action = TCloseAction::caHide;
    RunGuarded([&] { FormClose(this, action); });
    if (action == TCloseAction::caNone)
        event->ignore();
    else
        event->accept();
}

}  // namespace quorvane
