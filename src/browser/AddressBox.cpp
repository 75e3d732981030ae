#include "browser/AddressBox.h"

#include <QKeyEvent>
#include <QLineEdit>

AddressBox::AddressBox(QWidget *parent)
    : QComboBox(parent)
{
    setEditable(true);
    setInsertPolicy(QComboBox::NoInsert);
    // What is typed is what navigates: no completion changes it.
    setCompleter(nullptr);
    connect(this, qOverload<int>(&QComboBox::activated), this, [this] {
        if (!m_leaving)
            emit Click();
    });
}

int AddressBox::KeyAscii(const QKeyEvent *event)
{
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter)
        return 13;
    return event->text().isEmpty() ? 0 : event->text().at(0).unicode();
}

void AddressBox::keyPressEvent(QKeyEvent *event)
{
    const int keyAscii = KeyAscii(event);
    emit KeyPress(keyAscii);
    // Enter has done its work in KeyPress; handed on, it would also let the box pick the
    // entry equal to the text.
    if (keyAscii == 13) {
        event->accept();
        return;
    }
    QComboBox::keyPressEvent(event);
}

void AddressBox::focusOutEvent(QFocusEvent *event)
{
    // Leaving the box ends the editing, and QComboBox then selects a matching entry and
    // reports it as activated: that is not a pick.
    m_leaving = true;
    QComboBox::focusOutEvent(event);
    m_leaving = false;
}
