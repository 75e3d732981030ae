#include "app/frmSplash.h"

#include "browser/Pictures.h"
#include "info/frmAbout.h"

#include <QFrame>
#include <QGridLayout>
#include <QGuiApplication>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

frmSplash::frmSplash(QWidget *parent)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint)
{
    setObjectName(QStringLiteral("frmSplash"));
    // A window without caption text has no title bar at all: given an empty title, the window
    // system would show the program's name there instead.
    setWindowTitle(QString());

    fraMainFrame = new QFrame(this);
    fraMainFrame->setObjectName(QStringLiteral("fraMainFrame"));
    fraMainFrame->setFrameShape(QFrame::Box);
    auto label = [this](const char *name, const QString &text) {
        auto *l = new QLabel(text, fraMainFrame);
        l->setObjectName(QLatin1String(name));
        return l;
    };
    Image1 = label("Image1", QString());
    Image1->setPixmap(DrawLogo(96));
    lblProductName = label("lblProductName", QString());
    QFont productFont(QStringLiteral("Comic Sans MS"));
    productFont.setPointSize(26);
    productFont.setBold(true);
    lblProductName->setFont(productFont);
    lblCompanyProduct = label("lblCompanyProduct", QStringLiteral("Ombrane Software"));
    lblPlatform = label("lblPlatform", QStringLiteral("Windows 95/98/2000/NT"));
    lblVersion = label("lblVersion", QStringLiteral("Version"));
    lblCompany = label("lblCompany", QStringLiteral("Ombrane Software"));
    lblCopyright = label("lblCopyright", QStringLiteral("All rights reserved."));
    cmdOK = new QPushButton(QStringLiteral("OK"), fraMainFrame);
    cmdOK->setObjectName(QStringLiteral("cmdOK"));
    cmdOK->hide();
    connect(cmdOK, &QPushButton::clicked, this, &frmSplash::cmdOK_Click);

    auto *grid = new QGridLayout(fraMainFrame);
    grid->addWidget(Image1, 0, 0, 3, 1);
    grid->addWidget(lblCompanyProduct, 0, 1);
    grid->addWidget(lblProductName, 1, 1);
    grid->addWidget(lblPlatform, 2, 1, Qt::AlignRight);
    grid->addWidget(lblVersion, 3, 1, Qt::AlignRight);
    grid->addWidget(lblCompany, 4, 0);
    grid->addWidget(lblCopyright, 5, 0, 1, 2);
    grid->addWidget(cmdOK, 5, 1, Qt::AlignRight);
    auto *outer = new QVBoxLayout(this);
    outer->addWidget(fraMainFrame);

    Form_Load();
}

void frmSplash::Form_Load()
{
    lblVersion->setText(frmAbout::VersionText());
    lblProductName->setText(QStringLiteral("QuorBrowser"));
}

void frmSplash::showEvent(QShowEvent *event)
{
    // In the middle of the screen and over the browser window: a window without a frame is
    // otherwise put in a corner, and the main window shown after it covers it.
    adjustSize();
    if (const QScreen *s = screen() ? screen() : QGuiApplication::primaryScreen())
        move(s->availableGeometry().center() - rect().center());
    QWidget::showEvent(event);
}

void frmSplash::ShowFromMenu()
{
    cmdOK->show();
    show();
    raise();
    repaint();
}

void frmSplash::cmdOK_Click()
{
    close();
    cmdOK->hide();
}
