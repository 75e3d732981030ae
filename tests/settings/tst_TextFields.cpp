#include "settings/TextFields.h"

#include <QTemporaryDir>
#include <QtTest>
#include <unistd.h>

class tst_TextFields : public QObject
{
    Q_OBJECT
private slots:
    void parse_data();
    void parse();
    void writtenFieldReadsBack_data();
    void writtenFieldReadsBack();
    void quoteEndsWrittenText_data();
    void quoteEndsWrittenText();
    void longTextDecodedInPieces_data();
    void longTextDecodedInPieces();
    void firstFieldOfMissingFileIsEmpty();
    void failedWriteKeepsPreviousContent();
};

void tst_TextFields::parse_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QStringList>("fields");

    QTest::newRow("one quoted field")
        << QByteArray("\"about:blank\"\r\n") << QStringList {"about:blank"};
    QTest::newRow("empty file") << QByteArray() << QStringList {};
    QTest::newRow("empty quoted field") << QByteArray("\"\"\r\n") << QStringList {""};
    QTest::newRow("comma inside quotes") << QByteArray("\"a, b\"\r\n") << QStringList {"a, b"};
    QTest::newRow("comma outside quotes") << QByteArray("a,b\r\n") << QStringList {"a", "b"};
    QTest::newRow("blanks around bare field") << QByteArray("  a b  \r\n") << QStringList {"a b"};
    QTest::newRow("blanks inside quotes kept")
        << QByteArray("  \" a \"  \r\n") << QStringList {" a "};
    QTest::newRow("text after closing quote dropped")
        << QByteArray("\"ab\"cd,e\r\n") << QStringList {"ab", "e"};
    QTest::newRow("quote inside text cuts it")
        << QByteArray("\"say \"hi\" now\"\r\n\"next\"\r\n") << QStringList {"say ", "next"};
    QTest::newRow("empty lines give empty fields")
        << QByteArray("a\r\n\r\nb\r\n") << QStringList {"a", "", "b"};
    QTest::newRow("last line without line end")
        << QByteArray("a\r\n\"b\"") << QStringList {"a", "b"};
    QTest::newRow("LF only") << QByteArray("a\nb\n") << QStringList {"a", "b"};
    QTest::newRow("CR only") << QByteArray("a\rb\r") << QStringList {"a", "b"};
    QTest::newRow("comma at line end") << QByteArray("a,\r\nb") << QStringList {"a", "", "b"};
    QTest::newRow("open quote ends at its line")
        << QByteArray("\"unclosed\r\n\"next\"\r\n") << QStringList {"unclosed", "next"};
    QTest::newRow("bytes above 127, single-byte")
        << QByteArray("\"caf\xe9\"\r\n") << QStringList {QString::fromLatin1("caf\xe9")};
    QTest::newRow("bytes above 127, UTF-8")
        << QByteArray("\"\xd0\xbc\xd0\xb8\xd1\x80\"\r\n")
        << QStringList {QString::fromUtf8("\xd0\xbc\xd0\xb8\xd1\x80")};
    QTest::newRow("NUL byte kept as a character")
        << QByteArray("\"a\0b\"\r\nc\r\n", 10) << QStringList {QString::fromLatin1("a\0b", 3), "c"};
}

void tst_TextFields::parse()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QStringList, fields);
    QCOMPARE(ParseTextFields(bytes), fields);
}

void tst_TextFields::writtenFieldReadsBack_data()
{
    QTest::addColumn<QString>("text");
    QTest::newRow("address") << "http://127.0.0.1:8080/a?b=c&d=e";
    QTest::newRow("empty") << "";
    QTest::newRow("comma") << "Fish, Chips and Peas";
    QTest::newRow("single-byte letters") << QString::fromLatin1("Se\xf1or caf\xe9");
    QTest::newRow("beyond single byte")
        << QString::fromUtf8("\xe6\x97\xa5\xe6\x9c\xac \xd0\xbc\xd0\xb8\xd1\x80");
    QTest::newRow("path with blanks") << "/home/me/My Pages/page one.html";
    // Single bytes that also form UTF-8 (C3 A9 is "é" there) came back as other letters.
    QTest::newRow("single-byte letters that form UTF-8")
        << QString::fromLatin1("\xc3\xa9t\xc3\xa9");
    // A byte order mark at the start was dropped on reading.
    QTest::newRow("byte order mark first") << QChar(0xFEFF) + QString("Title");
}

