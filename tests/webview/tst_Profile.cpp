#include "HttpServer.h"

#include <QDir>
#include <QProcess>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QUrlQuery>
#include <QtTest>

// The per-user profile with real instances of the program side by side: what one keeps is
// there after a restart, and an instance started while another runs still loads pages and
// keeps its cookies.
class tst_Profile : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void CookieKeptAfterRestart();
    void SecondInstanceWhileFirstRuns();
    void EndedInstancesLeaveNoFolder();

private:
    HttpServer m_server;
    QTemporaryDir m_home;
};

// A running profile_instance, talked to through its standard input and output.
class Instance
{
public:
    explicit Instance(const QString &dataHome)
    {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("XDG_DATA_HOME"), dataHome); // never the user's own data
        m_process.setProcessEnvironment(env);
        m_process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        m_process.start(QStringLiteral(PROFILE_INSTANCE), QStringList());
    }
    ~Instance()
    {
        if (m_process.state() != QProcess::NotRunning) {
            m_process.kill();
            m_process.waitForFinished(5000);
        }
    }
    bool Started() { return m_process.waitForStarted(10000); }

    // Sends a command and returns the answer line (without its first word); empty on time-out.
    QString Ask(const QString &command, const QString &answerWord)
    {
        m_process.write(command.toUtf8() + '\n');
        QSignalSpy output(&m_process, &QProcess::readyReadStandardOutput);
        for (;;) {
            while (m_process.canReadLine()) {
                const QString line = QString::fromUtf8(m_process.readLine()).trimmed();
                if (line.startsWith(answerWord + QLatin1Char(' ')))
                    return line.mid(answerWord.size() + 1);
            }
            if (!output.wait(15000))
                return QString();
        }
    }
    QString Load(const QUrl &url)
    {
        return Ask(QStringLiteral("load ") + url.toString(), QStringLiteral("title"));
    }
    QString Folder() { return Ask(QStringLiteral("folder"), QStringLiteral("folder")); }
    qint64 ProcessId() const { return m_process.processId(); }
    // Ends it as a crash or a kill would: nothing of it runs after.
    void Kill()
    {
        m_process.kill();
        m_process.waitForFinished(5000);
    }

    // Ends it the way the program ends, so the profile is written out.
    bool Quit()
    {
        m_process.write("quit\n");
        return m_process.waitForFinished(15000) && m_process.exitStatus() == QProcess::NormalExit
            && m_process.exitCode() == 0;
    }
    // How the last Quit went, for the report of a failed one.
    QByteArray End() const
    {
        if (m_process.state() != QProcess::NotRunning)
            return "still running 15 s after quit";
        return (m_process.exitStatus() == QProcess::CrashExit ? "crashed, " : "exited, ")
            + QByteArray("code ") + QByteArray::number(m_process.exitCode());
    }

private:
    QProcess m_process;
};

void tst_Profile::initTestCase()
{
    QVERIFY(m_server.isListening());
    QVERIFY(m_home.isValid());
    // /set?v=X keeps the cookie v=X for an hour; every page's title shows the cookies sent.
    const auto page = [](const HttpServer::Request &r) {
        HttpServer::Response out;
        out.headers = {{"Content-Type", "text/html"}};
        const QString v = QUrlQuery(QUrl(r.path).query()).queryItemValue(QStringLiteral("v"));
        if (!v.isEmpty())
            out.headers.append({"Set-Cookie", "v=" + v.toUtf8() + "; Max-Age=3600; Path=/"});
        out.body = HttpServer::Page(
            QStringLiteral("cookie=[%1]").arg(QString::fromLatin1(r.header("Cookie"))));
        return out;
    };
    m_server.route(QStringLiteral("/set"), page);
    m_server.route(QStringLiteral("/show"), page);
}

void tst_Profile::CookieKeptAfterRestart()
{
    const QString home = m_home.filePath(QStringLiteral("restart"));
    {
        Instance first(home);
        QVERIFY(first.Started());
        QCOMPARE(first.Load(m_server.url(QStringLiteral("/set?v=one"))),
                 QStringLiteral("cookie=[]"));
        QCOMPARE(first.Load(m_server.url(QStringLiteral("/show"))),
                 QStringLiteral("cookie=[v=one]"));
        QCOMPARE(first.Folder(), home + QStringLiteral("/QuorBrowser/Profile"));
        QVERIFY2(first.Quit(), first.End());
    }
    Instance again(home);
    QVERIFY(again.Started());
    QCOMPARE(again.Load(m_server.url(QStringLiteral("/show"))), QStringLiteral("cookie=[v=one]"));
    QVERIFY2(again.Quit(), again.End());
}

