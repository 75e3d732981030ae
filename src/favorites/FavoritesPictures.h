#pragma once

#include <QIcon>
#include <QString>

// The pictures of the favorites editor's buttons, drawn rather than shipped, in the colours of
// the program's toolbar: "Up", "Down", "Delete", "Add" and "Update". An unknown key gives an
// empty picture.
QIcon EditorButtonIcon(const QString &key, int size);
