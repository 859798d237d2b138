#pragma once
// "Расчёт воздухораспределения с учётом естественной тяги": the node and
// branch tables of the natural draught study, the surface temperature, the
// calculation and the question about saving the edits on closing.
#include "calc/natural_draught.h"
#include "calc/ui/frm_fixir.h"

#include <QtGui/QIcon>
#include <QtWidgets/QDialog>
#include <QtWidgets/QHeaderView>

#include <array>
#include <functional>
#include <memory>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class TfrmMain;
class QKeyEvent;

// A header of three text lines per column; the separators between columns
// that share a heading stop below it, so that the heading reads as one cell.
class THetHeader : public QHeaderView
{
public:
    THetHeader(const std::vector<QStringList> &texts, std::vector<int> mergedLines, QWidget *parent);
    QSize sizeHint() const override;

protected:
    void paintSection(QPainter *painter, const QRect &rect, int logicalIndex) const override;

private:
    int MergedLeft(int column) const;
    int MergedRight(int column) const;

    std::vector<QStringList> m_texts;
    std::vector<int> m_merged;  // per column: top lines shared with the next column
};

// A grid whose first columns stay in place when it scrolls sideways: a
// second view over the same items shows them above the scrolling part.
class THetGrid : public TFixirGrid
{
public:
    explicit THetGrid(QWidget *parent);
    void Freeze(int columns, const std::vector<QStringList> &headers, const std::vector<int> &merged);

protected:
    void resizeEvent(QResizeEvent *event) override;
    QModelIndex moveCursor(CursorAction cursorAction, Qt::KeyboardModifiers modifiers) override;
    void scrollTo(const QModelIndex &index, ScrollHint hint = EnsureVisible) override;

private:
    int FrozenWidth() const;
    void UpdateFrozenGeometry();

    QTableView *m_frozen = nullptr;
    int m_columns = 0;
};

class TfrmHet : public QDialog
{
    Q_OBJECT

public:
    TfrmHet(QWidget *owner, TNetworkTables &t = Net, HetStudyTables &s = HetStudy);
    ~TfrmHet() override;

    THetCalc &Calc() { return m_calc; }

    QString ReportsLocation;
    QString MineTitle;

    QLabel *lblTsurf;
    QLineEdit *EdTsurf;
    QCheckBox *ChkStartTemp;
    QLabel *lblNode;
    QComboBox *CmbNode;
    QLabel *lblVet;
    QComboBox *CmbVet;
    THetGrid *TablN;
    THetGrid *TablT;
    QLabel *lblSurfLegend;
    QLabel *lblTurnLegend;
    QPushButton *BtbStart;
    QPushButton *BtbPrint;
    QPushButton *BtbHelp;
    QPushButton *BtbExit;

    // The start-up checks and the first filling of the tables.
    void FormShow();
    void BtbStartClick();
    void BtbExitClick();
    void BtbPrintClick();
    void EdTsurfExit();
    void PrintTablN();
    void PrintTablT();

protected:
    // Only "Закрыть" ends the window, since it asks about the edits first:
    // neither Escape nor a close request from the system does.
    void keyPressEvent(QKeyEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    void FillFilters();
    // Takes a typed number into value, or refuses it with its warning;
    // the cell then shows the value as the table writes it.
    void CellChanged(THetGrid *grid, QTableWidgetItem *item, int row, THetNumber number, double &value,
                     const std::function<QString()> &shown);
    void TablNChanged(QTableWidgetItem *item);
    void TablTChanged(QTableWidgetItem *item);
    bool ValidateCells();

    void ShowLegends();

    THetCalc m_calc;
    std::array<QIcon, 4> m_marks;  // none, surface node, reversal, wrong temperature
    QLabel *m_surfMark = nullptr;
    QLabel *m_turnMark = nullptr;
    std::vector<int> m_nodeRows;
    std::vector<int> m_branchRows;
    bool m_filling = false;
    bool m_valid = true;
};

// The window while it exists.
extern TfrmHet *frmHet;

// The printing of the study's report, filled by the report part of the
// program; "Печать" stays disabled while it is unset.
struct THetWindowHooks
{
    std::function<void(QWidget *owner, const QString &templateFile, THetReport &report)> ShowReport;
};
extern THetWindowHooks HetWindowHooks;

// Copies the tables and solves; a failure is shown and nothing opens (false).
// Otherwise shows the window modally; WrittenBack tells whether the edits
// went back to the tables.
bool RunHet(TfrmMain &mainWindow, bool &WrittenBack);
