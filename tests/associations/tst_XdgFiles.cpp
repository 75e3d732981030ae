#include "IsolatedHome.h"
#include "associations/XdgFiles.h"

#include <QtTest>

static IsolatedHome isolatedHome;

static const QByteArray Ours = "org.ombrane.QuorBrowser.desktop";

class tst_XdgFiles : public QObject
{
    Q_OBJECT

private slots:
    void mimeTypes_data();
    void mimeTypes();
    void execProgram_data();
    void execProgram();
    void setDefault_data();
    void setDefault();
    void removeDefault_data();
    void removeDefault();
    void setThenRemoveGivesTheFileBack_data();
    void setThenRemoveGivesTheFileBack();
    void entryProgramReadsBack_data();
    void entryProgramReadsBack();
    void entryMimeTypes();
    void namesApplication_data();
    void namesApplication();
};

void tst_XdgFiles::mimeTypes_data()
{
    QTest::addColumn<QString>("extension");
    QTest::addColumn<QString>("expected");
    QTest::newRow("jpg") << "jpg"
                         << "image/jpeg";
    QTest::newRow("dotted, capitals") << ".JPG"
                                      << "image/jpeg";
    QTest::newRow("gif") << "gif"
                         << "image/gif";
    QTest::newRow("html") << "html"
                          << "text/html";
    QTest::newRow("htm: the same type as html") << ".htm"
                                                << "text/html";
    QTest::newRow("a kind the wizard does not offer") << "png"
                                                      << "";
    QTest::newRow("nothing") << ""
                             << "";
}

void tst_XdgFiles::mimeTypes()
{
    QFETCH(QString, extension);
    QFETCH(QString, expected);
    QCOMPARE(MimeTypeForExtension(extension), expected);
}

void tst_XdgFiles::execProgram_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("expected");
    // Expected values as they stand in the file.
    QTest::newRow("plain path: as it is") << "/opt/quor/QuorBrowser"
                                          << "/opt/quor/QuorBrowser";
    QTest::newRow("blank: quoted") << "/opt/Quor Browser/QuorBrowser"
                                   << "\"/opt/Quor Browser/QuorBrowser\"";
    QTest::newRow("dollar") << "/opt/a$b/Q"
                            << "\"/opt/a\\\\$b/Q\"";
    QTest::newRow("double quotes") << "/opt/say \"hi\"/Q"
                                   << "\"/opt/say \\\\\"hi\\\\\"/Q\"";
    QTest::newRow("backslash") << "/opt/back\\slash/Q"
                               << "\"/opt/back\\\\\\\\slash/Q\"";
    QTest::newRow("backquote") << "/opt/a`b/Q"
                               << "\"/opt/a\\\\`b/Q\"";
    QTest::newRow("single quote: quoted, not escaped") << "/opt/it's/Q"
                                                       << "\"/opt/it's/Q\"";
    QTest::newRow("shell specials: quoted") << "/opt/a&b;c(d)|e/Q"
                                            << "\"/opt/a&b;c(d)|e/Q\"";
    QTest::newRow("percent: doubled") << "/opt/100%/Q"
                                      << "/opt/100%%/Q";
    QTest::newRow("percent and blank") << "/opt/100 %/Q"
                                       << "\"/opt/100 %%/Q\"";
    QTest::newRow("tab") << "/opt/a\tb/Q"
                         << "\"/opt/a\\tb/Q\"";
    QTest::newRow("newline") << "/opt/a\nb/Q"
                             << "\"/opt/a\\nb/Q\"";
    QTest::newRow("letters beyond ASCII") << "/opt/Café/Q"
                                          << "/opt/Café/Q";
}

void tst_XdgFiles::execProgram()
{
    QFETCH(QString, path);
    QFETCH(QString, expected);
    QCOMPARE(DesktopExecProgram(path), expected);
}

