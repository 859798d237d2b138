#pragma once
// A window that shows a text in a fixed-width font whose size the user
// chooses, with a button that saves the journal as text.
#include <QtWidgets/QDialog>

#include <functional>

class QLabel;
class QPlainTextEdit;
class QPushButton;
class QSlider;

class TfrmTextPreview : public QDialog
{
    Q_OBJECT

public:
    // saveToFile runs the journal window's Save as with the DOS text filter;
    // without it the save button is hidden.
    TfrmTextPreview(const QString &caption, const QString &text, QWidget *owner,
                    std::function<void()> saveToFile = {});

    QPlainTextEdit *memText;
    QSlider *tbFontSize;
    QLabel *lblFontSize;
    QPushButton *btnClose;
    QPushButton *btnSave;

private:
    void SetFontSize(int points);
};
