#pragma once
// The journal window's find dialog: a text, searched downwards from the
// selected record each time the user asks. It stays open beside the window.
#include <QtWidgets/QDialog>

#include <functional>

class QLineEdit;
class QPushButton;

class TfrmFind : public QDialog
{
    Q_OBJECT

public:
    TfrmFind(std::function<void(const QString &)> find, QWidget *parent);

    QLineEdit *edText;
    QPushButton *btnFind;
    QPushButton *btnHelp;

private:
    std::function<void(const QString &)> m_find;
};
