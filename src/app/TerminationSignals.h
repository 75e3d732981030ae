#pragma once

#include <QObject>

class QSocketNotifier;

// Turns the desktop's request to end the program (SIGTERM, SIGINT, SIGHUP: logging out, a
// terminal closed) into an ordinary close of the main window, so the settings are written as
// when the person closes it.
class TerminationSignals : public QObject
{
    Q_OBJECT
public:
    explicit TerminationSignals(QObject *parent = nullptr);
    ~TerminationSignals() override;

signals:
    void terminationRequested();

private:
    QSocketNotifier *m_notifier = nullptr;
};
