#include "webview/CaptionThrottle.h"

CaptionThrottle::CaptionThrottle(std::function<void(const QString &)> apply, QObject *parent)
    : QObject(parent)
    , m_apply(std::move(apply))
{
    m_clock.start();
    m_later.setSingleShot(true);
    connect(&m_later, &QTimer::timeout, this, [this] { ApplyPending(); });
}

void CaptionThrottle::Set(const QString &caption)
{
    if (!m_pending && m_any && caption == m_shown)
        return;
    const qint64 now = m_clock.elapsed();
    while (!m_applied.empty() && now - m_applied.front() >= 1000)
        m_applied.pop_front();
    if (!m_pending && int(m_applied.size()) < ChangesPerSecond) {
        Apply(caption);
        return;
    }
    m_next = caption;
    m_pending = true;
    if (!m_later.isActive())
        m_later.start(int(qMax<qint64>(1, m_applied.front() + 1000 - now)));
}

void CaptionThrottle::ApplyPending()
{
    if (!m_pending)
        return;
    m_pending = false;
    m_applied.clear(); // a new second
    Apply(m_next);
}

void CaptionThrottle::Apply(const QString &caption)
{
    m_applied.push_back(m_clock.elapsed());
    m_shown = caption;
    m_any = true;
    m_apply(caption);
}