void tst_XdgFiles::setDefault_data()
{
    QTest::addColumn<QByteArray>("before");
    QTest::addColumn<QString>("mimeType");
    QTest::addColumn<QByteArray>("after");

    QTest::newRow("no file yet") << QByteArray() << "image/jpeg"
                                 << "[Default Applications]\nimage/jpeg=" + Ours + ";\n";
    QTest::newRow("no group: appended, the rest kept")
        << QByteArray("# mine\n[Added Associations]\ntext/plain=a.desktop;\n") << "image/jpeg"
        << "# mine\n[Added Associations]\ntext/plain=a.desktop;\n\n[Default "
           "Applications]\nimage/jpeg="
            + Ours + ";\n";
    QTest::newRow("no group, no final newline")
        << QByteArray("[Added Associations]\ntext/plain=a.desktop;") << "image/jpeg"
        << "[Added Associations]\ntext/plain=a.desktop;\n\n[Default Applications]\nimage/jpeg="
            + Ours + ";\n";
    QTest::newRow("group without the type: after its last entry")
        << QByteArray("[Default Applications]\ntext/plain=a.desktop;\n\n# next\n[Added "
                      "Associations]\nx/y=b.desktop;\n")
        << "image/gif"
        << "[Default Applications]\ntext/plain=a.desktop;\nimage/gif=" + Ours
            + ";\n\n# next\n[Added Associations]\nx/y=b.desktop;\n";
    QTest::newRow("empty group") << QByteArray("[Default Applications]\n# later\n") << "image/gif"
                                 << "[Default Applications]\nimage/gif=" + Ours + ";\n# later\n";
    QTest::newRow("group ends the file without newline")
        << QByteArray("[Default Applications]\ntext/plain=a.desktop;") << "image/gif"
        << "[Default Applications]\ntext/plain=a.desktop;\nimage/gif=" + Ours + ";\n";
    QTest::newRow("another default: ours first, it after")
        << QByteArray("[Default Applications]\nimage/jpeg=eog.desktop;\ntext/plain=a;\n")
        << "image/jpeg"
        << "[Default Applications]\nimage/jpeg=" + Ours + ";eog.desktop;\ntext/plain=a;\n";
    QTest::newRow("ours already among others: moved first")
        << "[Default Applications]\nimage/jpeg=eog.desktop;" + Ours + ";gimp.desktop\n"
        << "image/jpeg"
        << "[Default Applications]\nimage/jpeg=" + Ours + ";eog.desktop;gimp.desktop;\n";
    QTest::newRow("blanks around the equals sign")
        << QByteArray("[Default Applications]\nimage/jpeg = eog.desktop\n") << "image/jpeg"
        << "[Default Applications]\nimage/jpeg=" + Ours + ";eog.desktop;\n";
    QTest::newRow("CR LF file") << QByteArray("[Default Applications]\r\ntext/plain=a.desktop;\r\n")
                                << "text/html"
                                << "[Default Applications]\r\ntext/plain=a.desktop;\r\ntext/html="
            + Ours + ";\r\n";
    QTest::newRow("same type in another group untouched")
        << QByteArray("[Added Associations]\nimage/jpeg=eog.desktop;\n[Default "
                      "Applications]\ntext/plain=a;\n")
        << "image/jpeg"
        << "[Added Associations]\nimage/jpeg=eog.desktop;\n[Default "
           "Applications]\ntext/plain=a;\nimage/jpeg="
            + Ours + ";\n";
    QTest::newRow("a longer type that begins the same")
        << QByteArray("[Default Applications]\nimage/jpeg2=x.desktop;\n") << "image/jpeg"
        << "[Default Applications]\nimage/jpeg2=x.desktop;\nimage/jpeg=" + Ours + ";\n";
    QTest::newRow("commented-out entry untouched")
        << QByteArray("[Default Applications]\n#image/jpeg=eog.desktop;\n") << "image/jpeg"
        << "[Default Applications]\nimage/jpeg=" + Ours + ";\n#image/jpeg=eog.desktop;\n";
}

void tst_XdgFiles::setDefault()
{
    QFETCH(QByteArray, before);
    QFETCH(QString, mimeType);
    QFETCH(QByteArray, after);
    QCOMPARE(SetDefaultApplication(before, mimeType, Ours), after);
}

void tst_XdgFiles::removeDefault_data()
{
    QTest::addColumn<QByteArray>("before");
    QTest::addColumn<QString>("mimeType");
    QTest::addColumn<QByteArray>("after");

    QTest::newRow("ours alone: the entry goes")
        << "[Default Applications]\nimage/jpeg=" + Ours + ";\ntext/plain=a;\n"
        << "image/jpeg" << QByteArray("[Default Applications]\ntext/plain=a;\n");
    QTest::newRow("ours before a previous default")
        << "# x\n[Default Applications]\nimage/jpeg=" + Ours + ";eog.desktop;\n"
        << "image/jpeg" << QByteArray("# x\n[Default Applications]\nimage/jpeg=eog.desktop;\n");
    QTest::newRow("not ours: the line stays as written")
        << QByteArray("[Default Applications]\nimage/jpeg = eog.desktop\n") << "image/jpeg"
        << QByteArray("[Default Applications]\nimage/jpeg = eog.desktop\n");
    QTest::newRow("ours in another group untouched")
        << "[Added Associations]\nimage/jpeg=" + Ours + ";\n"
        << "image/jpeg"
        << "[Added Associations]\nimage/jpeg=" + Ours + ";\n";
    QTest::newRow("ours for another type untouched")
        << "[Default Applications]\ntext/html=" + Ours + ";\n"
        << "image/jpeg"
        << "[Default Applications]\ntext/html=" + Ours + ";\n";
    const QByteArray withoutNewline = "[Default Applications]\nimage/jpeg=" + Ours + ";";
    QTest::newRow("last line without newline")
        << withoutNewline << "image/jpeg" << QByteArray("[Default Applications]\n");
    QTest::newRow("CR LF file") << "[Default Applications]\r\nimage/gif=" + Ours
            + ";\r\ntext/plain=a;\r\n"
                                << "image/gif"
                                << QByteArray("[Default Applications]\r\ntext/plain=a;\r\n");
    QTest::newRow("no file") << QByteArray() << "image/jpeg" << QByteArray();
}

