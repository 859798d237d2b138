#pragma once
// What the branch and node table windows share: the validating grid over
// the table, the filter combo below it with its label, OK and "Отмена", and
// the cell left when the focus goes to another control of the window.
#include "scheme/cell_table.h"

#include <QtWidgets/QDialog>

#include <memory>
#include <vector>

class QComboBox;
class QLabel;
class QPushButton;
class TCellGrid;

class TTableEditorForm : public QDialog
{
    Q_OBJECT

public:
    ~TTableEditorForm() override;

    QComboBox *cmbDiap;
    QLabel *lblDiap;
    QPushButton *OKBtn, *CancelBtn;

    // OK: the cell being edited is left, what changed is handed to the
    // document, and the window closes with OK.
    void OKBtnClick();
    // The filter: an item chosen (its index) or a list typed (−1).
    void cmbDiapChange(int index, const QString &text);

protected:
    TTableEditorForm(std::unique_ptr<TCellTable> table, const QString &caption, const QString &filterLabel, int fixedColumns,
                     const std::vector<int> &widths, QWidget *parent);
    // Fills the combo with the table's filter items and selects index; for −1
    // the text stands in the combo.
    void ShowFilter(int index, const QString &text = {});

    TCellTable &Cells() { return *m_cells; }

    TCellGrid *m_grid;

private:
    void FocusLeftGrid(QWidget *now);

    std::unique_ptr<TCellTable> m_cells;
};
