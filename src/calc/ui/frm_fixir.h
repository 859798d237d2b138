#pragma once
// "Расчет сопротивлений по фиксированным значениям расхода и депресии": the
// table of branches with their resistance, required flow and fixed
// depression, the calculation of the resistances of zero-resistance branches
// from them, and the write-back of the results on closing with saving.
#include "calc/fixir.h"

#include <QtCore/QPointer>
#include <QtWidgets/QDialog>
#include <QtWidgets/QTableWidget>

#include <memory>

class QAction;
class QLabel;
class QMenu;
class QMenuBar;

// The table with a way to finish the edit in progress, so that a command
// validates what the user typed before acting.
class TFixirGrid : public QTableWidget
{
public:
    explicit TFixirGrid(QWidget *parent);
    void CommitEdit();

private:
    QPointer<QWidget> m_editor;  // the cell editor while one is open
};

class TfrmFixir : public QDialog
{
    Q_OBJECT

public:
    TfrmFixir(QWidget *owner, TNetworkTables &t);
    ~TfrmFixir() override;

    TFixirStudy &Study() { return *m_study; }
    int ListKind() const { return m_list; }

    // Validates the cell being edited or current; false when it was rejected.
    bool ValidateCurrentCell();
    // "Расчет".
    void Start();
    // Shows a list (1 to 7) and the colours of its rows.
    void PrintTabl(int list);
    // "Закрыть": asks whether to save.
    void mnuCloseClick();

    QMenuBar *mnuMain;
    QMenu *mnuTables;
    QAction *mnuList[8] = {};  // 1 to 7, as the list kinds
    QAction *mnuCancel;
    QAction *mnuClose;
    QAction *mnuStart;
    QAction *mnuHelp;
    QLabel *lblMessage;
    TFixirGrid *SGTabFixir;

private:
    void UpdateListItems();
    void PrintRow(int row, int b);
    void ItemChanged(QTableWidgetItem *item);
    void CellClicked(int row, int column);
    void RefuseSelection(int row, int column);

    std::unique_ptr<TFixirStudy> m_study;
    TNetworkTables &m_t;
    std::vector<int> m_rows;  // branch of each grid row
    int m_list = flAll;
    bool m_filling = false;
    bool m_valid = true;
};

// Opens the study on the tables r, qf and hf (with the rest of the network
// from t); true when it was closed with saving, which wrote the three tables.
// A network the study cannot run on gives a warning and no window.
bool RunFixedQHResistance(QWidget *Owner, TTable<double> &r, TTable<double> &qf, TTable<double> &hf,
                          TNetworkTables &t = Net);
