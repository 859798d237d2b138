#pragma once
// "Усиление проветривания": where a stopping of 1 kilomurgue raises the flow
// of a chosen branch most. The search runs with a progress bar and "Стоп";
// the network's tables are the same after it as before.
#include "calc/vent_boost.h"

#include <QtWidgets/QDialog>

#include <functional>
#include <memory>

class QLabel;
class QProgressBar;
class QPushButton;
class QToolButton;

// Windows of other parts that the boost window opens; unset, their buttons
// stay disabled.
struct TVentBoostHooks
{
    // The branch dialog for a branch, modal, with the caption given and
    // without "Удалить".
    std::function<void(QWidget *owner, int branch, const QString &caption)> EditBranch;
    // The object search as a branch picker: the branch chosen (-1 for none)
    // and the text it names it with.
    std::function<int(QWidget *owner, QString &text)> PickBranch;
};
extern TVentBoostHooks VentBoostHooks;

class TfrmQAccelerate : public QDialog
{
    Q_OBJECT

public:
    // normalAir: while a fire model holds its emergency flows in t, the
    // network with the normal distribution that every search and the target's
    // flow read; unset (or giving nothing) t is read.
    using TNormalAir = std::function<std::unique_ptr<TNetworkTables>()>;
    TfrmQAccelerate(QWidget *owner, TNetworkTables &t, int branchNo, TNormalAir normalAir = {});
    ~TfrmQAccelerate() override;

    // The search, as "Усилить" starts it.
    void RunVentBoost();
    bool Running() const { return m_running; }
    int Target() const { return m_target; }
    const TBoostState &State() const { return m_state; }
    // Worker threads for the trials; 0 takes one per core.
    int Threads = 0;

    QLabel *lblBrNo;
    QLabel *lblOldQ;
    QLabel *lblBestBrNo1;
    QLabel *lblQAccelerated1;
    QLabel *lblBestBrNo2;
    QLabel *lblQAccelerated2;
    QLabel *lblBrProcessed;
    QLabel *lblCurrentQProcessed;  // hidden: the flow of every trial
    QProgressBar *prbCurrBranch;
    QPushButton *btnStop;
    QPushButton *btnClose;
    QToolButton *spbtnBranchProperty;
    QToolButton *spbtnPickBranchFromScheme;
    QToolButton *spbtnPickBranchFromList;

protected:
    void reject() override;

private:
    void btnStopClick();
    void SetRunning(bool running);
    bool ShowTrial(const TBoostState &state, const TBoostTrial &trial);
    void spbtnBranchPropertyClick();
    void spbtnPickBranchFromListClick();
    // The network that is searched: taken anew each time, so that a branch
    // edited from the window counts.
    const TNetworkTables &SearchedTables(std::unique_ptr<TNetworkTables> &normal) const;
    void ShowTargetFlow();

    TNetworkTables &m_t;
    TNormalAir m_normalAir;
    int m_target;
    bool m_running = false;
    TBoostState m_state;
};

// Fills ShowVentBoost (the window for a branch of the program's tables,
// owned by the main window, modal) and the branch dialog's boost command, and
// lets the boost window open the branch dialog. The search reads the normal
// distribution: a fire model is released first, with its question, where
// that may be done; inside the fire window or a table the window searches the
// normal distribution that the model keeps.
void InstallVentBoost();
