#include "associations/frmMain.h"

#include "associations/FileAssociations.h"
#include "forms/DesignedForm.h"
#include "services/UserDialogs.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QLabel>
#include <QPainter>
#include <QPainterPath>
#include <QPushButton>
#include <QScreen>
#include <QStyle>

namespace {

const QString Title = QStringLiteral("Association Wizard");

// One file kind of the wizard, in the order they are processed.
struct Kind
{
    QCheckBox *frmMain::*box;
    const char *extension; // given to CreateAssociation
    const char *dottedExtension; // given to RemoveAssociation
    const char *associated;
    const char *notAssociated;
    const char *unassociated;
    const char *notUnassociated;
};

const Kind Kinds[] = {
    {&frmMain::Check1, "jpg", ".jpg", "Successful *.Jpg Association", "Failed *.Jpg Association ",
     "Successful *.jpg UnAssociation", "Failed *.jpg UnAssociation"},
    {&frmMain::Check2, "gif", ".gif", "Successful *.Gif Association", "Failed *.Gif Association ",
     "Successful *.gif UnAssociation", "Failed *.gif UnAssociation"},
    {&frmMain::Check3, "html", ".html", "Successful *.Html Association",
     "Failed *.Html Association ", "Successful *.html UnAssociation",
     "Failed *.html UnAssociation"},
    {&frmMain::Check4, "htm", ".htm", "Successful *.htm Association", "Failed *.htm Association ",
     "Successful *.htm UnAssociation", "Failed *.htm UnAssociation"},
};

} // namespace

frmMain::frmMain(FileAssociations *associations, UserDialogs *dialogs,
                 const QString &executablePath, QWidget *parent)
    : QWidget(parent,
              Qt::Window | Qt::MSWindowsFixedSizeDialogHint | Qt::CustomizeWindowHint
                  | Qt::WindowTitleHint | Qt::WindowCloseButtonHint)
    , m_associations(associations)
    , m_dialogs(dialogs)
    , m_executablePath(executablePath)
{
    setObjectName(QStringLiteral("frmMain"));
    setWindowTitle(Title);
    Label2 = new QLabel(QStringLiteral("Associate extension with QuorBrowser"), this);
    cmdAssociate = new QPushButton(QStringLiteral("Associate Files"), this);
    Check1 = new QCheckBox(QStringLiteral("Jpg"), this);
    Check2 = new QCheckBox(QStringLiteral("Gif"), this);
    Check3 = new QCheckBox(QStringLiteral("Html"), this);
    Check4 = new QCheckBox(QStringLiteral("Htm"), this);
    cmdclose = new QPushButton(QStringLiteral("Done"), this);
    cmdUnAssociate = new QPushButton(QStringLiteral("UnAssociate"), this);
    Image1 = new QLabel(this);
    Image1->setPixmap(DrawIllustration());
    Image1->setScaledContents(true);
    Image1->setAccessibleName(QStringLiteral("A document opening in QuorBrowser"));

    Label2->setObjectName(QStringLiteral("Label2"));
    cmdAssociate->setObjectName(QStringLiteral("cmdAssociate"));
    Check1->setObjectName(QStringLiteral("Check1"));
    Check2->setObjectName(QStringLiteral("Check2"));
    Check3->setObjectName(QStringLiteral("Check3"));
    Check4->setObjectName(QStringLiteral("Check4"));
    cmdclose->setObjectName(QStringLiteral("cmdclose"));
    cmdUnAssociate->setObjectName(QStringLiteral("cmdUnAssociate"));
    Image1->setObjectName(QStringLiteral("Image1"));
    Label2->setAccessibleName(Label2->text());
    for (QPushButton *b : {cmdAssociate, cmdclose, cmdUnAssociate}) {
        b->setAccessibleName(b->text());
        b->setAutoDefault(false);
    }
    for (QCheckBox *b : {Check1, Check2, Check3, Check4})
        b->setAccessibleName(b->text());

    Place(Label2, 187, 120, 2670, 195);
    Place(cmdAssociate, 120, 1680, 1215, 375);
    Place(Check1, 2160, 480, 735, 195);
    Place(Check2, 2160, 720, 615, 195);
    Place(Check3, 2160, 960, 615, 195);
    Place(Check4, 2160, 1200, 615, 195);
    Place(cmdclose, 915, 2160, 1215, 375);
    Place(cmdUnAssociate, 1680, 1680, 1215, 375);
    Place(Image1, 480, 480, 1095, 975);
    setFixedSize(PixelsForTwips(3045, TwipsPerPixelX(this)),
                 PixelsForTwips(2640, TwipsPerPixelY(this)));
    FitFont();

    setTabOrder(cmdAssociate, Check1);
    setTabOrder(Check1, Check2);
    setTabOrder(Check2, Check3);
    setTabOrder(Check3, Check4);
    setTabOrder(Check4, cmdclose);
    setTabOrder(cmdclose, cmdUnAssociate);

    connect(cmdAssociate, &QPushButton::clicked, this, &frmMain::cmdAssociate_Click);
    connect(cmdUnAssociate, &QPushButton::clicked, this, &frmMain::cmdUnAssociate_Click);
    connect(cmdclose, &QPushButton::clicked, this, &frmMain::cmdclose_Click);
}

int frmMain::TwipsToPixels(int twips, qreal dotsPerInch)
{
    return PixelsForTwips(twips, TwipsPerPixel(dotsPerInch));
}

