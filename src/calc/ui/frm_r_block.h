#pragma once
// "R-Блок": the resistance block's grid over every branch, with the list of
// branches whose information is incomplete.
#include "calc/resistance_block.h"

#include <QtWidgets/QDialog>

class QComboBox;
class QLabel;
class QPushButton;
class QTableWidget;

class TfrmRBlock : public QDialog
{
    Q_OBJECT

public:
    TfrmRBlock(QWidget *owner, TRBlock &block);
    ~TfrmRBlock() override;

    QTableWidget *StringGrid1;
    QLabel *Label1;
    QComboBox *ComboBox1;
    QPushButton *Button2;  // "Отменить"
    QPushButton *Button1;  // "Ok"

    TRBlock &Block() { return m_block; }

    // The grid and the list from the block's copies.
    void FillGrid();
    // The grid lost the focus: the resistances are computed again when a
    // value was typed since they were last computed.
    void StringGrid1Exit();
    void Button1Click();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void CellEdited(int row, int column);
    void FocusChanged(QWidget *old, QWidget *now);
    // The grid or its cell editor.
    bool InGrid(const QWidget *w) const;

    TRBlock &m_block;
    bool m_filling = false;
    // A value was typed and the resistances were not computed since: the
    // cell selected last may be any, a read-only one too.
    bool m_uncomputed = false;
};

extern TfrmRBlock *frmRBlock;

// Opens the block over the arrays (the main window hands the global tables)
// and writes its copies back when it closes; true when closed with OK.
// changed, when given, tells whether the write-back changed the arrays.
bool RunRBlock(QWidget *owner, const TRBlockArrays &arrays, bool *changed = nullptr);
