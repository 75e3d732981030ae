#pragma once

#include "webview/QtWebProfile.h"
#include "webview/WebView.h"

#include <memory>

class ViewDialogs;

// The web view on Qt WebEngine. No engine header is visible from here, so the rest of the
// program cannot reach past the WebView interface.
class QtWebView : public WebView
{
    Q_OBJECT
public:
    explicit QtWebView(ViewDialogs *dialogs,
                       QtWebProfile::Kind profile = QtWebProfile::Kind::PerUser,
                       QWidget *parent = nullptr);
    ~QtWebView() override;

    // The folder this view's profile keeps its data in; empty when off the record.
    QString ProfileFolder() const;

    // The search page; "%s" in it stands for the words searched for.
    void SetSearchPage(const QString &pageTemplate);
    QString SearchPage() const;
    QString HomePage() const;

    void Navigate(const QString &address) override;
    void GoBack() override;
    void GoForward() override;
    void GoHome() override;
    void GoSearch() override;
    void Refresh() override;
    void Stop() override;
    bool ExecWB(int command, int option) override;
    QString LocationName() const override;
    QString LocationURL() const override;
    bool Busy() const override;
    double ZoomFactor() const override;
    void SetZoomFactor(double factor) override;
    void FindText(const QString &text, bool backward, bool highlightAll) override;
    int OpenedWindowCount() const override;

    // The plain windows this view opened for new-window requests it was allowed to open.
    QList<QWidget *> OpenedWindows() const;

private:
    struct Private;
    std::unique_ptr<Private> d;
};
