#include "scheme/ui/table_editor_form.h"

#include "platform/prompt.h"
#include "scheme/cell_table.h"
#include "scheme/ui/cell_grid.h"

#include <QtWidgets/QApplication>
#include <QtWidgets/QComboBox>
#include <QtWidgets/QHBoxLayout>
#include <QtWidgets/QLabel>
#include <QtWidgets/QLineEdit>
#include <QtWidgets/QPushButton>
#include <QtWidgets/QVBoxLayout>

TTableEditorForm::TTableEditorForm(std::unique_ptr<TCellTable> table, const QString &caption,
                                   const QString &filterLabel, int fixedColumns, const std::vector<int> &widths,
                                   QWidget *parent)
    : QDialog(parent), m_cells(std::move(table))
{
    setWindowTitle(caption);
    m_grid = new TCellGrid(this);
    m_grid->SetTable(m_cells.get(), fixedColumns);
    for (int c = 0; c < static_cast<int>(widths.size()); ++c)
        m_grid->setColumnWidth(c, widths[static_cast<std::size_t>(c)]);
    m_grid->setContextMenuPolicy(Qt::CustomContextMenu);

    lblDiap = new QLabel(filterLabel, this);
    cmbDiap = new QComboBox(this);
    cmbDiap->setObjectName(QStringLiteral("cmbDiap"));
    cmbDiap->setEditable(true);
    cmbDiap->setInsertPolicy(QComboBox::NoInsert);
    cmbDiap->setMinimumWidth(200);
    lblDiap->setBuddy(cmbDiap);
    OKBtn = new QPushButton(QStringLiteral("OK"), this);
    OKBtn->setObjectName(QStringLiteral("OKBtn"));
    CancelBtn = new QPushButton(LookupText(QStringLiteral("Отмена")), this);
    CancelBtn->setObjectName(QStringLiteral("CancelBtn"));
    // Enter finishes a cell in the grid; it does not close the window.
    OKBtn->setAutoDefault(false);
    CancelBtn->setAutoDefault(false);

    auto *bottom = new QHBoxLayout;
    bottom->addWidget(lblDiap);
    bottom->addWidget(cmbDiap, 1);
    bottom->addStretch();
    bottom->addWidget(OKBtn);
    bottom->addWidget(CancelBtn);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_grid, 1);
    layout->addLayout(bottom);

    connect(OKBtn, &QPushButton::clicked, this, &TTableEditorForm::OKBtnClick);
    connect(CancelBtn, &QPushButton::clicked, this, &QDialog::reject);
    connect(cmbDiap, &QComboBox::activated, this, [this](int index) { cmbDiapChange(index, cmbDiap->itemText(index)); });
    connect(cmbDiap->lineEdit(), &QLineEdit::textEdited, this, [this](const QString &text) { cmbDiapChange(-1, text); });
    connect(qApp, &QApplication::focusChanged, this, [this](QWidget *old, QWidget *now) {
        if (old && (old == m_grid || m_grid->isAncestorOf(old)))
            FocusLeftGrid(now);
    });
}

TTableEditorForm::~TTableEditorForm()
{
    // The grid shows the table, which goes before the window's children.
    disconnect(qApp, nullptr, this, nullptr);
    delete m_grid;
}

void TTableEditorForm::ShowFilter(int index, const QString &text)
{
    const QSignalBlocker block(cmbDiap);
    cmbDiap->clear();
    cmbDiap->addItems(m_cells->FilterItems());
    cmbDiap->setCurrentIndex(index);
    if (index < 0)
        cmbDiap->setEditText(text);
}

void TTableEditorForm::FocusLeftGrid(QWidget *now)
{
    // The grid's own message boxes, and Cancel, which puts everything back,
    // do not leave the cell.
    if (!now || now == CancelBtn || !isAncestorOf(now) || m_grid->Leaving() || m_grid->isAncestorOf(now))
        return;
    m_grid->LeaveCurrent();
}

void TTableEditorForm::OKBtnClick()
{
    // Leaving the grid for the button has checked the cell already, unless
    // it was typed into since.
    if (m_grid->HasFocusWithin() || m_cells->Edited)
        m_grid->LeaveCurrent();
    m_cells->Confirm(false);
    accept();
}

void TTableEditorForm::cmbDiapChange(int index, const QString &text)
{
    m_cells->Filter(text, index);
    m_grid->Reload();
}
