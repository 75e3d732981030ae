#pragma once

#include <QString>

class QWidget;
class QPrinter;

// The questions the web view asks the person at the screen by itself: script dialogs, log-ins,
// certificate problems, where to save. The program hands in dialogs; tests hand in answers.
class ViewDialogs
{
public:
    static constexpr const char *StopMoreText = "Stop this page from showing more dialogs";

    virtual ~ViewDialogs() = default;

    // A page's script dialogs. With stopMore set, the dialog also offers "Stop this page from
    // showing more dialogs" and sets *stopMore when the person takes it.
    virtual void Alert(QWidget *parent, const QString &title, const QString &text,
                       bool *stopMore = nullptr)
        = 0;
    virtual bool Confirm(QWidget *parent, const QString &title, const QString &text,
                         bool *stopMore = nullptr)
        = 0;
    // Returns false when the person cancels.
    virtual bool Prompt(QWidget *parent, const QString &title, const QString &text, QString *value,
                        bool *stopMore = nullptr)
        = 0;
    virtual bool Authenticate(QWidget *parent, const QString &site, const QString &realm,
                              QString *user, QString *password)
        = 0;
    // A page whose certificate cannot be trusted: true goes on to the page anyway.
    virtual bool AcceptCertificate(QWidget *parent, const QString &address, const QString &problem)
        = 0;
    // A link the engine does not show itself (mailto:, or a scheme of another program's): true
    // hands it to the desktop's program for it. No is the default.
    virtual bool OpenExternally(QWidget *parent, const QString &address) = 0;
    // The file to save a download or the page to; empty means do not save.
    virtual QString SaveFileName(QWidget *parent, const QString &suggestedPath) = 0;
    virtual bool PrintDialog(QWidget *parent, QPrinter *printer) = 0;
    virtual bool PageSetupDialog(QWidget *parent, QPrinter *printer) = 0;
};
