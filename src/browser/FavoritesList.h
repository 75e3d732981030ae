#pragma once

#include <QListWidget>

// The favorites pop-up list. A person chooses a favorite by clicking its name or by moving the
// selection with the keyboard while the list is open; the list getting the focus (which makes
// its first row current) chooses nothing.
class FavoritesList : public QListWidget
{
    Q_OBJECT
public:
    explicit FavoritesList(QWidget *parent = nullptr);

signals:
    void Choose(int row);
    void LostFocus();

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;
};
