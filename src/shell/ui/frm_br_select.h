#pragma once
// "Отобрать ветви": a set of branches chosen by a criterion (every branch,
// or the branches of some types), returned as one flag per branch number.
#include <QtWidgets/QDialog>

#include <vector>

class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QRadioButton;

class TfrmBrSelect : public QDialog
{
    Q_OBJECT

public:
    explicit TfrmBrSelect(QWidget *parent = nullptr);

    // Modal; on OK the flags (index = branch number) are filled and true is
    // returned, else they stay untouched.
    bool SelectBranches(std::vector<bool> &flags);

    QRadioButton *rbAll, *rbByTypes, *rbNumbers;
    QListWidget *lbBrTypes;
    QLineEdit *edNumbers;
    QLabel *lblNumbersHint;
    QPushButton *OKBtn, *CancelBtn;

    // The OK handling on the flags.
    void ApplySelection(std::vector<bool> &flags) const;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
};
