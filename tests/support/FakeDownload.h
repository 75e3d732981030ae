#pragma once

#include "webview/Download.h"

// A download that goes as the test says.
class FakeDownload : public Download
{
    Q_OBJECT
public:
    explicit FakeDownload(const QString &path, qint64 total = -1, QObject *parent = nullptr)
        : Download(parent)
        , m_path(path)
        , m_total(total)
    { }
    QString Path() const override { return m_path; }
    qint64 ReceivedBytes() const override { return m_received; }
    qint64 TotalBytes() const override { return m_total; }
    State CurrentState() const override { return m_state; }
    QString FailReason() const override { return m_reason; }
    void Cancel() override
    {
        ++cancels;
        if (m_state == State::Running)
            End(State::Cancelled);
    }

    void Receive(qint64 bytes)
    {
        m_received = bytes;
        emit Changed();
    }
    void End(State state, const QString &reason = QString())
    {
        m_state = state;
        m_reason = reason;
        emit Changed();
    }

    int cancels = 0;

private:
    QString m_path;
    qint64 m_received = 0;
    qint64 m_total;
    State m_state = State::Running;
    QString m_reason;
};
