#include "webview/QtDownload.h"

#include <QDir>
#include <QFile>
#include <QWebEngineDownloadRequest>

QtDownload::QtDownload(QWebEngineDownloadRequest *request, QObject *parent)
    : Download(parent)
    , m_request(request)
    , m_path(QDir(request->downloadDirectory()).filePath(request->downloadFileName()))
{
    const auto changed = [this] {
        if (m_request) {
            m_received = m_request->receivedBytes();
            m_total = m_request->totalBytes();
        }
        emit Changed();
    };
    connect(request, &QWebEngineDownloadRequest::receivedBytesChanged, this, changed);
    connect(request, &QWebEngineDownloadRequest::totalBytesChanged, this, changed);
    connect(request, &QWebEngineDownloadRequest::stateChanged, this, [this] { OnStateChanged(); });
    // The engine drops its request with the profile: what it said last is kept here.
    connect(request, &QObject::destroyed, this, [this] {
        if (m_state == State::Running) {
            m_state = State::Failed;
            m_reason = QStringLiteral("Stopped");
            emit Changed();
        }
    });
    OnStateChanged();
}

void QtDownload::OnStateChanged()
{
    if (!m_request || m_state != State::Running)
        return;
    m_received = m_request->receivedBytes();
    m_total = m_request->totalBytes();
    switch (m_request->state()) {
    case QWebEngineDownloadRequest::DownloadCompleted:
        m_state = State::Completed;
        break;
    case QWebEngineDownloadRequest::DownloadCancelled:
        m_state = State::Cancelled;
        // A part left behind under the file's name would look like the whole file.
        QFile::remove(m_path);
        break;
    case QWebEngineDownloadRequest::DownloadInterrupted:
        m_state = State::Failed;
        m_reason = m_request->interruptReasonString();
        QFile::remove(m_path); // only a whole file keeps its name
        break;
    default:
        return;
    }
    emit Changed();
}

qint64 QtDownload::ReceivedBytes() const
{
    return m_received;
}

qint64 QtDownload::TotalBytes() const
{
    return m_total;
}

Download::State QtDownload::CurrentState() const
{
    return m_state;
}

QString QtDownload::FailReason() const
{
    return m_reason;
}

void QtDownload::Cancel()
{
    if (m_state == State::Running && m_request)
        m_request->cancel();
}
