#pragma once

#include "webview/Download.h"

#include <QPointer>

class QWebEngineDownloadRequest;

// A download of the engine's, as the view reports it.
class QtDownload : public Download
{
    Q_OBJECT
public:
    QtDownload(QWebEngineDownloadRequest *request, QObject *parent);

    QString Path() const override { return m_path; }
    qint64 ReceivedBytes() const override;
    qint64 TotalBytes() const override;
    State CurrentState() const override;
    QString FailReason() const override;
    void Cancel() override;

private:
    void OnStateChanged();

    QPointer<QWebEngineDownloadRequest> m_request;
    QString m_path;
    State m_state = State::Running;
    qint64 m_received = 0;
    qint64 m_total = -1;
    QString m_reason;
};
