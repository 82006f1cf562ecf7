// The webcam dialog: the live picture of a capture driver chosen from a list
// and, on Snapshot, the current frame made the document. A tool window that
// stays on top; created hidden at start and only shown and hidden, so a
// chosen driver keeps previewing while the dialog is hidden.
#pragma once

#include <QWidget>
#include <memory>
#include <string>

#include "sources/video.h"

class QComboBox;
class QPushButton;

namespace quorvane {

class VideoControlWidget;

enum class TCloseAction { caNone, caHide };

class TVideoForm : public QWidget {
    Q_OBJECT
public:
    static constexpr int ClientWidth = 320;
    static constexpr int ClientHeight = 293;

    explicit TVideoForm(QWidget* parent = nullptr);
    ~TVideoForm() override;

    void FormCreate(QObject* sender);
    void DriversComboBoxChange(QObject* sender);
    void SnapshotButtonClick(QObject* sender);
    void OkButtonClick(QObject* sender);
    void FormClose(QObject* sender, TCloseAction& action);
    // A camera unplugged while in use: its capture window is closed, so that
    // choosing it again connects anew.
    void VideoSourceStatusCallback(TVideo* sender, int nID, const std::string& status);

    VideoControlWidget* VideoSourceWindow;
    std::unique_ptr<TVideo> VideoSource;
    QComboBox* DriversComboBox;
    QPushButton* SnapshotButton;
    QPushButton* OkButton;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void LoadVideoSourceSettings();
};

extern TVideoForm* VideoForm;

}  // namespace quorvane
