// How long reading the program's text files takes at their largest: a full favorites file and
// a settings file, as every start reads them.
#include "favorites/FavoritesFiles.h"
#include "settings/Settings.h"
#include "settings/TextFields.h"

#include <QTemporaryDir>
#include <QtTest>

class bench_files : public QObject
{
    Q_OBJECT
private slots:
    void parseFullFavoritesFile();
    void readSettingsFile();
};

void bench_files::parseFullFavoritesFile()
{
    QByteArray bytes;
    for (int i = 0; i < MaxFavoritesLoaded; ++i)
        bytes += SerializeTextField(
            QString("http://www.example.com/section/%1/page.html?q=%1").arg(i));
    QStringList fields;
    QBENCHMARK
    {
        fields = ParseTextFields(bytes);
    }
    QCOMPARE(fields.size(), MaxFavoritesLoaded);
}

void bench_files::readSettingsFile()
{
    QTemporaryDir dir;
    Settings s;
    s.Stamp = SettingsStamp;
    s.WindowWidth = 12000;
    QVERIFY(WriteConfigFile(dir.path(), s));
    QBENCHMARK
    {
        Settings back;
        ReadConfigFile(dir.path(), back);
    }
}

QTEST_GUILESS_MAIN(bench_files)
#include "bench_files.moc"
