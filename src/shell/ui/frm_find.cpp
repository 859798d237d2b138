#include "shell/ui/frm_find.h"

#include "model/branch_values.h"
#include "platform/prompt.h"
#include "platform/ui/qt_canvas.h"
#include "scheme/ui/frm_branch.h"
#include "scheme/ui/frm_new_node.h"
#include "scheme/ui/named_controls.h"
#include "scheme/ui/scheme_paint_box.h"
#include "shell/ui/frm_main.h"
#include "shell/ui/xq_edit.h"

#include <QtCore/QEvent>
#include <QtWidgets/QButtonGroup>
#include <QtWidgets/QGridLayout>
#include <QtWidgets/QGroupBox>
#include <QtWidgets/QHBoxLayout>
#include <QtWidgets/QLabel>
#include <QtWidgets/QLineEdit>
#include <QtWidgets/QListWidget>
#include <QtWidgets/QPushButton>
#include <QtWidgets/QRadioButton>
#include <QtWidgets/QVBoxLayout>

namespace {

constexpr int EntryWidth = 50;

QString RangeMessage()
{
    return LookupText(QStringLiteral("Диапазон допустимых номеров ветвей и узлов")) + QStringLiteral(" 1-")
           + QString::number(GetMaxItemsCount());
}

void ShowRangeMessage()
{
    ShowMessageBox(RangeMessage(), QString(), mb::Ok | mb::IconWarning);
}

// The integer of an edit, or false; a text of spaces is no number either.
bool PlainInt(const QLineEdit *edit, int &value)
{
    bool ok = false;
    value = edit->text().trimmed().toInt(&ok);
    return ok;
}

} // namespace

QString FindListEntry(const QString &name, int branch)
{
    QString text = name.isEmpty() ? DefaultBranchName : name;
    if (text.size() > EntryWidth)
        text = text.left(EntryWidth - 3) + QStringLiteral("...");
    return text.leftJustified(EntryWidth, u' ') + QStringLiteral("  (N") + QString::number(branch) + u')';
}

void MarkSchemePoint(TfrmMain &w, int x, int y)
{
    w.CenterOn(x, y);
    w.Redraw();
    TSchemePaintBox *box = w.PaintBox();
    if (!box)
        return;
    const int sx = w.ScreenX(x);
    const int sy = w.ScreenY(y);
    {
        TQtCanvas canvas(&box->Image());
        canvas.Brush.Color = clRed;
        canvas.Brush.Style = TBrushStyle::bsSolid;
        canvas.Ellipse(sx - 2, sy - 2, sx + 2, sy + 2);
    }
    box->update();
}

