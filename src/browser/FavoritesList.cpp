#include "browser/FavoritesList.h"

#include <QKeyEvent>

FavoritesList::FavoritesList(QWidget *parent)
    : QListWidget(parent)
{
    connect(this, &QListWidget::itemClicked, this,
            [this](QListWidgetItem *item) { emit Choose(row(item)); });
}

void FavoritesList::keyPressEvent(QKeyEvent *event)
{
    const int before = currentRow();
    QListWidget::keyPressEvent(event);
    if (currentRow() != before && currentRow() >= 0)
        emit Choose(currentRow());
}

void FavoritesList::focusOutEvent(QFocusEvent *event)
{
    QListWidget::focusOutEvent(event);
    emit LostFocus();
}