void tst_XdgFiles::removeDefault()
{
    QFETCH(QByteArray, before);
    QFETCH(QString, mimeType);
    QFETCH(QByteArray, after);
    QCOMPARE(RemoveDefaultApplication(before, mimeType, Ours), after);
}

void tst_XdgFiles::setThenRemoveGivesTheFileBack_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QString>("mimeType");
    QTest::newRow("type with a default of its own")
        << QByteArray("# Settings\n[Added Associations]\nimage/jpeg=eog.desktop;\n\n[Default "
                      "Applications]\nimage/jpeg=eog.desktop;gimp.desktop;\ntext/plain=a;\n\n")
        << "image/jpeg";
    QTest::newRow("type without a default")
        << QByteArray("[Default Applications]\r\ntext/plain=a;\r\n\r\n[Removed "
                      "Associations]\r\ntext/plain=b;\r\n")
        << "text/html";
}

void tst_XdgFiles::setThenRemoveGivesTheFileBack()
{
    QFETCH(QByteArray, file);
    QFETCH(QString, mimeType);
    const QByteArray set = SetDefaultApplication(file, mimeType, Ours);
    QVERIFY(set != file);
    QCOMPARE(RemoveDefaultApplication(set, mimeType, Ours), file);
    // Also as an added program, together with the default: both go again.
    const QByteArray both = SetDefaultApplication(set, mimeType, Ours, AddedAssociationsGroup);
    QVERIFY(both.contains("[Added Associations]") && both.count(Ours) == 2);
    const QByteArray removed = RemoveDefaultApplication(
        RemoveDefaultApplication(both, mimeType, Ours), mimeType, Ours, AddedAssociationsGroup);
    QVERIFY2(!NamesApplication(removed, Ours), removed.constData());
}

void tst_XdgFiles::entryProgramReadsBack_data()
{
    QTest::addColumn<QString>("program");
    QTest::newRow("plain") << "/opt/QuorBrowser/QuorBrowser";
    QTest::newRow("blanks") << "/home/me/Quor Browser/QuorBrowser";
    QTest::newRow("specials") << "/home/me/Quor $x \"q\" back\\slash 'a' `b` ~&;#()/QuorBrowser";
    QTest::newRow("percent") << "/home/me/100%/QuorBrowser";
    QTest::newRow("a tab") << "/home/me/a\tb/QuorBrowser";
}

void tst_XdgFiles::entryProgramReadsBack()
{
    // What the wizard writes, it reads back: the program of its entry, to write it again.
    QFETCH(QString, program);
    QCOMPARE(DesktopEntryProgram(DesktopEntry(program)), program);
}

void tst_XdgFiles::entryMimeTypes()
{
    const QStringList browser
        = {"text/html", "application/xhtml+xml", "x-scheme-handler/http", "x-scheme-handler/https"};
    QCOMPARE(DesktopEntryMimeTypes(DesktopEntry("/p/QuorBrowser")), browser);
    QCOMPARE(DesktopEntryMimeTypes(DesktopEntry("/p/QuorBrowser", {"image/gif", "text/html"})),
             browser + QStringList {"image/gif"});
    QCOMPARE(DesktopEntryMimeTypes("[Desktop Entry]\nName=x\n"), QStringList());
    QCOMPARE(DesktopEntryMimeTypes("[Other]\nMimeType=a/b;\n[Desktop Entry]\nMimeType= c/d ;e/f\n"),
             (QStringList {"c/d", "e/f"}));
}

void tst_XdgFiles::namesApplication_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<bool>("names");
    QTest::newRow("a default") << QByteArray("[Default Applications]\ntext/html=a;" + Ours + ";\n")
                               << true;
    QTest::newRow("an added program")
        << QByteArray("[Added Associations]\nimage/gif=" + Ours + "\n") << true;
    QTest::newRow("a removed one only")
        << QByteArray("[Removed Associations]\nimage/gif=" + Ours + ";\n") << false;
    QTest::newRow("another program, named alike")
        << QByteArray("[Default Applications]\ntext/html=x" + Ours + ";\n") << false;
    QTest::newRow("nothing") << QByteArray() << false;
}

void tst_XdgFiles::namesApplication()
{
    QFETCH(QByteArray, file);
    QFETCH(bool, names);
    QCOMPARE(NamesApplication(file, Ours), names);
}

QTEST_GUILESS_MAIN(tst_XdgFiles)
#include "tst_XdgFiles.moc"