TfrmFind::TfrmFind(TfrmMain &mainWindow, QWidget *parent)
    : QDialog(parent ? parent : &mainWindow), m_main(mainWindow)
{
    setObjectName(QStringLiteral("frmFind"));
    setWindowTitle(LookupText(QStringLiteral("Найти объект")));

    rgrpFind = new QGroupBox(LookupText(QStringLiteral("Искать объект")), this);
    rgrpFind->setObjectName(QStringLiteral("rgrpFind"));
    m_modes = new QButtonGroup(this);
    auto *modeLayout = new QVBoxLayout(rgrpFind);
    QRadioButton **radios[] = {&rbNode, &rbBranch, &rbPoint, &rbPLA};
    const char *captions[] = {"Узел", "Ветвь", "Позиция схемы", "Позиция ПЛА"};
    for (int i = 0; i < 4; ++i) {
        *radios[i] = new QRadioButton(LookupText(QString::fromUtf8(captions[i])), rgrpFind);
        m_modes->addButton(*radios[i], i);
        modeLayout->addWidget(*radios[i]);
    }
    rbNode->setChecked(true);

    const auto edit = [this](const char *name, const char *text) {
        QLineEdit *e = NamedEdit(this, name);
        e->setText(QString::fromLatin1(text));
        e->installEventFilter(this);
        return e;
    };
    edNode = edit("edNode", "1");
    edBranch = edit("edBranch", "1");
    edX = edit("edX", "0");
    edY = edit("edY", "0");
    edFirstLetters = edit("edFirstLetters", "");
    xqePLAPos = new TxqEdit(this);
    xqePLAPos->setObjectName(QStringLiteral("xqePLAPos"));
    xqePLAPos->SetIntRange(1, 1000);
    xqePLAPos->setText(QStringLiteral("1"));
    xqePLAPos->installEventFilter(this);
    lbBranches = new QListWidget(this);
    lbBranches->setObjectName(QStringLiteral("lbBranches"));
    lbBranches->installEventFilter(this);
    QFont mono(QStringLiteral("Liberation Mono"));
    mono.setStyleHint(QFont::Monospace);
    lbBranches->setFont(mono);
    Label2 = new QLabel(this);
    Label2->setObjectName(QStringLiteral("Label2"));

    OKBtn = NamedButton(this, "OKBtn", QStringLiteral("OK"));
    OKBtn->setDefault(true);
    CancelBtn = NamedButton(this, "CancelBtn", LookupText(QStringLiteral("Отмена")));
    bbtnProperty = NamedButton(this, "bbtnProperty", LookupText(QStringLiteral("Свойства")));

    auto *fields = new QGridLayout;
    fields->addWidget(new QLabel(LookupText(QStringLiteral("Узел")), this), 0, 0);
    fields->addWidget(edNode, 0, 1);
    fields->addWidget(new QLabel(LookupText(QStringLiteral("Ветвь")), this), 1, 0);
    fields->addWidget(edBranch, 1, 1);
    fields->addWidget(new QLabel(QStringLiteral("X"), this), 2, 0);
    fields->addWidget(edX, 2, 1);
    fields->addWidget(new QLabel(QStringLiteral("Y"), this), 3, 0);
    fields->addWidget(edY, 3, 1);
    fields->addWidget(new QLabel(LookupText(QStringLiteral("Позиция ПЛА")), this), 4, 0);
    fields->addWidget(xqePLAPos, 4, 1);
    auto *top = new QHBoxLayout;
    top->addWidget(rgrpFind);
    top->addLayout(fields);
    auto *nameLabel = new QLabel(LookupText(QStringLiteral("&1) Введите первые буквы названия ветви:")), this);
    nameLabel->setBuddy(edFirstLetters);
    auto *listLabel = new QLabel(LookupText(QStringLiteral("&2) Или выберите название ветви из списка:")), this);
    listLabel->setBuddy(lbBranches);
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(Label2);
    buttons->addStretch();
    buttons->addWidget(OKBtn);
    buttons->addWidget(CancelBtn);
    buttons->addWidget(bbtnProperty);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(nameLabel);
    layout->addWidget(edFirstLetters);
    layout->addWidget(listLabel);
    layout->addWidget(lbBranches, 1);
    layout->addLayout(buttons);
    resize(640, 520);

    FillBranchList();
    rgrpFindClick();

    connect(m_modes, &QButtonGroup::idClicked, this, &TfrmFind::rgrpFindClick);
    connect(edBranch, &QLineEdit::textEdited, this, [this] {
        m_driver = drBranchEdit;
        edBranchChange();
    });
    connect(edFirstLetters, &QLineEdit::textEdited, this, [this] {
        m_driver = drName;
        edFirstLettersChange();
    });
    connect(lbBranches, &QListWidget::itemClicked, this, [this] {
        m_driver = drList;
        lbBranchesClick();
    });
    connect(lbBranches, &QListWidget::currentRowChanged, this, [this] {
        if (m_driver == drList)
            lbBranchesClick();
    });
    connect(edNode, &QLineEdit::textEdited, this, &TfrmFind::edNodeChange);
    connect(xqePLAPos, &QLineEdit::textEdited, this, &TfrmFind::xqePLAPosChange);
    connect(OKBtn, &QPushButton::clicked, this, &TfrmFind::OKBtnClick);
    connect(CancelBtn, &QPushButton::clicked, this, &QDialog::reject);
    connect(bbtnProperty, &QPushButton::clicked, this, [this] { m_main.RunCommand([this] { bbtnPropertyClick(); }); });
}