void tst_TextFields::writtenFieldReadsBack()
{
    QFETCH(QString, text);
    const QByteArray bytes = SerializeTextField(text);
    QVERIFY(bytes.startsWith('"'));
    QVERIFY(bytes.endsWith("\"\r\n"));
    QCOMPARE(ParseTextFields(bytes), QStringList {text});

    QTemporaryDir dir;
    const QString path = dir.filePath("f");
    QVERIFY(WriteSingleField(path, text));
    QCOMPARE(ReadFirstField(path), text);
}

void tst_TextFields::quoteEndsWrittenText_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("readBack");
    QTest::newRow("plain") << "say \"hi\" now"
                           << "say ";
    QTest::newRow("quote first") << "\"quoted\""
                                 << "";
    // What comes before the quote is read alone: it must not turn into other letters because
    // the whole text was written as single bytes.
    QTest::newRow("part before the quote forms UTF-8")
        << QString::fromLatin1("\xce\xab\"\xce") << QString::fromLatin1("\xce\xab");
}

void tst_TextFields::quoteEndsWrittenText()
{
    QFETCH(QString, text);
    QFETCH(QString, readBack);
    QCOMPARE(ParseTextFields(SerializeTextField(text)), QStringList {readBack});
}

void tst_TextFields::longTextDecodedInPieces_data()
{
    // Long texts are looked through a megabyte at a time: the answer must be the whole text's.
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<bool>("utf8");
    const QByteArray mb((1 << 20) - 1, 'a');
    const QByteArray euro("\xe2\x82\xac");
    QTest::newRow("character across the first piece's end") << mb + euro + mb << true;
    QTest::newRow("four-byte character across it") << mb + "\xf0\x9f\x98\x80" + mb << true;
    QTest::newRow("fault in a later piece") << euro + mb + mb + "\xe9" << false;
    QTest::newRow("cut short at the end") << euro + mb + mb + "\xe2\x82" << false;
    QTest::newRow("continuation bytes alone across the end")
        << mb + "\x82\x82\x82\x82\x82" + mb << false;
    QTest::newRow("ASCII") << mb + mb << false;
}

void tst_TextFields::longTextDecodedInPieces()
{
    QFETCH(QByteArray, bytes);
    QFETCH(bool, utf8);
    QCOMPARE(DecodesAsUtf8(bytes), utf8);
    const QString whole = DecodeText(bytes);
    for (const qsizetype n : {qsizetype(0), qsizetype(1), qsizetype(200), whole.size() / 2 + 1})
        QCOMPARE(DecodeTextStart(bytes, n), whole.left(n));
}

void tst_TextFields::firstFieldOfMissingFileIsEmpty()
{
    QTemporaryDir dir;
    QCOMPARE(ReadFirstField(dir.filePath("missing")), QString());
}

void tst_TextFields::failedWriteKeepsPreviousContent()
{
    QTemporaryDir dir;
    // A folder that is really a file cannot take a new file, whoever runs the test.
    QFile blocker(dir.filePath("notAFolder"));
    QVERIFY(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    QVERIFY(!WriteSingleField(dir.filePath("notAFolder/Popupurl"), "http://after/"));

    if (geteuid() == 0)
        QSKIP("root writes into read-only folders; the rest needs an ordinary user");
    const QString path = dir.filePath("Popupurl");
    QVERIFY(WriteSingleField(path, "http://before/"));
    QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::ExeOwner);
    QVERIFY(!WriteSingleField(path, "http://after/"));
    QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    QCOMPARE(ReadFirstField(path), QString("http://before/"));
}

QTEST_GUILESS_MAIN(tst_TextFields)
#include "tst_TextFields.moc"
