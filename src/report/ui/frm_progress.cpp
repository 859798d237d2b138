#include "report/ui/frm_progress.h"

#include <QtCore/QCoreApplication>
#include <QtCore/QMetaObject>
#include <QtWidgets/QLabel>
#include <QtWidgets/QPushButton>
#include <QtWidgets/QVBoxLayout>

#include <memory>

TfrProgressForm::TfrProgressForm(QWidget *parent) : QDialog(parent)
{
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint);
    setModal(true);
    Label1 = new QLabel(this);
    Label1->setAlignment(Qt::AlignCenter);
    Label1->setMinimumWidth(300);
    Button1 = new QPushButton(QStringLiteral("Отмена"), this);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(Label1);
    layout->addWidget(Button1, 0, Qt::AlignHCenter);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    connect(Button1, &QPushButton::clicked, this, &TfrProgressForm::reject);
}

bool TfrProgressForm::Execute(TfrReport &report, const QString &caption, const QString &text,
                              const std::function<void()> &job)
{
    if (m_running) {
        // Already inside a job's window: the job runs in it.
        if (job)
            job();
        return true;
    }
    m_report = &report;
    m_job = job;
    m_error = nullptr;
    setWindowTitle(caption);
    Label1->setText(text);
    QMetaObject::invokeMethod(this, [this] { RunJob(); }, Qt::QueuedConnection);
    const int result = exec();
    m_report = nullptr;
    m_job = nullptr;
    if (m_error) {
        std::exception_ptr error = m_error;
        m_error = nullptr;
        std::rethrow_exception(error);
    }
    return result == QDialog::Accepted;
}

void TfrProgressForm::RunJob()
{
    if (!m_job) {
        done(QDialog::Accepted);
        return;
    }
    m_running = true;
    try {
        m_job();
    } catch (...) {
        // The error reaches the caller of Execute once the window is closed.
        m_error = std::current_exception();
        m_running = false;
        done(QDialog::Rejected);
        return;
    }
    m_running = false;
    // A job that did not close the window itself ends it by its report's state.
    if (isVisible())
        done(m_report && m_report->Cancelled ? QDialog::Rejected : QDialog::Accepted);
}

void TfrProgressForm::SetText(const QString &text) { Label1->setText(text); }

void TfrProgressForm::Close(bool ok)
{
    if (m_running)
        done(ok ? QDialog::Accepted : QDialog::Rejected);
}

void TfrProgressForm::Pump() { QCoreApplication::processEvents(); }

void TfrProgressForm::reject()
{
    if (m_report)
        m_report->Cancelled = true;
}

namespace {
std::unique_ptr<TfrProgressForm> ProgressForm;
TfrProgress *PreviousProgress = nullptr;
} // namespace

void InstallProgressForm()
{
    if (ProgressForm)
        return;
    ProgressForm = std::make_unique<TfrProgressForm>();
    PreviousProgress = SetReportProgress(ProgressForm.get());
}

void RemoveProgressForm()
{
    if (!ProgressForm)
        return;
    SetReportProgress(PreviousProgress);
    ProgressForm.reset();
}
