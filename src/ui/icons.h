// The program's pictures: the toolbar icons and the application icon, drawn with QPainter so
// that they stay sharp at every size and need no image files next to the program.
#pragma once

#include <QIcon>
#include <QImage>
#include <QString>

namespace tq::ui {

// The icon of the toolbar button with key `key` ("FileNew", "FileOpen", "FileSave", "Read",
// "Write", "Com", "Print", "Help", "Exit"; compared as exact text), with pixmaps of 16, 24, 32
// and 48 pixels. Any other key gives a null icon.
QIcon ToolbarIcon(const QString& key);

// The application's own picture, a handheld radio sending, with pixmaps of 16 to 96 pixels;
// the about box and the main window's title bar use it.
QIcon ApplicationIcon();
// The same picture as an image of `size` pixels square (the icons an installation ships).
QImage ApplicationImage(int size);

}  // namespace tq::ui
