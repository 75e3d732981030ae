#include "info/frmTip.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QVBoxLayout>

const char *const frmTip::OnLoadText
    = "Select buttons to the left to display a definition of the menu preference";

frmTip::frmTip(QWidget *parent)
    : QWidget(parent, Qt::Window)
{
    setObjectName(QStringLiteral("frmTip"));
    setWindowTitle(QStringLiteral("Help Topics"));

    auto button
        = [this](QWidget *box, const char *name, const QString &caption, const QString &text) {
              auto *b = new QPushButton(caption, box);
              b->setObjectName(QLatin1String(name));
              if (!text.isEmpty())
                  connect(b, &QPushButton::clicked, this, [this, text] { Label2->setText(text); });
              return b;
          };

    Frame1 = new QGroupBox(QStringLiteral("Pop-Ups"), this);
    Frame1->setObjectName(QStringLiteral("Frame1"));
    Label1 = new QLabel(QStringLiteral("Did you know..."), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    QFont headingFont = Label1->font();
    headingFont.setBold(true);
    Label1->setFont(headingFont);
    Label2 = new QLabel(this);
    Label2->setObjectName(QStringLiteral("Label2"));
    Label2->setFont(QFont(QStringLiteral("MS Sans Serif")));
    Label2->setWordWrap(true);
    Label2->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    Label2->setMinimumSize(260, 140);

    Command7 = button(Frame1, "Command7", QStringLiteral("Allow Parent"),
                      QStringLiteral("When this is checked it will allow the browser to open "
                                     "subsequent windows. The windows will only open when they "
                                     "are clicked on via a link in the Web page. This option will "
                                     "still stop the pop-ups from materializing."));
    Command6 = button(Frame1, "Command6", QStringLiteral("Cancel All"),
                      QStringLiteral("When this is checked it will not allow the browser to open "
                                     "any subsequent windows or allow the pop-ups from "
                                     "materializing."));
    Command8 = button(Frame1, "Command8", QStringLiteral("Allow All"),
                      QStringLiteral("When this is checked it will allow all windows to open."));
    Command1 = button(this, "Command1", QStringLiteral("Associate"),
                      QStringLiteral("The Associate File form makes setting up file associations "
                                     "easy. This sets files with the extensions you select (*.html "
                                     "*.gif *.jpg and so on) open with QuorBrowser when selected. "
                                     "It will also change the icon displayed to the associated "
                                     "application."));
    Command3 = button(this, "Command3", QStringLiteral("Start Up"),
                      QStringLiteral("Check Home to start the browser with your home page. Check "
                                     "Blank to start the browser with no page displayed."));
    Command4 = button(this, "Command4", QStringLiteral("Extra Extra"),
                      QStringLiteral("The Extra buttons on the browser are simply additional quick "
                                     "access home buttons."));
    cmdDone = button(this, "cmdDone", QStringLiteral("Done"), QString());
    connect(cmdDone, &QPushButton::clicked, this, &frmTip::cmdDone_Click);

    Picture1 = new QLabel(this);
    Picture1->setObjectName(QStringLiteral("Picture1"));
    QPixmap pm(32, 32);
    pm.fill(Qt::transparent);
    {
        QPainter p(&pm);
        p.setRenderHint(QPainter::Antialiasing);
        p.setBrush(QColor(0xf5, 0xd0, 0x42));
        p.setPen(QPen(QColor(0x80, 0x60, 0x10), 2));
        p.drawEllipse(QRectF(6, 2, 20, 20));
        p.fillRect(QRectF(11, 22, 10, 7), QColor(0x80, 0x80, 0x80));
    }
    Picture1->setPixmap(pm);

    auto *popups = new QVBoxLayout(Frame1);
    popups->addWidget(Command7);
    popups->addWidget(Command6);
    popups->addWidget(Command8);
    auto *left = new QVBoxLayout;
    left->addWidget(Frame1);
    left->addWidget(Command1);
    left->addWidget(Command3);
    left->addWidget(Command4);
    left->addStretch();
    left->addWidget(cmdDone);
    auto *heading = new QHBoxLayout;
    heading->addWidget(Picture1);
    heading->addWidget(Label1, 1);
    auto *right = new QVBoxLayout;
    right->addLayout(heading);
    right->addWidget(Label2, 1);
    auto *all = new QHBoxLayout(this);
    all->addLayout(left);
    all->addLayout(right, 1);

    Form_Load();
}

void frmTip::Form_Load()
{
    Label2->setText(QLatin1String(OnLoadText));
}

void frmTip::cmdDone_Click()
{
    close();
}
