#include "app/Module1.h"

#include "app/EngineNotice.h"
#include "settings/SaveFile.h"

#include <QMessageBox>
#include <QStringList>

frmBrowser *Main(const BrowserEnvironment &env, bool startMinimized)
{
    auto *window = new frmBrowser(env);
    window->Form_Load();
    if (startMinimized)
        window->showMinimized();
    else
        window->show();
    return window;
}

void TellOldEngine(QWidget *window, const QString &appFolder, const EngineVersion &engine,
                   const QDate &today)
{
    QMetaObject::invokeMethod(
        window,
        [window, appFolder, engine, today] {
            // A save of the file cut short by a kill; a younger one may be another instance's.
            RemoveLeftoverSaves(appFolder, {QString::fromLatin1(EngineNoticeFileName)},
                                QDateTime::currentDateTime().addSecs(-60));
            if (!ShouldTellOldEngine(engine, ReadEngineNotice(appFolder), today))
                return;
            // Remembered as it is said, so the next start is quiet however this one ends. A
            // folder that cannot be written is already said by the window; nothing more here.
            WriteEngineNotice(appFolder, engine);
            auto *box
                = new QMessageBox(QMessageBox::Information, QLatin1String(OldEngineNoticeTitle),
                                  OldEngineNoticeText(engine), QMessageBox::Ok, window);
            box->setObjectName(QStringLiteral("OldEngineNotice"));
            box->setWindowModality(Qt::NonModal);
            box->setAttribute(Qt::WA_DeleteOnClose);
            // Seen, but the keys stay in the address box for a person already typing.
            box->setAttribute(Qt::WA_ShowWithoutActivating);
            box->show();
        },
        Qt::QueuedConnection);
}

QString CommandLineText(int argc, char **argv)
{
    // A path with blanks arrives as one argument when quoted and as several when not; joined
    // with single blanks it is the same text either way.
    QStringList parts;
    for (int i = 1; i < argc; ++i)
        parts << QString::fromLocal8Bit(argv[i]);
    return parts.join(QLatin1Char(' '));
}
