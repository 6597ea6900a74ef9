#pragma once
#include <QIcon>
#include <QImage>

// The program's icon: a book with a check mark, drawn at the sizes needed.
QIcon programIcon();

// The icon drawn at size × size pixels (also without a display: the desktop
// entry's icon files are rendered from it at build time).
QImage programIconImage(int size);
