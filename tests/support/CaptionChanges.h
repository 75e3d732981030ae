#pragma once

#include <QEvent>
#include <QObject>

// Counts the captions a window is asked to show, from the moment it is watched.
class CaptionChanges : public QObject
{
public:
    explicit CaptionChanges(QObject *window) { window->installEventFilter(this); }
    int count = 0;

protected:
    bool eventFilter(QObject *, QEvent *e) override
    {
        if (e->type() == QEvent::WindowTitleChange)
            ++count;
        return false;
    }
};