void frmMain::Place(QWidget *control, int left, int top, int width, int height)
{
    const double x = TwipsPerPixelX(this);
    const double y = TwipsPerPixelY(this);
    control->setGeometry(PixelsForTwips(left, x), PixelsForTwips(top, y), PixelsForTwips(width, x),
                         PixelsForTwips(height, y));
}

void frmMain::FitFont()
{
    // The lengths were made for a small, narrow type: the largest size from 8 points down at
    // which every caption fits its control, narrower letters where the family has them.
    const int indicator = style()->pixelMetric(QStyle::PM_IndicatorWidth, nullptr, Check1)
        + style()->pixelMetric(QStyle::PM_CheckBoxLabelSpacing, nullptr, Check1);
    QFont type = font();
    type.setStretch(QFont::SemiCondensed);
    setFont(FitFontSize(type, 8, 6, 0.5, [&](const QFont &f) {
        const QFontMetrics metrics(f);
        bool fits = metrics.horizontalAdvance(Label2->text()) <= Label2->width();
        for (QCheckBox *box : {Check1, Check2, Check3, Check4})
            fits = fits && indicator + metrics.horizontalAdvance(box->text()) <= box->width();
        for (QPushButton *button : {cmdAssociate, cmdclose, cmdUnAssociate})
            fits = fits && metrics.horizontalAdvance(button->text()) < button->width();
        return fits;
    }));
}

QPixmap frmMain::DrawIllustration()
{
    QPixmap picture(211, 190);
    picture.fill(Qt::transparent);
    QPainter p(&picture);
    p.setRenderHint(QPainter::Antialiasing);
    const QPen outline(QColor(40, 40, 60), 2);

    // A document with a folded corner: a picture and lines of text.
    QPainterPath page;
    page.moveTo(14, 24);
    page.lineTo(92, 24);
    page.lineTo(114, 46);
    page.lineTo(114, 166);
    page.lineTo(14, 166);
    page.closeSubpath();
    p.setPen(outline);
    p.setBrush(Qt::white);
    p.drawPath(page);
    p.setBrush(QColor(210, 210, 220));
    p.drawPolygon(QPolygonF({QPointF(92, 24), QPointF(92, 46), QPointF(114, 46)}));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(150, 200, 240));
    p.drawRect(26, 54, 48, 34);
    p.setBrush(QColor(80, 160, 80));
    p.drawPolygon(QPolygonF(
        {QPointF(26, 88), QPointF(44, 66), QPointF(58, 80), QPointF(64, 74), QPointF(74, 88)}));
    p.setPen(QPen(QColor(150, 150, 160), 3, Qt::SolidLine, Qt::RoundCap));
    for (int y = 102; y <= 150; y += 12)
        p.drawLine(26, y, y == 150 ? 72 : 102, y);

    // An arrow from the document to the browser.
    const QColor blue(30, 70, 160);
    p.setPen(QPen(blue, 6, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(122, 95, 142, 95);
    p.setPen(Qt::NoPen);
    p.setBrush(blue);
    p.drawPolygon(QPolygonF({QPointF(140, 83), QPointF(154, 95), QPointF(140, 107)}));

    // The web: a globe.
    const QPointF centre(182, 95);
    p.setPen(QPen(blue, 2));
    p.setBrush(QColor(170, 210, 250));
    p.drawEllipse(centre, 25, 25);
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(centre, 11, 25);
    p.drawLine(QPointF(157, 95), QPointF(207, 95));
    p.drawLine(QPointF(182, 70), QPointF(182, 120));
    p.drawLine(QPointF(161, 82), QPointF(203, 82));
    p.drawLine(QPointF(161, 108), QPointF(203, 108));
    return picture;
}

void frmMain::Form_Load()
{
    m_loaded = true;
    // The wizard does not read what is associated now: every load starts with nothing ticked.
    for (const Kind &kind : Kinds)
        (this->*kind.box)->setChecked(false);
    // The whole window, its frame included, in the middle of the screen.
    const QRect available = screen()->availableGeometry();
    const QSize frame = frameGeometry().size();
    move(available.x() + (available.width() - frame.width()) / 2,
         available.y() + (available.height() - frame.height()) / 2);
}

void frmMain::cmdAssociate_Click()
{
    for (const Kind &kind : Kinds) {
        if (!(this->*kind.box)->isChecked())
            continue;
        const bool ok
            = m_associations->CreateAssociation(m_executablePath, QLatin1String(kind.extension));
        m_dialogs->MessageBox(this, QLatin1String(ok ? kind.associated : kind.notAssociated),
                              Title);
    }
    m_associations->NotifyAssociationChange();
}

void frmMain::cmdUnAssociate_Click()
{
    for (const Kind &kind : Kinds) {
        if (!(this->*kind.box)->isChecked())
            continue;
        const bool ok = m_associations->RemoveAssociation(QLatin1String(kind.dottedExtension));
        m_dialogs->MessageBox(this, QLatin1String(ok ? kind.unassociated : kind.notUnassociated),
                              Title);
    }
    m_associations->NotifyAssociationChange();
}

void frmMain::cmdclose_Click()
{
    close();
}

void frmMain::showEvent(QShowEvent *event)
{
    if (!m_loaded)
        Form_Load();
    QWidget::showEvent(event);
}

void frmMain::closeEvent(QCloseEvent *event)
{
    m_loaded = false;
    QWidget::closeEvent(event);
}
