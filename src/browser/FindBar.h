#pragma once

#include <QWidget>

class QCheckBox;
class QLabel;
class QLineEdit;
class QToolButton;

// The bar that finds text in the page, under the page while open: a text box, previous and
// next, the count of matches and whether all of them stay marked. Typing looks again from the
// top; Enter goes on, Shift+Enter goes back, Esc closes.
class FindBar : public QWidget
{
    Q_OBJECT
public:
    explicit FindBar(QWidget *parent = nullptr);

    // Opens the bar with its text selected and the keys in it.
    void Open();
    // The answer to the last search: the match marked (0 with none) of total.
    void ShowResult(int active, int total);
    QString Text() const;

    QLineEdit *txtFind = nullptr;
    QToolButton *cmdPrevious = nullptr;
    QToolButton *cmdNext = nullptr;
    QLabel *lblMatches = nullptr;
    QCheckBox *chkHighlight = nullptr;
    QToolButton *cmdCloseFind = nullptr;

signals:
    // Look for text, backwards or forwards from the current match.
    void Find(const QString &text, bool backward, bool highlightAll);
    // The bar closed; the page is to have the keys again.
    void Closed();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void FindAgain(bool backward);
    void Close();
};
