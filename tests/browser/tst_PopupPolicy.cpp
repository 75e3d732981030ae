#include "browser/PopupPolicy.h"

#include <QtTest>

class tst_PopupPolicy : public QObject
{
    Q_OBJECT
private slots:
    void popupModeFromMarks_data();
    void popupModeFromMarks();
    void decide_data();
    void decide();
    void guard_data();
    void guard();
    void sitesAskingOnTheirOwn_data();
    void sitesAskingOnTheirOwn();
    void storedWords_data();
    void storedWords();
};

void tst_PopupPolicy::decide_data()
{
    QTest::addColumn<int>("mode");
    QTest::addColumn<QString>("status");
    QTest::addColumn<int>("gesture");
    QTest::addColumn<QString>("requested");
    QTest::addColumn<bool>("cancel");
    QTest::addColumn<bool>("notice");
    QTest::addColumn<QString>("handOff");

    const int cancelAll = int(PopupMode::CancelAll);
    const int parent = int(PopupMode::AllowParent);
    const int all = int(PopupMode::AllowAll);
    const int none = int(WindowGesture::None), click = int(WindowGesture::Click),
              enter = int(WindowGesture::EnterKey), key = int(WindowGesture::OtherKey);
    QTest::newRow("cancel all, link clicked")
        << cancelAll << "http://a/" << click << "http://a/" << true << true << "";
    QTest::newRow("cancel all, empty") << cancelAll << "" << click << "" << true << true << "";
    QTest::newRow("parent, http link clicked")
        << parent << "http://a/b" << click << "http://a/b" << true << false << "http://a/b";
    QTest::newRow("parent, https link clicked")
        << parent << "https://a/" << click << "https://a/" << true << false << "https://a/";
    QTest::newRow("parent, Enter on the focused link")
        << parent << "http://a/b" << enter << "http://a/b" << true << false << "http://a/b";
    QTest::newRow("parent, link clicked, its address written otherwise")
        << parent << "http://a/b c" << click << "http://a/b%20c" << true << false << "http://a/b c";
    QTest::newRow("parent, Done") << parent << "Done" << click << "Done" << true << true << "";
    QTest::newRow("parent, empty") << parent << "" << click << "" << true << true << "";
    QTest::newRow("parent, capitals")
        << parent << "HTTP://A/" << click << "HTTP://A/" << true << true << "";
    QTest::newRow("parent, Download Stopped")
        << parent << "Download Stopped" << click << "" << true << true << "";
    QTest::newRow("parent, blank before")
        << parent << " http://a/" << click << " http://a/" << true << true << "";
    QTest::newRow("allow all, link")
        << all << "http://a/" << click << "http://a/" << false << false << "";
    QTest::newRow("allow all, Done") << all << "Done" << click << "" << false << false << "";
    // A script asking on its own, while the pointer happens to be over a link.
    QTest::newRow("parent, link, script")
        << parent << "http://a/b" << none << "http://a/b" << true << true << "";
    QTest::newRow("cancel all, script")
        << cancelAll << "http://a/" << none << "http://a/" << true << true << "";
    QTest::newRow("allow all, script")
        << all << "http://a/" << none << "http://a/" << false << false << "";
    // A script asking on the person's key or click, for something else than the link showing.
    QTest::newRow("parent, typing, script asks for a blank window")
        << parent << "http://a/b" << key << "about:blank" << true << true << "";
    QTest::newRow("parent, typing, script asks for the link showing")
        << parent << "http://a/b" << key << "http://a/b" << true << true << "";
    QTest::newRow("parent, Enter, script asks for a blank window")
        << parent << "http://a/b" << enter << "about:blank" << true << true << "";
    QTest::newRow("parent, click, script asks for a blank window")
        << parent << "http://a/b" << click << "about:blank" << true << true << "";
    QTest::newRow("parent, click, script asks for another page")
        << parent << "http://a/b" << click << "http://a/c" << true << true << "";
    QTest::newRow("parent, click, script asks for another part of the page")
        << parent << "http://a/b" << click << "http://a/b#part" << true << true << "";
    QTest::newRow("allow all, typing")
        << all << "http://a/b" << key << "about:blank" << false << false << "";
    // The person chose "Open link in new window": a new instance in every mode, whatever the
    // status line shows.
    const int menu = int(WindowGesture::LinkMenu);
    QTest::newRow("cancel all, link menu")
        << cancelAll << "Done" << menu << "http://a/b" << true << false << "http://a/b";
    QTest::newRow("parent, link menu, another link showing")
        << parent << "http://a/c" << menu << "https://a/b" << true << false << "https://a/b";
    QTest::newRow("allow all, link menu")
        << all << "" << menu << "http://a/b" << true << false << "http://a/b";
    QTest::newRow("cancel all, link menu, local page")
        << cancelAll << "" << menu << "file:///home/p/a.html" << true << false
        << "file:///home/p/a.html";
    QTest::newRow("cancel all, link menu, script link")
        << cancelAll << "" << menu << "javascript:alert(1)" << true << true << "";
    QTest::newRow("allow all, link menu, mail link")
        << all << "" << menu << "mailto:a@b.c" << true << true << "";
}

