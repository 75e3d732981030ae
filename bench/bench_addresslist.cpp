// The address lists have no length limit: how long entering a page takes in the window once a
// long day of browsing has filled them.
#include "FakeUserDialogs.h"
#include "FakeWebView.h"
#include "browser/AddressList.h"
#include "browser/frmBrowser.h"

#include <QTemporaryDir>
#include <QtTest>

class bench_addresslist : public QObject
{
    Q_OBJECT
private slots:
    void updateList_data();
    void updateList();
    void navigateComplete_data();
    void navigateComplete();
};

static QStringList Visited(int n)
{
    QStringList list;
    for (int i = 0; i < n; ++i)
        list << QString("http://www.example.com/page/%1").arg(i);
    return list;
}

void bench_addresslist::updateList_data()
{
    QTest::addColumn<int>("entries");
    QTest::newRow("100") << 100;
    QTest::newRow("10000") << 10000;
}

void bench_addresslist::updateList()
{
    QFETCH(int, entries);
    const QStringList list = Visited(entries);
    QBENCHMARK
    {
        UpdateAddressList(list, list.last());
    }
}

void bench_addresslist::navigateComplete_data()
{
    updateList_data();
}

void bench_addresslist::navigateComplete()
{
    QFETCH(int, entries);
    QTemporaryDir dir;
    auto *view = new FakeWebView;
    FakeUserDialogs dialogs;
    BrowserEnvironment env;
    env.view = view;
    env.appFolder = dir.path();
    env.dialogs = &dialogs;
    frmBrowser w(env);
    for (const QString &url : Visited(entries)) {
        view->SetLocation(url, "T");
        w.brwWebBrowser_NavigateComplete2();
    }
    view->SetLocation("http://www.example.com/page/0", "T");
    QBENCHMARK
    {
        w.brwWebBrowser_NavigateComplete2();
    }
}

QTEST_MAIN(bench_addresslist)
#include "bench_addresslist.moc"
