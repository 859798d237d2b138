#include "shell/ui/frm_mine_layers.h"

#include "model/branch_values.h"
#include "platform/prompt.h"
#include "platform/ui/qt_canvas.h"
#include "scheme/ui/named_controls.h"
#include "shell/main_commands.h"
#include "shell/scheme_storage.h"
#include "shell/ui/frm_main.h"

#include <QtGui/QAction>
#include <QtWidgets/QFrame>
#include <QtWidgets/QGridLayout>
#include <QtWidgets/QHBoxLayout>
#include <QtWidgets/QLabel>
#include <QtWidgets/QLineEdit>
#include <QtWidgets/QListWidget>
#include <QtWidgets/QPushButton>
#include <QtWidgets/QVBoxLayout>

TfrmMineLayers::TfrmMineLayers(TfrmMain &mainWindow) : QDialog(&mainWindow), m_main(mainWindow)
{
    setObjectName(QStringLiteral("frmMineLayers"));
    setWindowTitle(LookupText(QStringLiteral("Пласты")));

    auto *label = new QLabel(LookupText(QStringLiteral("Список имеющихся пластов")), this);
    cbxMineLayers = new QLineEdit(this);
    cbxMineLayers->setObjectName(QStringLiteral("cbxMineLayers"));
    label->setBuddy(cbxMineLayers);
    lbMineLayers = new QListWidget(this);
    lbMineLayers->setObjectName(QStringLiteral("lbMineLayers"));
    shpLayerColor = new QFrame(this);
    shpLayerColor->setObjectName(QStringLiteral("shpLayerColor"));
    shpLayerColor->setFrameShape(QFrame::Box);
    shpLayerColor->setFixedSize(48, 24);
    shpLayerColor->setAutoFillBackground(true);
    const auto button = [this](const char *name, const char *caption) {
        return NamedButton(this, name, LookupText(QString::fromUtf8(caption)));
    };
    btnAddLayer = button("btnAddLayer", "Добавить");
    btnDeleteLayer = button("btnDeleteLayer", "Удалить");
    btnChangeLayerColor = button("btnChangeLayerColor", "Изменить...");
    btnOk = button("btnOk", "OK");
    btnOk->setDefault(true);
    btnCancel = button("btnCancel", "Отмена");

    auto *right = new QVBoxLayout;
    right->addWidget(btnAddLayer);
    right->addWidget(btnDeleteLayer);
    right->addSpacing(12);
    right->addWidget(new QLabel(LookupText(QStringLiteral("Цвет:")), this));
    right->addWidget(shpLayerColor);
    right->addWidget(btnChangeLayerColor);
    right->addStretch();
    auto *left = new QVBoxLayout;
    left->addWidget(label);
    left->addWidget(cbxMineLayers);
    left->addWidget(lbMineLayers, 1);
    auto *top = new QHBoxLayout;
    top->addLayout(left, 1);
    top->addLayout(right);
    auto *bottom = new QHBoxLayout;
    bottom->addStretch();
    bottom->addWidget(btnOk);
    bottom->addWidget(btnCancel);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(top, 1);
    layout->addLayout(bottom);

    const std::vector<TLayer> &layers = m_main.Storage().Doc.Layers;
    for (std::size_t i = 0; i < layers.size(); ++i)
        m_entries.push_back({layers[i], int(i)});
    FillList();
    ShowColor(m_color);
    if (!m_entries.empty())
        lbMineLayers->setCurrentRow(0);
    cbxMineLayersClick();

    connect(lbMineLayers, &QListWidget::currentRowChanged, this, &TfrmMineLayers::cbxMineLayersClick);
    connect(btnAddLayer, &QPushButton::clicked, this, &TfrmMineLayers::btnAddLayerClick);
    connect(btnDeleteLayer, &QPushButton::clicked, this, &TfrmMineLayers::btnDeleteLayerClick);
    connect(btnChangeLayerColor, &QPushButton::clicked, this, &TfrmMineLayers::btnChangeLayerColorClick);
    connect(btnOk, &QPushButton::clicked, this, &TfrmMineLayers::btnOkClick);
    connect(btnCancel, &QPushButton::clicked, this, &QDialog::reject);
}