void tst_PopupPolicy::decide()
{
    QFETCH(int, mode);
    QFETCH(QString, status);
    QFETCH(int, gesture);
    QFETCH(QString, requested);
    QFETCH(bool, cancel);
    QFETCH(bool, notice);
    QFETCH(QString, handOff);
    const NewWindowDecision d
        = DecideNewWindow(PopupMode(mode), status, WindowGesture(gesture), requested);
    QCOMPARE(d.cancel, cancel);
    QCOMPARE(d.showNotice, notice);
    QCOMPARE(d.handOff, handOff);
}

void tst_PopupPolicy::guard_data()
{
    // A sequence of requests, each "<ms> <kind>", kind one of: handoff (a link handed over),
    // waiting (the same while the file still holds the last address), own (a window a page
    // opens by itself in Allow All), user (one the person asked for in Allow All); and what
    // each got: h handed over, o opened, n refused with the notice.
    QTest::addColumn<QStringList>("requests");
    QTest::addColumn<QString>("outcomes");
    QTest::newRow("hand-offs one after the other")
        << QStringList {"0 handoff", "100 handoff"} << "hh";
    QTest::newRow("a second while the first waits")
        << QStringList {"0 handoff", "100 waiting", "29999 waiting"} << "hnn";
    QTest::newRow("the first never taken: given up after a while")
        << QStringList {"0 handoff", "30000 waiting"} << "hh";
    QStringList twentyOne;
    for (int i = 0; i < 21; ++i)
        twentyOne << QString("%1 own").arg(i * 10);
    QTest::newRow("21 windows at once") << twentyOne << QString(20, 'o') + "n";
    QTest::newRow("the person still opens windows")
        << (QStringList(twentyOne) << "300 user") << QString(20, 'o') + "no";
    // Windows a page's windows open count too: past twenty open at once, none more of their
    // own, at any pace; the person's still open.
    QTest::newRow("twenty open, slowly")
        << QStringList {"0 own/19", "20000 own/20", "40000 own/35", "60000 user/35"} << "onno";
    QTest::newRow("one closed, one more") << QStringList {"0 own/20", "20000 own/19"} << "no";
    QTest::newRow("slower than the flood") << (QStringList(twentyOne) << "10000 own"
                                                                      << "10009 own"
                                                                      << "10100 own")
                                           << QString(20, 'o') + "nono";
}

void tst_PopupPolicy::guard()
{
    QFETCH(QStringList, requests);
    QFETCH(QString, outcomes);
    PopupGuard guard;
    QString got;
    for (const QString &r : requests) {
        const qint64 now = r.section(' ', 0, 0).toLongLong();
        // "own/N": with N windows open.
        const QString kind = r.section(' ', 1).section('/', 0, 0);
        const int open = r.section('/', 1).toInt();
        const bool handOff = kind == "handoff" || kind == "waiting";
        const bool fromUser = handOff || kind == "user";
        const NewWindowDecision plain
            = DecideNewWindow(handOff ? PopupMode::AllowParent : PopupMode::AllowAll, "http://a/",
                              fromUser ? WindowGesture::Click : WindowGesture::None, "http://a/");
        const NewWindowDecision d = guard.Guard(plain, fromUser, kind == "waiting", now, open);
        if (!d.handOff.isEmpty()) {
            guard.HandedOff(now);
            got += 'h';
        } else {
            got += d.cancel ? (d.showNotice ? 'n' : '?') : 'o';
        }
    }
    QCOMPARE(got, outcomes);
}

