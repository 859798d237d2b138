#pragma once
// The properties of a PLA balloon ("Свойства"): its position number, with
// "Удалить", "Отмена" and "OK".
#include "model/scheme_overlays.h"
#include "scheme/scheme_objects.h"

#include <QtWidgets/QDialog>

class QLineEdit;
class QPushButton;

class TfrmSymbolsProperty : public QDialog
{
    Q_OBJECT

public:
    explicit TfrmSymbolsProperty(QWidget *parent = nullptr);

    // Shows the balloon's number.
    void CreateFor(TPLABaloon &balloon, const TNetworkTables &tables);
    // The balloon edited modally: OK has set its number and colour.
    static TObjectEditResult Edit(TPLABaloon &balloon, const TNetworkTables &tables, QWidget *parent = nullptr);

    QLineEdit *xqeText;
    QPushButton *btnDelete, *btnCancel, *btnOK;

    // An entry that is no integer is shown and keeps the dialog open.
    void btnOKClick();
    void btnDeleteClick();

private:
    TPLABaloon *m_balloon = nullptr;
    const TNetworkTables *m_tables = nullptr;
};
