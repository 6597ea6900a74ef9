#pragma once
#include <QIcon>

// The program's icon: a book with a check mark, drawn at the sizes needed.
QIcon programIcon();
