#pragma once

#include <QString>

class QWidget;

// The main window's own questions and messages to the person at the screen.
class UserDialogs
{
public:
    virtual ~UserDialogs() = default;
    // A message with an OK button.
    virtual void MessageBox(QWidget *parent, const QString &text, const QString &title) = 0;
    // The file chosen to open, starting in folder; empty when cancelled.
    virtual QString OpenFileName(QWidget *parent, const QString &folder) = 0;
    // A question with Yes and No, No the default: true for Yes.
    virtual bool Question(QWidget *parent, const QString &text, const QString &title) = 0;
};

// The real ones, with Qt's dialogs.
class QtUserDialogs : public UserDialogs
{
public:
    void MessageBox(QWidget *parent, const QString &text, const QString &title) override;
    QString OpenFileName(QWidget *parent, const QString &folder) override;
    bool Question(QWidget *parent, const QString &text, const QString &title) override;
};
