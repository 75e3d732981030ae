#pragma once

// What the web view tests share: answers for the view's questions, a guard against a modal
// dialog nobody closes, and a few ways to wait on the real view.

#include "webview/QtWebView.h"
#include "webview/ViewDialogs.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QPrinter>
#include <QSignalSpy>
#include <QStringList>
#include <QTimer>
#include <QWidget>
#include <QWindow>
#include <QtTest>

#include <functional>
#include <memory>
#include <optional>

// The view's questions, answered by the test and written down in the order they were asked.
class FakeViewDialogs : public ViewDialogs
{
public:
    void Alert(QWidget *, const QString &, const QString &text, bool *stopMore) override
    {
        asked << QStringLiteral("Alert:") + text + StopOffered(stopMore);
    }
    bool Confirm(QWidget *, const QString &, const QString &text, bool *stopMore) override
    {
        asked << QStringLiteral("Confirm:") + text + StopOffered(stopMore);
        return confirmAnswer;
    }
    bool Prompt(QWidget *, const QString &, const QString &text, QString *value,
                bool *stopMore) override
    {
        asked << QStringLiteral("Prompt:") + text + QLatin1Char('=') + *value
                + StopOffered(stopMore);
        if (!promptAnswer.has_value())
            return false;
        *value = *promptAnswer;
        return true;
    }
    // "+stop" marks a dialog that offered to stop the page's dialogs; stopAt the dialog (from 1)
    // at which the test takes the offer.
    QString StopOffered(bool *stopMore)
    {
        ++dialogsShown;
        if (!stopMore)
            return QString();
        *stopMore = dialogsShown == stopAt;
        return QStringLiteral("+stop");
    }
    int dialogsShown = 0;
    int stopAt = 0;
    bool Authenticate(QWidget *, const QString &site, const QString &realm, QString *user,
                      QString *password) override
    {
        asked << QStringLiteral("Authenticate:%1/%2").arg(site, realm);
        if (authUser.isEmpty())
            return false;
        *user = authUser;
        *password = authPassword;
        return true;
    }
    bool AcceptCertificate(QWidget *, const QString &address, const QString &) override
    {
        asked << QStringLiteral("AcceptCertificate:") + address;
        return acceptCertificate;
    }
    bool OpenExternally(QWidget *, const QString &address) override
    {
        asked << QStringLiteral("OpenExternally:") + address;
        return openExternally;
    }
    bool openExternally = false;
    QString SaveFileName(QWidget *, const QString &suggestedPath) override
    {
        asked << QStringLiteral("SaveFileName:") + suggestedPath;
        return saveAs;
    }
    bool PrintDialog(QWidget *, QPrinter *printer) override
    {
        asked << QStringLiteral("PrintDialog");
        printers << printer;
        printOrientations << printer->pageLayout().orientation();
        if (printTo.isEmpty())
            return false;
        printer->setOutputFormat(QPrinter::PdfFormat);
        printer->setOutputFileName(printTo);
        printer->setResolution(72); // the engine prints a picture of the page: keep it small
        return true;
    }
    bool PageSetupDialog(QWidget *, QPrinter *printer) override
    {
        asked << QStringLiteral("PageSetupDialog");
        printers << printer;
        if (!setupOrientation.has_value())
            return false;
        printer->setPageOrientation(*setupOrientation);
        return true;
    }

    QStringList AskedStartingWith(const QString &prefix) const
    {
        QStringList out;
        for (const QString &a : asked)
            if (a.startsWith(prefix))
                out << a;
        return out;
    }

    QStringList asked;
    bool confirmAnswer = false;
    std::optional<QString> promptAnswer;
    QString authUser, authPassword;
    bool acceptCertificate = false;
    QString saveAs;
    QString printTo;
    std::optional<QPageLayout::Orientation> setupOrientation;
    QList<QPrinter *> printers;
    QList<QPageLayout::Orientation> printOrientations;
};

// A modal dialog left open would hang the test: close it and say so.
class DialogWatchdog : public QObject
{
public:
    DialogWatchdog()
    {
        m_timer.setInterval(250);
        connect(&m_timer, &QTimer::timeout, this, [this] {
            if (QWidget *w = QApplication::activeModalWidget()) {
                closed << w->windowTitle() + QLatin1Char('/') + w->metaObject()->className();
                w->close();
            }
        });
        m_timer.start();
    }
    QStringList closed;

private:
    QTimer m_timer;
};

// The widget that takes the view's mouse and keys (the engine's render widget).
inline QWidget *InputTarget(QWidget *view)
{
    QWidget *w = view->focusProxy();
    while (w && w->focusProxy())
        w = w->focusProxy();
    return w;
}

// Moves the pointer onto pos (from elsewhere, so the page sees it arrive) and tells whether the
// page has reacted by retitling itself to title. A page takes input only some time after its
// load has ended, so wait with QTRY_VERIFY(PointAt(...)) before clicking.
inline bool PointAt(WebView *view, QPoint pos, const QString &title)
{
    QWidget *target = InputTarget(view);
    if (!target)
        return false;
    QTest::mouseMove(target, QPoint(1, 1));
    QTest::mouseMove(target, pos);
    return view->LocationName() == title;
}

// Moves the pointer by a pixel within the place at pos, so the engine looks again at what lies
// under it (it may merge the moves that found a link with one that left it); for QTRY_VERIFY,
// together with what the test waits for.
inline bool NudgeAt(WebView *view, QPoint pos)
{
    static int nudges = 0;
    QWidget *target = InputTarget(view);
    if (!target)
        return false;
    QTest::mouseMove(target, pos + QPoint(++nudges % 2, 0));
    return true;
}

// Clicks at pos and tells whether the page has retitled itself to title; for QTRY_VERIFY, as
// PointAt.
inline bool ClickAt(WebView *view, QPoint pos, const QString &title)
{
    QWidget *target = InputTarget(view);
    if (!target)
        return false;
    QTest::mouseClick(target, Qt::LeftButton, {}, pos);
    return view->LocationName() == title;
}

// Waits until the window is on screen; false if it did not come in time.
inline bool WaitExposed(QWidget *widget, int timeoutMs = 5000)
{
    QElapsedTimer timer;
    timer.start();
    while (!(widget->windowHandle() && widget->windowHandle()->isExposed())) {
        if (timer.hasExpired(timeoutMs))
            return false;
        QTest::qWait(10);
    }
    return true;
}

// A view on screen, off the record, answering through dialogs; null if it never showed.
inline std::unique_ptr<QtWebView> NewShownView(ViewDialogs *dialogs)
{
    auto view = std::make_unique<QtWebView>(dialogs, QtWebProfile::Kind::OffTheRecord);
    view->resize(800, 600);
    view->show();
    if (!WaitExposed(view.get()))
        view.reset();
    return view;
}

// Navigates and waits for the load to end; false if it did not end in time.
inline bool NavigateAndWait(WebView *view, const QString &address, int timeoutMs = 10000)
{
    QSignalSpy done(view, &WebView::DownloadComplete);
    view->Navigate(address);
    return done.wait(timeoutMs);
}

// Waits until the page's title is title (pages report what happened in them by their title).
#define QUOR_WAIT_TITLE(view, title) QTRY_COMPARE_WITH_TIMEOUT((view)->LocationName(), title, 10000)