void TfrmFind::FillBranchList()
{
    struct TItem
    {
        QString Text;
        int Branch;
    };
    std::vector<TItem> items;
    for (int n = 1; n <= MaxItems; ++n)
        if (BranchExist(Net, n))
            items.push_back({FindListEntry(Net.BranchName[n], n), n});
    std::stable_sort(items.begin(), items.end(), [](const TItem &a, const TItem &b) {
        return QString::compare(a.Text, b.Text, Qt::CaseInsensitive) < 0;
    });
    for (const TItem &item : items) {
        auto *entry = new QListWidgetItem(item.Text, lbBranches);
        entry->setData(Qt::UserRole, item.Branch);
    }
    Label2->setText(LookupText(QStringLiteral("Всего ветвей")) + u' ' + QString::number(lbBranches->count()));
    edFirstLetters->clear();
}

bool TfrmFind::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::FocusIn) {
        if (watched == edBranch) {
            SetMode(fmBranch);
            m_driver = drBranchEdit;
        } else if (watched == edFirstLetters) {
            SetMode(fmBranch);
            m_driver = drName;
        } else if (watched == lbBranches) {
            if (Mode() != fmBranch)
                SetMode(fmBranch);
            m_driver = drList;
        } else if (watched == edNode) {
            SetMode(fmNode);
        } else if (watched == edX || watched == edY) {
            SetMode(fmPoint);
        } else if (watched == xqePLAPos) {
            SetMode(fmPLA);
        }
    }
    return QDialog::eventFilter(watched, event);
}

int TfrmFind::Mode() const { return m_modes->checkedId(); }

void TfrmFind::SetMode(TFindMode mode)
{
    if (Mode() == mode)
        return;
    m_modes->button(mode)->setChecked(true);
    rgrpFindClick();
}

void TfrmFind::EnableButtons(bool enabled)
{
    OKBtn->setEnabled(enabled);
    bbtnProperty->setEnabled(enabled && (Mode() == fmNode || Mode() == fmBranch));
}

void TfrmFind::edBranchChange()
{
    if (m_driver != drBranchEdit)
        return;
    int n = 0;
    if (!ReadEdits([&] { n = EditToInt(edBranch); })) {
        if (!edBranch->text().trimmed().isEmpty())
            ShowRangeMessage();
        EnableButtons(false);
        return;
    }
    const bool exists = BranchExist(Net, n);
    EnableButtons(exists);
    lbBranches->setCurrentRow(-1);
    for (int row = 0; row < lbBranches->count(); ++row)
        if (lbBranches->item(row)->data(Qt::UserRole).toInt() == n) {
            lbBranches->setCurrentRow(row);
            break;
        }
    edFirstLetters->setText(exists ? Net.BranchName[n] : QString());
}

void TfrmFind::edFirstLettersChange()
{
    if (m_driver != drName)
        return;
    const QString typed = edFirstLetters->text();
    for (int row = 0; row < lbBranches->count(); ++row) {
        const QListWidgetItem *item = lbBranches->item(row);
        if (item->text().startsWith(typed, Qt::CaseInsensitive)) {
            lbBranches->setCurrentRow(row);
            edBranch->setText(QString::number(item->data(Qt::UserRole).toInt()));
            EnableButtons(true);
            return;
        }
    }
    lbBranches->setCurrentRow(-1);
    edBranch->clear();
    EnableButtons(false);
}

void TfrmFind::lbBranchesClick()
{
    const QListWidgetItem *item = lbBranches->currentItem();
    if (!item)
        return;
    const int n = item->data(Qt::UserRole).toInt();
    edBranch->setText(QString::number(n));
    edFirstLetters->setText(Net.BranchName[n]);
    EnableButtons(BranchExist(Net, n));
}

void TfrmFind::edNodeChange()
{
    int n = 0;
    if (!PlainInt(edNode, n)) {
        if (!edNode->text().trimmed().isEmpty())
            ShowRangeMessage();
        EnableButtons(false);
        return;
    }
    EnableButtons(ValidItemIndex(n) && NodeExist(Net, n));
}

void TfrmFind::xqePLAPosChange()
{
    int position = 0;
    OKBtn->setEnabled(PlainInt(xqePLAPos, position) && position >= 1 && position <= 1000
                      && FindBranchByPLAPosition(Net, position) > 0);
}

