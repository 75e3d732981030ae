#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QString>
#include <QTimer>
#include <deque>
#include <functional>

// A window's caption follows its page, and a page may change its title in a loop: the window
// manager redraws for every change. A few changes a second go through at once; beyond that only
// the latest, when the second is over. The last caption asked for always shows.
class CaptionThrottle : public QObject
{
public:
    static constexpr int ChangesPerSecond = 5;

    explicit CaptionThrottle(std::function<void(const QString &)> apply, QObject *parent = nullptr);

    void Set(const QString &caption);
    // The caption asked for last, shown or still to come.
    QString Latest() const { return m_pending ? m_next : m_shown; }

private:
    void Apply(const QString &caption);
    void ApplyPending();

    std::function<void(const QString &)> m_apply;
    QElapsedTimer m_clock;
    std::deque<qint64> m_applied; // when each change of the last second went through
    QTimer m_later;
    QString m_shown;
    QString m_next;
    bool m_pending = false;
    bool m_any = false;
};
