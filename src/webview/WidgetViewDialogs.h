#pragma once

#include "webview/ViewDialogs.h"

// The web view's questions as plain Qt widget dialogs: message boxes, an input box, a small
// log-in box, the file, print and page setup dialogs. No engine in them: any engine's views can
// ask through these.
class WidgetViewDialogs : public ViewDialogs
{
public:
    void Alert(QWidget *parent, const QString &title, const QString &text,
               bool *stopMore = nullptr) override;
    bool Confirm(QWidget *parent, const QString &title, const QString &text,
                 bool *stopMore = nullptr) override;
    bool Prompt(QWidget *parent, const QString &title, const QString &text, QString *value,
                bool *stopMore = nullptr) override;
    bool Authenticate(QWidget *parent, const QString &site, const QString &realm, QString *user,
                      QString *password) override;
    bool AcceptCertificate(QWidget *parent, const QString &address,
                           const QString &problem) override;
    bool OpenExternally(QWidget *parent, const QString &address) override;
    QString SaveFileName(QWidget *parent, const QString &suggestedPath) override;
    bool PrintDialog(QWidget *parent, QPrinter *printer) override;
    bool PageSetupDialog(QWidget *parent, QPrinter *printer) override;
};