void tst_Profile::SecondInstanceWhileFirstRuns()
{
    const QString home = m_home.filePath(QStringLiteral("side-by-side"));
    const QString profile = home + QStringLiteral("/QuorBrowser/Profile");
    {
        Instance earlier(home);
        QVERIFY(earlier.Started());
        QCOMPARE(earlier.Load(m_server.url(QStringLiteral("/set?v=kept"))),
                 QStringLiteral("cookie=[]"));
        QVERIFY2(earlier.Quit(), earlier.End());
    }

    Instance first(home);
    QVERIFY(first.Started());
    QCOMPARE(first.Folder(), profile);
    QCOMPARE(first.Load(m_server.url(QStringLiteral("/show"))), QStringLiteral("cookie=[v=kept]"));

    QString secondFolder;
    {
        Instance second(home);
        QVERIFY(second.Started());
        secondFolder = second.Folder();
        QVERIFY2(!secondFolder.isEmpty() && secondFolder != profile, qPrintable(secondFolder));
        // It starts with the cookies the profile holds, loads pages and keeps its own cookies.
        QCOMPARE(second.Load(m_server.url(QStringLiteral("/show"))),
                 QStringLiteral("cookie=[v=kept]"));
        QCOMPARE(second.Load(m_server.url(QStringLiteral("/set?v=second"))),
                 QStringLiteral("cookie=[v=kept]"));
        QCOMPARE(second.Load(m_server.url(QStringLiteral("/show"))),
                 QStringLiteral("cookie=[v=second]"));
        // The first goes on undisturbed.
        QCOMPARE(first.Load(m_server.url(QStringLiteral("/show"))),
                 QStringLiteral("cookie=[v=kept]"));
        QVERIFY2(second.Quit(), second.End());
    }
    QVERIFY(!QFileInfo::exists(secondFolder)); // gone with the instance
    QVERIFY2(first.Quit(), first.End());

    // The profile kept what its owner had.
    Instance later(home);
    QVERIFY(later.Started());
    QCOMPARE(later.Folder(), profile);
    QCOMPARE(later.Load(m_server.url(QStringLiteral("/show"))), QStringLiteral("cookie=[v=kept]"));
    QVERIFY(!QFileInfo::exists(secondFolder));
    QVERIFY2(later.Quit(), later.End());
}

void tst_Profile::EndedInstancesLeaveNoFolder()
{
    // Three instances side by side: one that ends takes its folders with it, one killed leaves
    // them to the next start, which never takes those of an instance still running.
    const QString home = m_home.filePath(QStringLiteral("three"));
    const QString base = home + QStringLiteral("/QuorBrowser");
    const auto leftOver = [&] {
        QStringList names;
        for (const QString &folder : {QStringLiteral("/Instances"), QStringLiteral("/QtWebEngine")})
            for (const QString &name :
                 QDir(base + folder).entryList(QDir::Dirs | QDir::NoDotAndDotDot))
                names << folder.mid(1) + QLatin1Char('/') + name;
        names.sort();
        return names;
    };
    const auto sorted = [](QStringList names) {
        names.sort();
        return names;
    };
    const auto foldersOf = [](const Instance &i) {
        const QString id = QString::number(i.ProcessId());
        return QStringList {QStringLiteral("Instances/") + id,
                            QStringLiteral("QtWebEngine/QuorBrowser-") + id};
    };

    Instance owner(home);
    QVERIFY(owner.Started());
    QCOMPARE(owner.Folder(), base + QStringLiteral("/Profile"));
    Instance second(home), third(home);
    QVERIFY(second.Started());
    QVERIFY(!second.Folder().isEmpty());
    QVERIFY(third.Started());
    QVERIFY(!third.Folder().isEmpty());
    QCOMPARE(
        leftOver(),
        sorted(QStringList {"QtWebEngine/QuorBrowser"} + foldersOf(second) + foldersOf(third)));

    const QStringList thirds = foldersOf(third);
    QVERIFY2(second.Quit(), second.End());
    third.Kill();
    QCOMPARE(leftOver(), sorted(QStringList {"QtWebEngine/QuorBrowser"} + thirds));

    Instance fourth(home);
    QVERIFY(fourth.Started());
    QVERIFY(!fourth.Folder().isEmpty());
    QCOMPARE(leftOver(), sorted(QStringList {"QtWebEngine/QuorBrowser"} + foldersOf(fourth)));
    QVERIFY2(fourth.Quit(), fourth.End());
    QVERIFY2(owner.Quit(), owner.End());
    QCOMPARE(leftOver(), QStringList {"QtWebEngine/QuorBrowser"});
}

QTEST_GUILESS_MAIN(tst_Profile)
#include "tst_Profile.moc"