void TfrmFind::rgrpFindClick()
{
    const int mode = Mode();
    // The buttons follow the field of the mode chosen.
    int n = 0;
    switch (mode) {
    case fmNode:
        EnableButtons(PlainInt(edNode, n) && ValidItemIndex(n) && NodeExist(Net, n));
        break;
    case fmBranch:
        EnableButtons(PlainInt(edBranch, n) && BranchExist(Net, n));
        break;
    case fmPoint:
        EnableButtons(true);
        break;
    default:
        xqePLAPosChange();
        bbtnProperty->setEnabled(false);
        break;
    }
    if (!isVisible())
        return;
    QWidget *field = mode == fmNode ? static_cast<QWidget *>(edNode)
                     : mode == fmBranch ? static_cast<QWidget *>(edBranch)
                     : mode == fmPoint  ? static_cast<QWidget *>(edX)
                                        : static_cast<QWidget *>(xqePLAPos);
    if (field->isEnabled() && !field->hasFocus() && !(mode == fmBranch && (edFirstLetters->hasFocus() || lbBranches->hasFocus())))
        field->setFocus();
}

bool TfrmFind::FindPoint(int branch, int node, int &x, int &y)
{
    int start = 0;
    switch (Mode()) {
    case fmNode:
        if (!NodeExist(Net, node))
            return false;
        x = Net.NodeX[node];
        y = Net.NodeY[node];
        return true;
    case fmBranch:
        if (!BranchExist(Net, branch))
            return false;
        SelectBranch(Net, m_main.Document().BranchColors, branch);
        start = Net.BranchStartNode[branch];
        break;
    case fmPoint: {
        int px = 0, py = 0;
        if (!ReadEdits([&] {
                px = EditToInt(edX);
                py = EditToInt(edY);
            }))
            return false;
        x = px;
        y = py;
        return true;
    }
    default: {
        int position = 0;
        const int b = PlainInt(xqePLAPos, position) ? FindBranchByPLAPosition(Net, position) : 0;
        if (b <= 0)
            return false;
        start = Net.BranchStartNode[b];
        break;
    }
    }
    if (!ValidItemIndex(start))
        return false;
    x = Net.NodeX[start];
    y = Net.NodeY[start];
    return true;
}

void TfrmFind::OKBtnClick()
{
    int branch = 0, node = 0;
    if (!ReadEdits([&] {
            branch = EditToInt(edBranch);
            node = EditToInt(edNode);
        }))
        return;
    int x = 0, y = 0;
    if (FindPoint(branch, node, x, y))
        MarkSchemePoint(m_main, x, y);
    accept();
}

void TfrmFind::bbtnPropertyClick()
{
    int n = 0;
    if (Mode() == fmNode) {
        if (!ReadEdits([&] { n = EditToInt(edNode); }) || !NodeExist(Net, n))
            return;
        EditNodeDialog(this, LookupText(QStringLiteral("Узел")) + u' ' + QString::number(n), n, false);
    } else if (Mode() == fmBranch) {
        if (!ReadEdits([&] { n = EditToInt(edBranch); }) || !BranchExist(Net, n))
            return;
        EditBranchDialog(this, LookupText(QStringLiteral("Ветвь")) + u' ' + QString::number(n), n, false);
    }
}

int TfrmFind::Pick(TFindMode mode, QLineEdit *picked, QLineEdit *other)
{
    other->setEnabled(false);
    edX->setEnabled(false);
    edY->setEnabled(false);
    SetMode(mode);
    OKBtn->setText(QStringLiteral("Ok"));
    if (exec() != QDialog::Accepted)
        return -1;
    return picked->text().trimmed().toInt();
}

int TfrmFind::PickBranch() { return Pick(fmBranch, edBranch, edNode); }

int TfrmFind::PickNode() { return Pick(fmNode, edNode, edBranch); }

void ShowFindObject(TfrmMain &mainWindow)
{
    TfrmFind dialog(mainWindow);
    dialog.exec();
}

int PickBranch(QWidget *owner, QString &text)
{
    if (!frmMain)
        return -1;
    TfrmFind dialog(*frmMain, owner);
    const int branch = dialog.PickBranch();
    text = dialog.edBranch->text();
    return branch;
}

int PickNode(QWidget *owner)
{
    if (!frmMain)
        return -1;
    TfrmFind dialog(*frmMain, owner);
    return dialog.PickNode();
}
