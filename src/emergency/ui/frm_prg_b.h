#pragma once
// The progress window of the stability studies: a bar and "Отмена", on top
// of everything, centred on the screen, without a close box. While it is up
// the rest of the program takes no input, so that nothing changes the
// network under the loop; the loop pumps the events after every item.
#include "emergency/stability.h"

#include <QtWidgets/QDialog>

class QProgressBar;
class QPushButton;

class TfrmPrgB : public QDialog, public TStudyProgress
{
    Q_OBJECT

public:
    explicit TfrmPrgB(QWidget *owner, const QString &caption);
    ~TfrmPrgB() override;

    QProgressBar *ProgressBar1;
    QPushButton *Button1;
    // 1 once "Отмена" was pressed.
    int CancelFlag = 0;

    // TStudyProgress
    void SetMax(int max) override;
    void Step() override;
    bool Cancelled() const override { return CancelFlag != 0; }

public slots:
    // Escape does not close it; only "Отмена" stops the study.
    void reject() override {}
};

// The window while a study runs.
extern TfrmPrgB *frmPrgB;
