#pragma once
// The record source part of the band data-source dialogs: the source list
// ("[Нет]", "Виртуальный", the record sources of the forms), the record
// count and the rule between them.
#include <QtWidgets/QGroupBox>

class QComboBox;
class QLabel;
class QLineEdit;

class TSourcePanel : public QGroupBox
{
public:
    TSourcePanel(const QString &title, QWidget *parent);
    // A text from 1..9 on is a record count; any other selects its entry,
    // or "[Нет]" when there is none.
    void Show(const QString &source);
    QString Source() const;

    QComboBox *CB1;
    QLineEdit *Edit1;
    // The user chose or typed since the source was shown.
    bool Changed = false;

private:
    void Enable();
    QLabel *m_label;
};
