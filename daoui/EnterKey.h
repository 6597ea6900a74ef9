#pragma once
#include <QObject>
#include <functional>

class QWidget;

// Runs action when Enter or Return is pressed in widget and swallows the key,
// so that the dialog's default button does not act on it as well. The
// filter belongs to the widget.
void OnEnterKey(QWidget* widget, std::function<void()> action);
