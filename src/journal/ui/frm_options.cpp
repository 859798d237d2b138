#include "journal/ui/frm_options.h"

#include "platform/exceptions.h"
#include "platform/numbers.h"
#include "journal/ui/dialog_buttons.h"
#include "shell/ui/xq_edit.h"

#include <QtCore/QDir>
#include <QtWidgets/QCheckBox>
#include <QtWidgets/QFileDialog>
#include <QtWidgets/QGroupBox>
#include <QtWidgets/QHBoxLayout>
#include <QtWidgets/QLabel>
#include <QtWidgets/QLineEdit>
#include <QtWidgets/QPushButton>
#include <QtWidgets/QToolButton>
#include <QtWidgets/QTabWidget>
#include <QtWidgets/QVBoxLayout>

#include <climits>

namespace kerstal {

// The form-2 pages need a head line and one more at the least.
constexpr int MinLinesPerPage = 2;

TfrmOptions::TfrmOptions(TVJOptionSet &options, QWidget *parent) : QDialog(parent), m_options(options)
{
    setObjectName(QStringLiteral("frmOptions"));
    setWindowTitle(QStringLiteral("Настройки Вентжурнала"));

    auto *pages = new QTabWidget(this);

    auto *general = new QWidget(pages);
    pages->addTab(general, QStringLiteral("Общие"));
    auto *lines = new QGroupBox(QStringLiteral("Количество строк на листе"), general);
    edLinesPerPage = new TxqEdit(lines);
    edLinesPerPage->setObjectName(QStringLiteral("edLinesPerPage"));
    edLinesPerPage->SetIntRange(MinLinesPerPage, INT_MAX);
    edLinesPerPage->SetIntValue(options.LinesPerPage);
    // The arrows step within 20..100; a typed value is taken as it is.
    const auto arrow = [&](Qt::ArrowType type, const QString &name, int step) {
        auto *button = new QToolButton(lines);
        button->setObjectName(name);
        button->setArrowType(type);
        button->setAutoRepeat(true);
        connect(button, &QToolButton::clicked, this, [this, step] { StepLinesPerPage(step); });
        return button;
    };
    btnLinesUp = arrow(Qt::UpArrow, QStringLiteral("btnLinesUp"), 1);
    btnLinesDown = arrow(Qt::DownArrow, QStringLiteral("btnLinesDown"), -1);
    auto *linesRow = new QHBoxLayout(lines);
    linesRow->addWidget(edLinesPerPage);
    linesRow->addWidget(btnLinesDown);
    linesRow->addWidget(btnLinesUp);
    linesRow->addStretch(1);

    auto *deleting = new QGroupBox(general);
    auto *deletingLayout = new QVBoxLayout(deleting);
    auto *note = new QLabel(QStringLiteral("При удалении вентжурнала из списка можно таже удалить и файл венжурнала"),
                            deleting);
    note->setWordWrap(true);
    deletingLayout->addWidget(note);
    cbDeleteFile = new QCheckBox(QStringLiteral("Да, удалять и файл венжурнала"), deleting);
    cbDeleteFile->setObjectName(QStringLiteral("cbDeleteFile"));
    cbDeleteFile->setChecked(true);
    cbDeleteFile->setEnabled(false);
    deletingLayout->addWidget(cbDeleteFile);

    auto *opening = new QGroupBox(QStringLiteral("Открывать при загрузке последний открытый файл"), general);
    cbOpenLast = new QCheckBox(QStringLiteral("Да, открывать"), opening);
    cbOpenLast->setObjectName(QStringLiteral("cbOpenLast"));
    cbOpenLast->setChecked(options.OpenLast);
    (new QVBoxLayout(opening))->addWidget(cbOpenLast);

    auto *generalLayout = new QVBoxLayout(general);
    generalLayout->addWidget(lines);
    generalLayout->addWidget(deleting);
    generalLayout->addWidget(opening);
    generalLayout->addStretch(1);

    auto *report = new QWidget(pages);
    pages->addTab(report, QStringLiteral("Настройка отчета"));
    auto *templates = new QGroupBox(QStringLiteral("Путь к шаблонам отчетов вентжурнала"), report);
    edTypeVJ = new QLineEdit(options.TypeVJ, templates);
    edTypeVJ->setObjectName(QStringLiteral("edTypeVJ"));
    edTypeVJ->setToolTip(QStringLiteral("Полный путь к файлу отчета"));
    btnTypeVJ = new QPushButton(QStringLiteral("..."), templates);
    btnTypeVJ->setObjectName(QStringLiteral("btnTypeVJ"));
    connect(btnTypeVJ, &QPushButton::clicked, this, &TfrmOptions::BrowseTemplate);
    auto *templatesRow = new QHBoxLayout(templates);
    templatesRow->addWidget(edTypeVJ, 1);
    templatesRow->addWidget(btnTypeVJ);
    auto *reportLayout = new QVBoxLayout(report);
    reportLayout->addWidget(templates);
    reportLayout->addStretch(1);

    QDialogButtonBox *buttons = OkCancelButtons(this, [this] { OkClick(); });
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(pages);
    layout->addWidget(buttons);
}

void TfrmOptions::StepLinesPerPage(int step)
{
    int value = 0;
    if (!TryStrToInt(edLinesPerPage->text(), value))
        value = 50;
    edLinesPerPage->SetIntValue(std::clamp(value + step, 20, 100));
}

void TfrmOptions::BrowseTemplate()
{
    const QString file = QFileDialog::getOpenFileName(this, QString(), edTypeVJ->text(), QStringLiteral("Отчеты (*.frf)"));
    if (!file.isEmpty())
        edTypeVJ->setText(QDir::toNativeSeparators(file));
}

void TfrmOptions::OkClick()
{
    int lines = 0;
    if (!ReadEdits([&] { lines = edLinesPerPage->GetIntValue(); }))
        return;
    m_options.LinesPerPage = lines;
    m_options.TypeVJ = edTypeVJ->text();
    m_options.OpenLast = cbOpenLast->isChecked();
    // What the window works with is what the store holds.
    const bool written = ReadEdits([&] { m_options.Write(); });
    m_options.Read();
    if (written)
        accept();
}

bool EditOptions(TVJOptionSet &options, QWidget *parent)
{
    TfrmOptions dialog(options, parent);
    return dialog.exec() == QDialog::Accepted;
}

} // namespace kerstal
