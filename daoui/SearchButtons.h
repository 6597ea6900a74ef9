#pragma once
// The buttons and keys of the search dialogs: "Do Search" searches and shows
// an error of the dataset while the dialog stays open, "Ok" searches and then
// closes (only when the search raised nothing), "Cancel" closes.
#include <functional>

class QAbstractButton;
class QDialog;
class QWidget;

void ConnectSearchButtons(QDialog& dialog, QAbstractButton* doSearch, QAbstractButton* ok, QAbstractButton* cancel,
                          const std::function<void()>& search);

// Enter or Return in widget searches as "Do Search" does; the key is
// swallowed, so that the dialog's default button does not act on it as well.
void SearchOnEnter(QWidget* widget, const std::function<void()>& search);
