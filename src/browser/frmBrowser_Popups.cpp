// The pop-up window policy: the three modes in the Pop-Ups menu, what a page's request for a
// new window gets, the hand-off to a new instance, and the flashing notice.

#include "browser/frmBrowser.h"

#include "services/UserDialogs.h"
#include "settings/AppFolder.h"
#include "settings/TextFields.h"
#include "webview/WebView.h"

#include <QAction>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QMenu>

namespace {

// An address handed to the next instance that starts without a command line.
const char *const HandoffFileName = "\\Popupurl";
// The address last taken from it, where the file itself could not be emptied.
const char *const HandoffTakenFileName = "\\Popupurl.taken";

} // namespace

QString frmBrowser::HandoffPath() const
{
    return AppFilePath(m_env.appFolder, QString::fromLatin1(HandoffFileName));
}

QString frmBrowser::PendingHandoff() const
{
    const QString address = ReadFirstField(HandoffPath());
    // Taken before by an instance that could not empty the file: not opened at every start.
    const QString taken
        = ReadFirstField(AppFilePath(m_env.appFolder, QString::fromLatin1(HandoffTakenFileName)));
    return !address.isEmpty() && address == taken ? QString() : address;
}

void frmBrowser::HandoffTaken(const QString &address)
{
    if (WriteSingleField(HandoffPath(), QString()))
        return;
    WriteSingleField(AppFilePath(m_env.appFolder, QString::fromLatin1(HandoffTakenFileName)),
                     address);
    CommonDialog1->MessageBox(
        this,
        QStringLiteral("The page handed over by another QuorBrowser window is open, but the file "
                       "%1 cannot be emptied.")
            .arg(QDir::toNativeSeparators(HandoffPath())),
        QLatin1String(ProductTitle));
}

void frmBrowser::RestorePopupMode()
{
    // A stored word that is no mode leaves "Cancel All Windows" checked.
    PopupMode mode;
    if (PopupModeFromWord(settings.PopupMode, &mode))
        SelectPopupMode(mode);
}

void frmBrowser::StorePopupMode()
{
    if (const std::optional<PopupMode> mode
        = PopupModeFromMarks([this](PopupMode m) { return PopupModeItem(m)->isChecked(); }))
        settings.PopupMode = PopupModeWord(*mode);
}

PopupMode frmBrowser::CurrentPopupMode() const
{
    return PopupModeFromMarks([this](PopupMode m) { return PopupModeItem(m)->isChecked(); })
        .value_or(PopupMode::CancelAll);
}

QAction *frmBrowser::PopupModeItem(PopupMode mode) const
{
    for (const PopupModeRow &row : PopupModeRows())
        if (row.mode == mode)
            return mnuPopUps->findChild<QAction *>(QLatin1String(row.item));
    return nullptr;
}

void frmBrowser::SelectPopupMode(PopupMode mode)
{
    for (const PopupModeRow &row : PopupModeRows())
        PopupModeItem(row.mode)->setChecked(row.mode == mode);
}

void frmBrowser::mnuAllow_Click()
{
    SelectPopupMode(PopupMode::AllowParent);
}

void frmBrowser::mnuNoPopUps_Click()
{
    SelectPopupMode(PopupMode::CancelAll);
}

void frmBrowser::mnuAllowIE_Click()
{
    SelectPopupMode(PopupMode::AllowAll);
}

void frmBrowser::brwWebBrowser_NewWindow2(bool *cancel)
{
    const bool fromUser = brwWebBrowser->NewWindowFromUser();
    const NewWindowDecision decision = m_popupGuard.Guard(
        DecideNewWindow(CurrentPopupMode(), txtStatus->text(), brwWebBrowser->NewWindowGesture(),
                        brwWebBrowser->NewWindowAddress()),
        fromUser, !ReadFirstField(HandoffPath()).isEmpty(), m_clock.elapsed(),
        brwWebBrowser->OpenedWindowCount());
    *cancel = decision.cancel;
    if (decision.showNotice)
        CancelNotice();
    if (decision.handOff.isEmpty())
        return;
    if (!WriteSingleField(HandoffPath(), decision.handOff)) {
        CommonDialog1->MessageBox(
            this,
            QStringLiteral("The page could not be opened in a new window, because the file "
                           "%1 cannot be written.")
                .arg(QDir::toNativeSeparators(HandoffPath())),
            QLatin1String(ProductTitle));
        return;
    }
    m_popupGuard.HandedOff(m_clock.elapsed());
    // The address may be handed over again one day; it is no longer one taken before.
    QFile::remove(AppFilePath(m_env.appFolder, QString::fromLatin1(HandoffTakenFileName)));
    StartNewInstance();
}

void frmBrowser::CancelNotice()
{
    lblCanceled->setText(QLatin1String(PopupNotice));
    Timer2.start();
    NoticeFlashCount = 0;
}

void frmBrowser::Timer2_Timer()
{
    if (lblCanceled->text() == QLatin1String(PopupNotice)) {
        lblCanceled->clear();
        cboAddress2->setEditText(QString());
    } else {
        lblCanceled->setText(QLatin1String(PopupNotice));
        cboAddress2->setEditText(QLatin1String(PopupNotice));
    }
    ++NoticeFlashCount;
    if (NoticeFlashCount == 7) {
        Timer2.stop();
        cboAddress2->setEditText(brwWebBrowser->LocationURL());
    }
}
