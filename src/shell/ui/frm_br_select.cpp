#include "shell/ui/frm_br_select.h"

#include "model/network.h"
#include "platform/prompt.h"
#include "scheme/ui/named_controls.h"

#include <QtCore/QEvent>
#include <QtWidgets/QGroupBox>
#include <QtWidgets/QHBoxLayout>
#include <QtWidgets/QLabel>
#include <QtWidgets/QLineEdit>
#include <QtWidgets/QListWidget>
#include <QtWidgets/QPushButton>
#include <QtWidgets/QRadioButton>
#include <QtWidgets/QVBoxLayout>

#include <set>

TfrmBrSelect::TfrmBrSelect(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmBrSelect"));
    setWindowTitle(LookupText(QStringLiteral("Отобрать ветви")));
    auto *group = new QGroupBox(LookupText(QStringLiteral("Критерии отбора")), this);
    rbAll = new QRadioButton(LookupText(QStringLiteral("Все ветви")), group);
    rbAll->setObjectName(QStringLiteral("rbAll"));
    rbAll->setChecked(true);
    rbByTypes = new QRadioButton(LookupText(QStringLiteral("По типам")), group);
    rbByTypes->setObjectName(QStringLiteral("rbByTypes"));
    rbByTypes->installEventFilter(this);
    lbBrTypes = new QListWidget(group);
    lbBrTypes->setObjectName(QStringLiteral("lbBrTypes"));
    lbBrTypes->setSelectionMode(QAbstractItemView::ExtendedSelection);
    lbBrTypes->addItems(GetBranchTypeList());
    lbBrTypes->setCurrentRow(0);
    lbBrTypes->installEventFilter(this);
    auto *typesHint = new QLabel(
        LookupText(QStringLiteral("Нажмите клавишу <Ctrl> и щелкайте мышью для одновременного выбора нескольких типов")),
        group);
    typesHint->setWordWrap(true);
    typesHint->setTextFormat(Qt::PlainText);
    rbNumbers = new QRadioButton(LookupText(QStringLiteral("Заданные номера")), group);
    rbNumbers->setObjectName(QStringLiteral("rbNumbers"));
    edNumbers = new QLineEdit(QStringLiteral("1-1000"), group);
    edNumbers->setObjectName(QStringLiteral("edNumbers"));
    lblNumbersHint = new QLabel(LookupText(QStringLiteral("Например так: 1-12,36,37,48,624-")), group);
    for (QWidget *w : {static_cast<QWidget *>(rbNumbers), static_cast<QWidget *>(edNumbers),
                       static_cast<QWidget *>(lblNumbersHint)})
        w->setEnabled(false);

    auto *groupLayout = new QVBoxLayout(group);
    groupLayout->addWidget(rbAll);
    groupLayout->addWidget(rbByTypes);
    groupLayout->addWidget(lbBrTypes, 1);
    groupLayout->addWidget(typesHint);
    groupLayout->addWidget(rbNumbers);
    groupLayout->addWidget(edNumbers);
    groupLayout->addWidget(lblNumbersHint);

    OKBtn = NamedButton(this, "OKBtn", QStringLiteral("OK"));
    OKBtn->setDefault(true);
    CancelBtn = NamedButton(this, "CancelBtn", LookupText(QStringLiteral("Отмена")));
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(OKBtn);
    buttons->addWidget(CancelBtn);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(group, 1);
    layout->addLayout(buttons);
    resize(380, 520);

    connect(OKBtn, &QPushButton::clicked, this, &QDialog::accept);
    connect(CancelBtn, &QPushButton::clicked, this, &QDialog::reject);
}

bool TfrmBrSelect::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::FocusIn) {
        if (watched == lbBrTypes)
            rbByTypes->setChecked(true);
        else if (watched == rbByTypes)
            lbBrTypes->setFocus();
    }
    return QDialog::eventFilter(watched, event);
}

void TfrmBrSelect::ApplySelection(std::vector<bool> &flags) const
{
    if (flags.size() < std::size_t(TableSize))
        flags.resize(TableSize, false);
    if (rbAll->isChecked()) {
        for (int n = 1; n <= MaxItems; ++n)
            flags[std::size_t(n)] = BranchExist(Net, n);
        return;
    }
    if (!rbByTypes->isChecked())
        return;
    std::set<int> types;
    for (int row = 0; row < lbBrTypes->count(); ++row)
        if (lbBrTypes->item(row)->isSelected())
            types.insert(row);
    if (types.empty())
        return;
    for (int n = 1; n <= MaxItems; ++n)
        flags[std::size_t(n)] = BranchExist(Net, n) && types.count(Net.BranchType[n]) > 0;
}

bool TfrmBrSelect::SelectBranches(std::vector<bool> &flags)
{
    if (exec() != QDialog::Accepted)
        return false;
    ApplySelection(flags);
    return true;
}
