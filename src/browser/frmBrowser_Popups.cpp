// What a page's request for a new window gets, the hand-off to a new instance, and the flashing
// notice. The rule itself is PopupGuard's; the window passes it what it knows and obeys.

#include "browser/frmBrowser.h"

#include "services/UserDialogs.h"
#include "settings/PopupHandoff.h"
#include "webview/WebView.h"

#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>

void frmBrowser::brwWebBrowser_NewWindow2(const WindowRequest &request, WindowAnswer *answer)
{
    const NewWindowDecision decision = m_popupGuard.Decide(
        CurrentPopupMode(), request, HandoffWaiting(m_env.appFolder), m_clock.elapsed());
    answer->cancel = decision.cancel;
    answer->siteUnheard = decision.siteUnheard;
    if (decision.showNotice)
        CancelNotice();
    if (decision.handOff.isEmpty())
        return;
    if (!GiveHandoff(m_env.appFolder, decision.handOff)) {
        CommonDialog1->MessageBox(
            this,
            QStringLiteral("The page could not be opened in a new window, because the file "
                           "%1 cannot be written.")
                .arg(QDir::toNativeSeparators(HandoffPath(m_env.appFolder))),
            QLatin1String(ProductTitle));
        return;
    }
    m_popupGuard.HandedOff(m_clock.elapsed());
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
