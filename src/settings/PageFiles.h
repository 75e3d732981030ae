#pragma once

#include <QString>

// The four stored pages, one quoted address each in its own file.
enum class PageSlot { Home, Home2, Home3, Search };

// The names under which a slot's file is read and written; they name one file, since names
// in the application folder are matched without regard to case.
QString PageFileReadName(PageSlot slot);
QString PageFileWriteName(PageSlot slot);

// The slot's address; empty when the file is missing, empty or unreadable.
QString ReadPageFile(const QString &folder, PageSlot slot);

// Replaces the slot's file with the address as its one field. False when it could not be
// written; the file then keeps what it held.
bool WritePageFile(const QString &folder, PageSlot slot, const QString &address);
