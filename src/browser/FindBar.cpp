#include "browser/FindBar.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QToolButton>

FindBar::FindBar(QWidget *parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("findBar"));
    setAutoFillBackground(true);
    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(4, 2, 4, 2);
    layout->setSpacing(4);

    auto *label = new QLabel(QStringLiteral("Find:"), this);
    txtFind = new QLineEdit(this);
    txtFind->setObjectName(QStringLiteral("txtFind"));
    txtFind->setAccessibleName(QStringLiteral("Find in page"));
    txtFind->installEventFilter(this);
    label->setBuddy(txtFind);
    cmdPrevious = new QToolButton(this);
    cmdPrevious->setObjectName(QStringLiteral("cmdPrevious"));
    cmdPrevious->setText(QStringLiteral("Previous"));
    cmdPrevious->setToolTip(QStringLiteral("Previous match (Shift+Enter)"));
    cmdNext = new QToolButton(this);
    cmdNext->setObjectName(QStringLiteral("cmdNext"));
    cmdNext->setText(QStringLiteral("Next"));
    cmdNext->setToolTip(QStringLiteral("Next match (Enter)"));
    chkHighlight = new QCheckBox(QStringLiteral("Highlight all"), this);
    chkHighlight->setObjectName(QStringLiteral("chkHighlight"));
    chkHighlight->setChecked(true);
    lblMatches = new QLabel(this);
    lblMatches->setObjectName(QStringLiteral("lblMatches"));
    cmdCloseFind = new QToolButton(this);
    cmdCloseFind->setObjectName(QStringLiteral("cmdCloseFind"));
    cmdCloseFind->setText(QStringLiteral("Close"));
    cmdCloseFind->setToolTip(QStringLiteral("Close the find bar (Esc)"));
    for (QWidget *w : {static_cast<QWidget *>(cmdPrevious), static_cast<QWidget *>(cmdNext),
                       static_cast<QWidget *>(chkHighlight), static_cast<QWidget *>(cmdCloseFind)})
        w->setFocusPolicy(Qt::NoFocus); // the keys stay in the text box

    layout->addWidget(label);
    layout->addWidget(txtFind, 1);
    layout->addWidget(cmdPrevious);
    layout->addWidget(cmdNext);
    layout->addWidget(chkHighlight);
    layout->addWidget(lblMatches);
    layout->addStretch();
    layout->addWidget(cmdCloseFind);

    // Each change of the text looks again from the top of the page.
    connect(txtFind, &QLineEdit::textChanged, this, [this] { FindAgain(false); });
    connect(cmdNext, &QToolButton::clicked, this, [this] { FindAgain(false); });
    connect(cmdPrevious, &QToolButton::clicked, this, [this] { FindAgain(true); });
    connect(chkHighlight, &QCheckBox::toggled, this, [this] { FindAgain(false); });
    connect(cmdCloseFind, &QToolButton::clicked, this, [this] { Close(); });
    hide();
}

void FindBar::Open()
{
    const bool wasHidden = isHidden();
    show();
    txtFind->setFocus(Qt::ShortcutFocusReason);
    txtFind->selectAll();
    // The marks come back with the bar.
    if (wasHidden && !txtFind->text().isEmpty())
        FindAgain(false);
}

QString FindBar::Text() const
{
    return txtFind->text();
}

void FindBar::ShowResult(int active, int total)
{
    if (txtFind->text().isEmpty())
        lblMatches->clear();
    else if (total == 0)
        lblMatches->setText(QStringLiteral("No matches"));
    else
        lblMatches->setText(QStringLiteral("%1 of %2").arg(active).arg(total));
}

void FindBar::FindAgain(bool backward)
{
    if (txtFind->text().isEmpty())
        lblMatches->clear();
    emit Find(txtFind->text(), backward, chkHighlight->isChecked());
}

void FindBar::Close()
{
    if (isHidden())
        return;
    hide();
    lblMatches->clear();
    emit Find(QString(), false, true); // the marks go with the bar
    emit Closed();
}

bool FindBar::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == txtFind && event->type() == QEvent::KeyPress) {
        const auto *key = static_cast<QKeyEvent *>(event);
        switch (key->key()) {
        case Qt::Key_Return:
        case Qt::Key_Enter:
            FindAgain(key->modifiers() & Qt::ShiftModifier);
            return true;
        case Qt::Key_Escape:
            Close();
            return true;
        default:
            break;
        }
    }
    return QWidget::eventFilter(watched, event);
}
