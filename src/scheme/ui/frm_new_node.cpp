#include "scheme/ui/frm_new_node.h"

#include "platform/ui/qt_canvas.h"
#include "scheme/ui/branch_list_view.h"
#include "scheme/ui/frm_branch.h"
#include "scheme/ui/named_controls.h"

#include <QtWidgets/QCheckBox>
#include <QtWidgets/QGridLayout>
#include <QtWidgets/QHBoxLayout>
#include <QtWidgets/QLabel>
#include <QtWidgets/QLineEdit>
#include <QtWidgets/QPushButton>
#include <QtWidgets/QToolButton>
#include <QtWidgets/QTreeWidget>
#include <QtWidgets/QVBoxLayout>

TNodeDialogHost NodeDialogHost;

TNetworkTables &NodeDialogTables() { return NodeDialogHost.Tables ? *NodeDialogHost.Tables : Net; }

namespace {

// The column sets of the lists: number and name, the far end node,
// resistance, depression, additional depression and flow.
constexpr TBranchColumns IncomingColumns = 373;
constexpr TBranchColumns OutgoingColumns = 377;

constexpr int PictureWidth = 220;
constexpr int PictureHeight = 160;

QTreeWidget *BranchList(QWidget *parent, const char *name, const QString &hint)
{
    auto *list = new QTreeWidget(parent);
    list->setObjectName(QString::fromLatin1(name));
    list->setToolTip(hint);
    list->setRootIsDecorated(false);
    list->setEditTriggers(QAbstractItemView::NoEditTriggers);
    list->setMinimumHeight(110);
    return list;
}

} // namespace

