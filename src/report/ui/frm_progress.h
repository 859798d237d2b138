#pragma once
// The progress window of long report jobs (build, print): a fixed dialog with
// one centred line of text and "Отмена". Once shown it starts its job by a
// queued call, so the job runs inside the dialog's modal loop and pumps the
// queue itself; the job closes the dialog when it ends. Cancel only sets the
// report's Cancelled flag, which the job's loops test.
#include "report/report.h"

#include <QtWidgets/QDialog>

#include <exception>

class QLabel;
class QPushButton;

class TfrProgressForm : public QDialog, public TfrProgress
{
public:
    explicit TfrProgressForm(QWidget *parent = nullptr);

    bool Execute(TfrReport &report, const QString &caption, const QString &text,
                 const std::function<void()> &job) override;
    bool IsShown() const override { return m_running; }
    void SetText(const QString &text) override;
    void Close(bool ok) override;
    void Pump() override;

    QLabel *Label1;
    QPushButton *Button1;

    // The close box and Escape count as Cancel.
    void reject() override;

private:
    void RunJob();
    TfrReport *m_report = nullptr;
    std::function<void()> m_job;
    std::exception_ptr m_error;
    bool m_running = false;
};

// The one progress window of the program's run, made and installed when
// the report engine starts; freed by RemoveProgressForm.
void InstallProgressForm();
void RemoveProgressForm();
