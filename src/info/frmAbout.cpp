#include "info/frmAbout.h"

#include "Version.h"
#include "info/ProductPicture.h"
#include "services/SystemInformation.h"
#include "webview/WebView.h"

#include <QEvent>
#include <QFrame>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

QFrame *Line(QWidget *parent)
{
    auto *line = new QFrame(parent);
    line->setObjectName(QStringLiteral("Line1"));
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Sunken);
    return line;
}

} // namespace

QString frmAbout::VersionText()
{
    return QStringLiteral("Version %1.%2.%3")
        .arg(QUORBROWSER_VERSION_MAJOR)
        .arg(QUORBROWSER_VERSION_MINOR)
        .arg(QUORBROWSER_VERSION_PATCH);
}

frmAbout::frmAbout(WebView *view, const QString &supportMail, SystemInformation *sysInfo,
                   const QString &engineVersion, QWidget *parent)
    : QWidget(parent, Qt::Window)
    , m_view(view)
    , m_sysInfo(sysInfo)
{
    setObjectName(QStringLiteral("frmAbout"));
    setWindowTitle(QStringLiteral("About"));

    Image1 = new QLabel(this);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setPixmap(DrawLogo(48));
    lblTitle = new QLabel(QStringLiteral("Application Title"), this);
    lblTitle->setObjectName(QStringLiteral("lblTitle"));
    QFont titleFont = lblTitle->font();
    titleFont.setPointSizeF(titleFont.pointSizeF() * 1.5);
    titleFont.setBold(true);
    lblTitle->setFont(titleFont);
    lblVersion = new QLabel(QStringLiteral("Version"), this);
    lblVersion->setObjectName(QStringLiteral("lblVersion"));
    // The engine a page runs on belongs with the program's version; the window's own texts stay
    // as designed, so it shows when the pointer rests on the version, and to screen readers.
    lblVersion->setToolTip(engineVersion);
    lblVersion->setAccessibleDescription(engineVersion);
    lblDescription = new QLabel(
        QStringLiteral("This program is an Internet Browser for navigating the World Wide Web "
                       "(WWW). It is designed to defeat Pop-Up windows by not allowing the "
                       "subsequent window(s) to be generated."),
        this);
    lblDescription->setObjectName(QStringLiteral("lblDescription"));
    lblDescription->setWordWrap(true);
    lblMailTo = new QLabel(supportMail, this);
    lblMailTo->setObjectName(QStringLiteral("lblMailTo"));
    lblMailTo->setToolTip(QStringLiteral("Click to send email"));
    lblMailTo->setCursor(Qt::PointingHandCursor);
    QFont mailFont = lblMailTo->font();
    mailFont.setUnderline(true);
    lblMailTo->setFont(mailFont);
    lblMailTo->installEventFilter(this);
    lblDisclaimer = new QLabel(
        QStringLiteral("Warning: this program is protected by copyright law. Copying or "
                       "distributing it, or any part of it, without permission is not "
                       "allowed."),
        this);
    lblDisclaimer->setObjectName(QStringLiteral("lblDisclaimer"));
    lblDisclaimer->setWordWrap(true);
    cmdOK = new QPushButton(QStringLiteral("OK"), this);
    cmdOK->setObjectName(QStringLiteral("cmdOK"));
    cmdOK->setDefault(true);
    cmdSysInfo = new QPushButton(QStringLiteral("&System Info..."), this);
    cmdSysInfo->setObjectName(QStringLiteral("cmdSysInfo"));

    auto *grid = new QGridLayout(this);
    grid->addWidget(Image1, 0, 0, 3, 1, Qt::AlignTop);
    grid->addWidget(lblTitle, 0, 1);
    grid->addWidget(lblVersion, 1, 1);
    grid->addWidget(lblDescription, 2, 1);
    grid->addWidget(lblMailTo, 3, 1);
    grid->addWidget(Line(this), 4, 0, 1, 3);
    grid->addWidget(lblDisclaimer, 5, 0, 1, 2);
    auto *buttons = new QVBoxLayout;
    buttons->addWidget(cmdOK);
    buttons->addWidget(cmdSysInfo);
    buttons->addStretch();
    grid->addLayout(buttons, 0, 2, 4, 1);
    setFixedWidth(480);

    connect(cmdOK, &QPushButton::clicked, this, &frmAbout::cmdOK_Click);
    connect(cmdSysInfo, &QPushButton::clicked, this, &frmAbout::cmdSysInfo_Click);
    Form_Load();
}

void frmAbout::Form_Load()
{
    lblVersion->setText(VersionText());
    lblTitle->setText(QStringLiteral("QuorBrowser"));
}

void frmAbout::cmdOK_Click()
{
    close();
}

void frmAbout::lblMailTo_Click()
{
    // The mail program opens a new message; the page shown stays.
    if (m_view)
        m_view->Navigate(QStringLiteral("mailto:") + lblMailTo->text());
}

bool frmAbout::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == lblMailTo && event->type() == QEvent::MouseButtonRelease)
        lblMailTo_Click();
    return QWidget::eventFilter(watched, event);
}

void frmAbout::cmdSysInfo_Click()
{
    // The tool, or the message that there is none.
    if (m_sysInfo)
        m_sysInfo->StartSysInfo(this);
}
