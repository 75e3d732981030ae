#pragma once

#include "webview/Download.h"

#include <QElapsedTimer>
#include <QList>
#include <QPointer>
#include <QWidget>

class DesktopOpener;
class UserDialogs;
class QLabel;
class QProgressBar;
class QPushButton;
class QVBoxLayout;

// This run's downloads, each with its name, progress, size and speed, and Cancel, Open and
// Open Folder. Opened when a download starts; closing it stops nothing.
class frmDownloads : public QWidget
{
    Q_OBJECT
public:
    frmDownloads(DesktopOpener *opener, UserDialogs *dialogs, QWidget *parent = nullptr);
    ~frmDownloads() override;

    static constexpr const char *Caption = "Downloads";

    void Add(Download *download);
    // The downloads still running.
    int RunningCount() const;
    // Stops every running download (what each had written goes).
    void CancelAll();

    // One download's row.
    struct Row
    {
        QPointer<Download> download;
        QWidget *box = nullptr;
        QLabel *lblName = nullptr;
        QProgressBar *progress = nullptr;
        QLabel *lblDetail = nullptr;
        QPushButton *cmdCancel = nullptr;
        QPushButton *cmdOpen = nullptr;
        QPushButton *cmdOpenFolder = nullptr;
        // For the speed: bytes and time at the last look, and the speed then.
        QElapsedTimer clock;
        qint64 sampledBytes = 0;
        qint64 sampledAt = 0;
        double speed = 0;
        bool ended = false; // told with DownloadEnded
    };
    const QList<Row *> &Rows() const { return m_rows; }

signals:
    // A download ended: completed, cancelled or failed.
    void DownloadEnded(Download *download);

private:
    void Update(Row *row);
    void OpenPath(const QString &path);

    DesktopOpener *m_opener;
    UserDialogs *m_dialogs;
    QVBoxLayout *m_list = nullptr;
    QList<Row *> m_rows;
};
