#pragma once

#include <QIcon>

// The sizes, in pixels, at which the program's icon exists: the window's icon, and the pictures
// installed into the desktop's hicolor icon theme (packaging/), which are drawn by the same
// DrawLogo at build time. One list, so the window, the menu and the task bar show one picture.
inline constexpr int ProgramIconSizes[] = {16, 32, 48, 64, 128, 256};

// The program's icon: the logo the window draws (DrawLogo), at each of ProgramIconSizes. Needs
// no installed file.
QIcon ProgramIcon();
