#pragma once

#include <QObject>
#include <QString>

// A file the view is saving from the web, after the person chose where: followed, and stopped
// when asked. The view owns it; it outlives the transfer.
class Download : public QObject
{
    Q_OBJECT
public:
    enum class State {
        Running,
        Completed,
        Cancelled, // stopped by the person: no part of the file is left
        Failed, // stopped by the network, the server or the disk
    };
    using QObject::QObject;

    // Where the file goes.
    virtual QString Path() const = 0;
    virtual qint64 ReceivedBytes() const = 0;
    // -1 while the server has not said.
    virtual qint64 TotalBytes() const = 0;
    virtual State CurrentState() const = 0;
    // Why it failed, in words for the person.
    virtual QString FailReason() const = 0;
    // Stops a running transfer and removes what it had written.
    virtual void Cancel() = 0;

    bool Running() const { return CurrentState() == State::Running; }

signals:
    // Bytes received or the state changed.
    void Changed();
};