void tst_PopupPolicy::sitesAskingOnTheirOwn_data()
{
    // Requests in turn, each "<site> <person's navigations> <mode>", mode c (Cancel All, a
    // script asking), k (Cancel All, a click of the person's) or a (Allow All, a script asking);
    // site "-" for the link menu, which no page asks for. What each got: o opened, r refused,
    // u refused and the site heard no more.
    QTest::addColumn<QStringList>("requests");
    QTest::addColumn<QString>("outcomes");
    const auto times = [](int n, const QString &r) {
        QStringList l;
        for (int i = 0; i < n; ++i)
            l << r;
        return l;
    };
    QTest::newRow("ten refusals of one site") << times(12, "a 0 c") << "rrrrrrrrruuu";
    QTest::newRow("clicks refused count too") << times(10, "a 0 k") << "rrrrrrrrru";
    QTest::newRow("counted by site")
        << (times(9, "a 0 c") + times(9, "b 0 c") + QStringList {"a 0 c", "b 0 c"})
        << QString(18, 'r') + "uu";
    QTest::newRow("the person's own navigation starts afresh")
        << (times(9, "a 0 c") + times(10, "a 1 c")) << QString(18, 'r') + "u";
    QTest::newRow("windows opened count nothing")
        << (times(20, "a 0 a") + times(9, "a 0 c")) << QString(20, 'o') + QString(9, 'r');
    QTest::newRow("the link menu counts nothing") << times(12, "- 0 c") << QString(12, 'r');
}

void tst_PopupPolicy::sitesAskingOnTheirOwn()
{
    QFETCH(QStringList, requests);
    QFETCH(QString, outcomes);
    PopupGuard guard;
    QString got;
    qint64 now = 0;
    for (const QString &r : requests) {
        const QStringList f = r.split(' ');
        WindowRequest request;
        request.site = f[0] == "-" ? QString() : "http://" + f[0];
        request.personNavigations = f[1].toULongLong();
        request.gesture = f[2] == "k" ? WindowGesture::Click : WindowGesture::None;
        request.address = "http://" + f[0] + "/popup";
        // Slower than a flood, so that only the count of refusals is at work.
        now += PopupGuard::FloodMs;
        const NewWindowDecision d = guard.Decide(
            f[2] == "a" ? PopupMode::AllowAll : PopupMode::CancelAll, request, false, now);
        got += !d.cancel ? 'o' : d.siteUnheard ? 'u' : 'r';
    }
    QCOMPARE(got, outcomes);
}

void tst_PopupPolicy::storedWords_data()
{
    QTest::addColumn<QString>("word");
    QTest::addColumn<bool>("restores");
    QTest::addColumn<int>("mode");
    QTest::newRow("all") << "all" << true << int(PopupMode::CancelAll);
    QTest::newRow("allow") << "allow" << true << int(PopupMode::AllowParent);
    QTest::newRow("allowie") << "allowie" << true << int(PopupMode::AllowAll);
    QTest::newRow("capital") << "Allow" << false << 0;
    QTest::newRow("trailing blank") << "allow " << false << 0;
    QTest::newRow("empty") << "" << false << 0;
}

void tst_PopupPolicy::storedWords()
{
    QFETCH(QString, word);
    QFETCH(bool, restores);
    QFETCH(int, mode);
    PopupMode m = PopupMode::CancelAll;
    QCOMPARE(PopupModeFromWord(word, &m), restores);
    if (restores) {
        QCOMPARE(int(m), mode);
        QCOMPARE(PopupModeWord(m), word);
    }
}

void tst_PopupPolicy::popupModeFromMarks_data()
{
    QTest::addColumn<bool>("cancelAll");
    QTest::addColumn<bool>("allowParent");
    QTest::addColumn<bool>("allowAll");
    QTest::addColumn<int>("mode"); // -1: none
    QTest::newRow("cancel all") << true << false << false << int(PopupMode::CancelAll);
    QTest::newRow("allow parent") << false << true << false << int(PopupMode::AllowParent);
    QTest::newRow("allow all") << false << false << true << int(PopupMode::AllowAll);
    QTest::newRow("later mark wins") << true << true << false << int(PopupMode::AllowParent);
    QTest::newRow("last mark wins") << true << true << true << int(PopupMode::AllowAll);
    QTest::newRow("no mark") << false << false << false << -1;
}

void tst_PopupPolicy::popupModeFromMarks()
{
    QFETCH(bool, cancelAll);
    QFETCH(bool, allowParent);
    QFETCH(bool, allowAll);
    QFETCH(int, mode);
    const std::optional<PopupMode> got = PopupModeFromMarks([&](PopupMode m) {
        return m == PopupMode::CancelAll  ? cancelAll
            : m == PopupMode::AllowParent ? allowParent
                                          : allowAll;
    });
    QCOMPARE(got ? int(*got) : -1, mode);
}

QTEST_GUILESS_MAIN(tst_PopupPolicy)
#include "tst_PopupPolicy.moc"
