#pragma once
// Resistances from fixed flows and depressions. A branch whose resistance is
// 0 and that carries a required flow (Qф) and/or a fixed depression (Hф) gets
// a provisional resistance and, where needed, an added depression; the
// network is solved, the branch's resistance is derived from the flow it got,
// the network is solved again with the derived resistances, and branches
// whose flow or depression then differs from the given one by more than 10
// per cent are reported. Everything works on copies; the caller's tables
// change only through WriteBack.
#include "model/network.h"

#include <QtCore/QString>
#include <QtCore/QStringList>

#include <cstdint>
#include <vector>

// The lists the window shows, numbered as its menu.
enum TFixirList {
    flAll = 1,
    flFixedFlow = 2,
    flFixedDepression = 3,
    flNoInformation = 4,
    flToCompute = 5,
    flNegative = 6,
    flDiscrepant = 7,
};

// The columns of the table; the first three are fixed, R, Qф and Hф editable.
enum TFixirColumn {
    fcNumber, fcStart, fcEnd, fcR, fcQf, fcHf, fcQc, fcHc, fcError,
    FixirColumnCount
};

constexpr double FixirMinR = 0.00001;
constexpr double FixirMaxRc = 999;
constexpr double FixirTolerance = 10;  // per cent; exactly this is still met

struct FixirStudyTables
{
    TTable<double> R{};       // working resistance
    TTable<double> ROpen{};
    TTable<double> Qf{};      // required flow
    TTable<double> Hf{};      // fixed depression
    TTable<double> H{};       // working additional depression
    TTable<double> HOpen{};
    TTable<double> Rc{};      // provisional resistance
    TTable<double> Hadd{};    // added depression of the first solve
    TTable<double> Qc{};      // computed flow, 0 before a calculation
    TTable<double> Error{};   // per cent, -1 before a calculation
    TTable<std::uint8_t> FixedFlow{};
    TTable<std::uint8_t> FixedDepression{};  // fixed depression only
    TTable<std::uint8_t> NoInformation{};
    TTable<std::uint8_t> ToCompute{};        // R is 0 and Rc > 0
    TTable<std::uint8_t> Negative{};
    TTable<std::uint8_t> Discrepant{};
    int AnyCount = 0;
    int FixedFlowCount = 0;
    int FixedDepressionCount = 0;
    int NoInformationCount = 0;
    int ToComputeCount = 0;
    int NegativeCount = 0;
    int DiscrepantCount = 0;
};

// How a calculation ended: the warning to show first (empty for none) and
// the list to show then (0: the list on show).
struct TFixirOutcome
{
    bool Computed = false;  // derived resistances are in the working table
    QString Warning;
    int List = 0;
};

// A text typed into an editable cell.
enum TFixirCellCheck { fcValid, fcOutOfRange, fcNotANumber };
struct TFixirCell
{
    TFixirCellCheck Check = fcValid;
    double Value = 0;
    QString Message;  // the warning of a rejected text
};
// Empty or one to six blanks is 0; a number from 0 to the column's maximum
// (R 9999, Qф and Hф 800) is taken.
TFixirCell CheckFixirCell(int column, const QString &text);

// The colour of a cell from column 3 on.
enum TFixirCellColour { ccWhite, ccGreen, ccRed, ccBlue };

// The per-cent discrepancy of a fixed flow (qf against qc) or of a fixed
// depression (hf against hc).
double FixirDiscrepancy(double given, double computed);

class TFixirStudy
{
public:
    // t: the network whose numbers, ends, surface nodes, names and
    // additional depressions the study reads and solves on.
    explicit TFixirStudy(TNetworkTables &t);

    // Takes working copies of the resistances, required flows and fixed
    // depressions, and of the network's additional depressions.
    void Open(const TTable<double> &r, const TTable<double> &qf, const TTable<double> &hf);
    // The study can run: branches exist, none with a missing end or the same
    // node at both ends, and some draught (Σ|H| ≥ 1).
    bool ContrInform() const;
    void FixirClassify(int b);
    // Classifies every branch and counts the classes.
    void FixirCount();
    // The calculation ("Расчет").
    TFixirOutcome Start();
    // The working resistances, required flows and fixed depressions.
    void WriteBack(TTable<double> &r, TTable<double> &qf, TTable<double> &hf) const;

    // Whether the menu offers a list; the two result lists are never offered.
    bool ListEnabled(int list) const;
    static QString ListName(int list);
    // The branches of a list in ascending number; all branches when it is empty.
    std::vector<int> Rows(int list) const;
    // The nine cell texts of a branch.
    QStringList Row(int b) const;
    TFixirCellColour CellColour(int b, int column) const;
    // Puts an accepted cell value into the working tables and reclassifies.
    void SetCell(int b, int column, double value);

    static const QStringList &Headers();

    FixirStudyTables Tables;

private:
    bool Present(int b) const;
    bool Solve(TTable<double> &q);
    void RestoreWorking(const TTable<double> &r, const TTable<double> &h);

    TNetworkTables &m_t;
    int m_maxBranch = 0;
    int m_maxNode = 0;
};

// The warning of a study that cannot run.
QString FixirTopologyWarning();
