#pragma once

#include <QComboBox>

// An address box: an editable drop-down list of the addresses visited. A person goes to an
// address only by pressing Enter or by picking an entry of the list. On its own, QComboBox also
// selects the entry equal to the text when the box loses the focus and reports that as a pick;
// here that is no choice and raises no Click.
class AddressBox : public QComboBox
{
    Q_OBJECT
public:
    explicit AddressBox(QWidget *parent = nullptr);

    // The character code a key press stands for: 13 for Enter (either key), the typed
    // character otherwise, 0 for a key that types nothing.
    static int KeyAscii(const QKeyEvent *event);

signals:
    // Every key pressed while the box has the focus, before the box acts on it.
    void KeyPress(int keyAscii);
    // An entry picked from the list by the person.
    void Click();

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;

private:
    bool m_leaving = false;
};