TfrmNewNode::TfrmNewNode(QWidget *parent) : QDialog(parent), m_form(NodeDialogTables(), NodeDialogHost.Form)
{
    setObjectName(QStringLiteral("frmNewNode"));
    auto *layout = new QVBoxLayout(this);
    auto *top = new QHBoxLayout;
    auto *grid = new QGridLayout;
    edNodeNo = NamedEdit(this, "edNodeNo");
    spbtnPickNodeNo = new QToolButton(this);
    spbtnPickNodeNo->setObjectName(QStringLiteral("spbtnPickNodeNo"));
    spbtnPickNodeNo->setText(QStringLiteral("№"));
    spbtnPickNodeNo->setAutoRaise(true);
    spbtnPickNodeNo->setToolTip(QStringLiteral("Получить номер узла автоматически"));
    edX = NamedEdit(this, "edX");
    edY = NamedEdit(this, "edY");
    edAltitude = NamedEdit(this, "edAltitude");
    chkbxIsSurface = new QCheckBox(QStringLiteral("Узел поверхности"), this);
    chkbxIsSurface->setObjectName(QStringLiteral("chkbxIsSurface"));
    chkbxIsExit = new QCheckBox(QStringLiteral("Подъем на поверхность"), this);
    chkbxIsExit->setObjectName(QStringLiteral("chkbxIsExit"));
    lblNodePress = new QLabel(QString::fromUtf16(NodePressureNotShown), this);
    lblNodePress->setObjectName(QStringLiteral("lblNodePress"));

    grid->addWidget(new QLabel(QStringLiteral("Номер узла:"), this), 0, 0);
    grid->addWidget(edNodeNo, 0, 1);
    grid->addWidget(spbtnPickNodeNo, 0, 2);
    grid->addWidget(new QLabel(QStringLiteral("X:"), this), 1, 0);
    grid->addWidget(edX, 1, 1);
    grid->addWidget(new QLabel(QStringLiteral("Y:"), this), 2, 0);
    grid->addWidget(edY, 2, 1);
    grid->addWidget(new QLabel(QStringLiteral("Высотная отметка, м:"), this), 3, 0);
    grid->addWidget(edAltitude, 3, 1);
    grid->addWidget(chkbxIsSurface, 4, 0, 1, 3);
    grid->addWidget(chkbxIsExit, 5, 0, 1, 3);
    grid->addWidget(new QLabel(QStringLiteral("Давление в узле:"), this), 6, 0);
    grid->addWidget(lblNodePress, 6, 1, 1, 2);
    grid->setRowStretch(7, 1);
    top->addLayout(grid);

    ImgNode = new QLabel(this);
    ImgNode->setObjectName(QStringLiteral("ImgNode"));
    ImgNode->setFixedSize(PictureWidth, PictureHeight);
    ImgNode->setFrameShape(QFrame::Panel);
    ImgNode->setFrameShadow(QFrame::Sunken);
    top->addWidget(ImgNode, 0, Qt::AlignTop);

    auto *buttons = new QVBoxLayout;
    bbtnOK = NamedButton(this, "bbtnOK", QStringLiteral("OK"));
    bbtnOK->setDefault(true);
    bbtnCancel = NamedButton(this, "bbtnCancel", QStringLiteral("Отмена"));
    bbtnDelete = NamedButton(this, "bbtnDelete", QStringLiteral("Удалить"));
    for (QPushButton *b : {bbtnOK, bbtnCancel, bbtnDelete})
        buttons->addWidget(b);
    buttons->addStretch();
    top->addLayout(buttons);
    layout->addLayout(top);

    lblInBranches = new QLabel(this);
    lvInBranches = BranchList(this, "lvInBranches", QStringLiteral("Список входящих ветвей"));
    lblOutBranches = new QLabel(this);
    lvOutBranches = BranchList(this, "lvOutBranches", QStringLiteral("Список выходящих ветвей"));
    layout->addWidget(lblInBranches);
    layout->addWidget(lvInBranches, 1);
    layout->addWidget(lblOutBranches);
    layout->addWidget(lvOutBranches, 1);
    resize(640, 560);

    connect(bbtnOK, &QPushButton::clicked, this, &TfrmNewNode::bbtnOKClick);
    connect(bbtnCancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(bbtnDelete, &QPushButton::clicked, this, &TfrmNewNode::bbtnDeleteClick);
    connect(chkbxIsSurface, &QCheckBox::clicked, this, &TfrmNewNode::chkbxIsSurfaceClick);
    connect(chkbxIsExit, &QCheckBox::clicked, this, [this] { m_form.Modified = true; });
    connect(spbtnPickNodeNo, &QToolButton::clicked, this, &TfrmNewNode::spbtnPickNodeNoClick);
    // Typing marks an edit modified; filling marks the position itself.
    const auto typed = [this](bool *flag) {
        return [this, flag] {
            if (m_filling)
                return;
            if (flag)
                *flag = true;
            m_form.Modified = true;
        };
    };
    connect(edNodeNo, &QLineEdit::textChanged, this, typed(nullptr));
    connect(edX, &QLineEdit::textChanged, this, typed(&m_form.XModified));
    connect(edY, &QLineEdit::textChanged, this, typed(&m_form.YModified));
    connect(edAltitude, &QLineEdit::textChanged, this, typed(&m_form.AltitudeModified));
    for (QTreeWidget *list : {lvInBranches, lvOutBranches})
        connect(list, &QTreeWidget::itemDoubleClicked, this,
                [this, list](QTreeWidgetItem *item) { OpenBranchOfRow(list, list->indexOfTopLevelItem(item)); });
}

void TfrmNewNode::Fill(const QString &caption, int node, bool deletable)
{
    m_filling = true;
    m_form.Load(node, deletable);
    setWindowTitle(caption);
    edX->setText(m_form.XText);
    edY->setText(m_form.YText);
    edNodeNo->setText(m_form.NodeNoText);
    bbtnDelete->setEnabled(m_form.Deletable);
    lblNodePress->setText(m_form.PressureText);
    edAltitude->setText(m_form.AltitudeText);
    chkbxIsSurface->setChecked(m_form.IsSurface);
    chkbxIsExit->setChecked(m_form.IsExit);
    DrawCutOut();
    FillNodeBranchLists();
    m_form.Modified = false;
    m_filling = false;
    edNodeNo->setFocus();
}

bool TfrmNewNode::EditNode(const QString &caption, int &node, bool deletable)
{
    Fill(caption, node, deletable);
    const bool confirmed = exec() == QDialog::Accepted;
    node = m_form.Node;
    return confirmed;
}

void TfrmNewNode::DrawCutOut()
{
    if (!NodeDialogHost.SchemeImage || !NodeDialogHost.ScreenPoint)
        return;
    const QImage *scheme = NodeDialogHost.SchemeImage();
    const TNetworkTables &t = m_form.Tables();
    const int n = m_form.Node;
    const QPoint at = NodeDialogHost.ScreenPoint(t.NodeX[n], t.NodeY[n]);
    // A node outside the visible scheme keeps the designed picture.
    if (!scheme || !scheme->rect().contains(at))
        return;
    m_picture = QImage(PictureWidth, PictureHeight, QImage::Format_RGB32);
    TQtCanvas canvas(&m_picture);
    canvas.Pen.Color = clBlack;
    canvas.Brush.Color = clSilver;
    canvas.Rectangle(0, 0, PictureWidth, PictureHeight);
    canvas.Painter().drawImage(0, 0, *scheme, at.x() - PictureWidth / 2, at.y() - PictureHeight / 2, PictureWidth,
                               PictureHeight);
    canvas.Brush.Style = TBrushStyle::bsClear;
    canvas.Rectangle(0, 0, PictureWidth, PictureHeight);
    canvas.End();
    ImgNode->setPixmap(QPixmap::fromImage(m_picture));
}

void TfrmNewNode::FillNodeBranchLists()
{
    const TNetworkTables &t = m_form.Tables();
    const int node = m_form.Node;
    FillBranchList(
        lvInBranches, [&](int b) { return BranchExist(t, b) && t.BranchEndNode[b] == node; }, IncomingColumns, t);
    FillBranchList(
        lvOutBranches, [&](int b) { return BranchExist(t, b) && t.BranchStartNode[b] == node; }, OutgoingColumns, t);
    lblInBranches->setText(m_form.IncomingCaption());
    lblOutBranches->setText(m_form.OutgoingCaption());
}

void TfrmNewNode::OpenBranchOfRow(QTreeWidget *list, int row)
{
    const QTreeWidgetItem *item = list->topLevelItem(row);
    if (!item)
        return;
    // A branch without a name has no number in its caption; the lists are
    // in branch order, so the row still names it.
    std::optional<int> branch = BranchOfRowCaption(item->text(0));
    if (!branch) {
        const std::vector<int> rows = list == lvInBranches ? m_form.IncomingBranches() : m_form.OutgoingBranches();
        if (row < static_cast<int>(rows.size()))
            branch = rows[static_cast<std::size_t>(row)];
    }
    if (!branch || !BranchExist(m_form.Tables(), *branch))
        return;
    const auto &canDelete = BranchDialogHost.Form.CanDeleteObject;
    const bool deletable = canDelete ? canDelete(*branch) : true;
    if (EditBranchDialog(this, QStringLiteral("Ветвь %1").arg(*branch), *branch, deletable))
        m_form.Modified = true;
    if (m_form.Modified)
        FillNodeBranchLists();
}

void TfrmNewNode::chkbxIsSurfaceClick()
{
    const bool kept = m_form.SetSurface(chkbxIsSurface->isChecked());
    chkbxIsSurface->setChecked(kept);
}

void TfrmNewNode::spbtnPickNodeNoClick()
{
    m_form.PickNodeNumber();
    edNodeNo->setText(m_form.NodeNoText);
}

void TfrmNewNode::TakeInput()
{
    m_form.NodeNoText = edNodeNo->text();
    m_form.XText = edX->text();
    m_form.YText = edY->text();
    m_form.AltitudeText = edAltitude->text();
    m_form.IsSurface = chkbxIsSurface->isChecked();
    m_form.IsExit = chkbxIsExit->isChecked();
}

void TfrmNewNode::bbtnOKClick()
{
    TakeInput();
    if (!m_form.Apply()) {
        if (m_form.FocusField) {
            QLineEdit *edits[] = {edNodeNo, edX, edY, edAltitude};
            edits[static_cast<int>(*m_form.FocusField)]->setFocus();
        }
        return;
    }
    accept();
}

void TfrmNewNode::bbtnDeleteClick()
{
    if (m_form.Delete())
        accept();
}

bool EditNodeDialog(QWidget *owner, const QString &caption, int &node, bool deletable)
{
    TfrmNewNode dialog(owner);
    return dialog.EditNode(caption, node, deletable);
}