void TfrmMineLayers::FillList()
{
    const QSignalBlocker block(lbMineLayers);
    lbMineLayers->clear();
    for (const TEntry &e : m_entries)
        lbMineLayers->addItem(e.Layer.Name);
}

void TfrmMineLayers::ShowColor(TColor color)
{
    m_color = color;
    QPalette palette = shpLayerColor->palette();
    palette.setColor(QPalette::Window, TColorToQColor(color));
    shpLayerColor->setPalette(palette);
}

void TfrmMineLayers::cbxMineLayersClick()
{
    const int row = lbMineLayers->currentRow();
    btnDeleteLayer->setEnabled(row >= 0);
    if (row >= 0) {
        cbxMineLayers->setText(m_entries[std::size_t(row)].Layer.Name);
        ShowColor(m_entries[std::size_t(row)].Layer.Color);
    }
}

void TfrmMineLayers::btnAddLayerClick()
{
    const QString name = cbxMineLayers->text();
    if (name.trimmed().isEmpty())
        return;
    m_entries.push_back({TLayer{name, static_cast<std::int32_t>(m_color)}, -1});
    lbMineLayers->addItem(name);
    m_changed = true;
}

void TfrmMineLayers::btnDeleteLayerClick()
{
    const int row = lbMineLayers->currentRow();
    if (row >= 0) {
        m_entries.erase(m_entries.begin() + row);
        FillList();
        if (!m_entries.empty())
            lbMineLayers->setCurrentRow(std::max(0, row - 1));
        m_changed = true;
    }
    btnDeleteLayer->setEnabled(lbMineLayers->currentRow() >= 0);
}

void TfrmMineLayers::btnChangeLayerColorClick()
{
    TColor color = m_color;
    if (!m_main.ChooseColor(color))
        return;
    ShowColor(color);
    const int row = lbMineLayers->currentRow();
    if (row >= 0) {
        m_entries[std::size_t(row)].Layer.Color = static_cast<std::int32_t>(color);
        m_changed = true;
    }
}

void TfrmMineLayers::btnOkClick()
{
    TSchemeDocument &doc = m_main.Storage().Doc;
    // Branches follow their seam to its new index; those of a deleted seam
    // go to the first one.
    const std::size_t oldCount = doc.Layers.size();
    std::vector<int> newIndex(oldCount, 0);
    bool moved = false;
    for (std::size_t i = 0; i < m_entries.size(); ++i)
        if (m_entries[i].Origin >= 0)
            newIndex[std::size_t(m_entries[i].Origin)] = int(i);
    for (std::size_t i = 0; i < oldCount; ++i)
        moved = moved || newIndex[i] != int(i);
    if (moved)
        for (int n = 1; n <= MaxItems; ++n)
            if (BranchExist(Net, n) && Net.BranchLayer[n] < oldCount)
                Net.BranchLayer[n] = static_cast<std::uint8_t>(newIndex[Net.BranchLayer[n]]);

    const int row = lbMineLayers->currentRow();
    if (AnyBranchSelected(Net) && row >= 0) {
        for (int n = 1; n <= MaxItems; ++n)
            if (IsBranchSelected(Net, n))
                Net.BranchLayer[n] = static_cast<std::uint8_t>(row);
        m_changed = true;
    }
    if (m_changed) {
        m_main.SetModified(true);
        doc.Layers.clear();
        for (const TEntry &e : m_entries)
            doc.Layers.push_back(e.Layer);
        if (m_main.Action(QStringLiteral("mnuColorByLayers"))->isChecked())
            FillLayerColors(Net, m_main.Storage().LayerColors(), m_main.Document().BranchColors);
        m_main.Redraw();
    }
    accept();
}

void ShowMineLayers(TfrmMain &mainWindow)
{
    TfrmMineLayers dialog(mainWindow);
    dialog.exec();
}
