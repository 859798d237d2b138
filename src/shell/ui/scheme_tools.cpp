#include "shell/ui/scheme_tools.h"

#include "platform/prompt.h"
#include "platform/ui/qt_canvas.h"
#include "scheme/ui/frm_branch.h"
#include "scheme/ui/frm_choose_margin.h"
#include "scheme/ui/frm_new_node.h"
#include "scheme/ui/scheme_paint_box.h"
#include "scheme/ui/fire_tool_hook.h"
#include "scheme/ui/vent_boost_hook.h"
#include "shell/scheme_storage.h"
#include "shell/ui/frm_main.h"

#include <QtCore/QTimer>
#include <QtGui/QAction>
#include <QtGui/QCursor>
#include <QtGui/QMouseEvent>
#include <QtWidgets/QLabel>
#include <QtWidgets/QMenu>
#include <QtWidgets/QTabWidget>

namespace {

TMouseInput InputOf(const QMouseEvent *event)
{
    TMouseInput in;
    switch (event->button()) {
    case Qt::RightButton: in.Button = TMouseButton::Right; break;
    case Qt::MiddleButton: in.Button = TMouseButton::Middle; break;
    default: in.Button = TMouseButton::Left; break;
    }
    in.Shift = event->modifiers() & Qt::ShiftModifier;
    in.Ctrl = event->modifiers() & Qt::ControlModifier;
    const QPoint p = event->position().toPoint();
    in.X = p.x();
    in.Y = p.y();
    return in;
}

void ShowLabel(QLabel *label, const QString &text, bool red)
{
    if (!label)
        return;
    label->setText(text);
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, red ? QColor(255, 0, 0) : QColor(0, 0, 0));
    label->setPalette(palette);
}

} // namespace

TSchemeTools::TSchemeTools(TfrmMain &mainWindow)
    : QObject(&mainWindow), m_w(mainWindow), m_tools(Net, mainWindow.Document().BranchColors, mainWindow.View(), *this)
{
    m_lblX = m_w.findChild<QLabel *>(QStringLiteral("lblX"));
    m_lblY = m_w.findChild<QLabel *>(QStringLiteral("lblY"));
    m_lblNode = m_w.findChild<QLabel *>(QStringLiteral("lblNode"));
    m_lblBranch = m_w.findChild<QLabel *>(QStringLiteral("lblBranch"));
    TSchemePaintBox *box = m_w.PaintBox();
    box->MouseDown = [this](QMouseEvent *e) { Route(e, &TMouseTools::MouseDown); };
    box->MouseMove = [this](QMouseEvent *e) { Route(e, &TMouseTools::MouseMove); };
    box->MouseUp = [this](QMouseEvent *e) { Route(e, &TMouseTools::MouseUp); };

    SelectButton("sbtnArrow", TTool::Default);
    SelectButton("spbSelection", TTool::Selection);
    SelectButton("sbtnNode", TTool::Node);
    SelectButton("sbtnBranch", TTool::Branch);
    SelectButton("tbtnMove", TTool::Move);
    SelectButton("tbtnFindFire", TTool::FindFire);
    SelectButton("spbZoomIn", TTool::ZoomIn);
    SelectButton("spbZoomOut", TTool::ZoomOut);
    SelectButton("spbCenterView", TTool::Center);
    // There is no undo: the item is there and does nothing.
    m_w.SetCommandHandler(QStringLiteral("mnuCancel"), [] {});
    m_w.SetCommandHandler(QStringLiteral("mnuCutMap"), [this] { mnuCutMapClick(); });
    // A new document drops what a tool held of the old one.
    connect(&m_w, &TfrmMain::documentCleared, this, [this] { m_tools.Select(m_tools.Tool()); });
    // The hooks are filled once every part of the program is installed.
    QTimer::singleShot(0, this, [this] { RefreshHookedTools(); });
}

void TSchemeTools::SelectButton(const char *action, TTool tool)
{
    m_w.SetCommandHandler(QString::fromLatin1(action), [this, action, tool] {
        m_w.Action(QString::fromLatin1(action))->setChecked(true);
        m_tools.Select(tool);
    });
}

void TSchemeTools::RefreshHookedTools()
{
    if (FireToolClick)
        SelectButton("tbtnFireModelling", TTool::FireModelling);
    if (ShowVentBoost)
        SelectButton("tbtnQAccelerate", TTool::Boost);
    if (SchemeObjects.Balloons) {
        SelectButton("EditPlacePLALabel", TTool::Balloon);
        SelectButton("tbtnPlaceTelephone", TTool::Phone);
        SelectButton("tbtnText", TTool::Text);
    }
}

void TSchemeTools::Route(QMouseEvent *event, void (TMouseTools::*handler)(const TMouseInput &))
{
    const TMouseInput input = InputOf(event);
    (m_tools.*handler)(input);
}

// ---- The scheme shift -----------------------------------------------------------

void TSchemeTools::mnuCutMapClick()
{
    int left = 10, top = 10;
    if (!ChooseMargins(&m_w, left, top))
        return;
    switch (ShiftScheme(Net, ObjectLayers(), left, top)) {
    case TShiftResult::OutOfRange:
        ShowMessageBox(ShiftOutOfRangeMessage, QString(), mb::Ok | mb::IconWarning);
        return;
    case TShiftResult::Empty: break;
    case TShiftResult::Shifted: m_w.SetModified(true); break;
    }
    m_w.Redraw();
}

// ---- TMouseToolHost ---------------------------------------------------------------

int TSchemeTools::ToolMode() const { return m_w.ToolMode(); }
void TSchemeTools::SetToolMode(int mode) { m_w.SelectTool(mode); }
void TSchemeTools::SetCursor(int number) { m_w.PaintBox()->SetCursorNumber(number); }
int TSchemeTools::EdgeCursor(int x, int y) const { return m_w.EdgeCursor(x, y); }
bool TSchemeTools::EdgeScroll(int x, int y) { return m_w.EdgeScroll(x, y); }
void TSchemeTools::Redraw() { m_w.Redraw(); }
void TSchemeTools::SetModified() { m_w.SetModified(true); }
void TSchemeTools::ObjectChanged(std::unique_ptr<TMineObject> snapshot, TChangeKind kind)
{
    m_w.ObjectChanged(std::move(snapshot), kind);
}
TColor TSchemeTools::SchemeColor(int index) const { return m_w.GetSchemeColor(index); }
void TSchemeTools::SetStandardColors() { m_w.SetStandardColors(); }
bool TSchemeTools::PLAColoring() const { return m_w.Action(QStringLiteral("mnuPLA"))->isChecked(); }
bool TSchemeTools::SnapToGrid() const { return m_w.Options().SnapToGrid; }
int TSchemeTools::GridStep() const { return m_w.Options().GridStep; }
bool TSchemeTools::NewObjectsFirstFree() const { return m_w.Options().NewObjectsIsFirstFree; }
bool TSchemeTools::ShowSheet() const { return m_w.Options().ShowSheet; }

TSize TSchemeTools::SheetSize() const
{
    const TMineProperties &p = m_w.Storage().Doc.MineProperties;
    return {p.SheetWidth, p.SheetHeight};
}

void TSchemeTools::ShowPointer(const TPointerStatus &status)
{
    ShowLabel(m_lblX, status.X, status.XOutside);
    ShowLabel(m_lblY, status.Y, status.YOutside);
    ShowLabel(m_lblNode, status.Node, false);
    ShowLabel(m_lblBranch, status.Branch, false);
}

void TSchemeTools::DrawFeedback(const std::function<void(TCanvas &)> &draw)
{
    TSchemePaintBox *box = m_w.PaintBox();
    {
        TQtCanvas canvas(&box->Image());
        draw(canvas);
    }
    box->update();
}

bool TSchemeTools::EditNode(const QString &caption, int &node, bool deletable)
{
    return EditNodeDialog(&m_w, caption, node, deletable);
}

bool TSchemeTools::EditBranch(const QString &caption, int branch, bool deletable, bool plaPage)
{
    TfrmBranch dialog(&m_w);
    int page = 0;
    if (plaPage)
        for (int i = 0; i < dialog.pcBranch->count(); ++i)
            if (dialog.pcBranch->tabText(i) == QStringLiteral("ПЛА"))
                page = i;
    dialog.pcBranch->setCurrentIndex(page);
    return dialog.EditBranch(caption, branch, deletable);
}

void TSchemeTools::UpdateMenus() { m_w.UpdateMenus(); }

void TSchemeTools::ShowSchemePopup()
{
    if (auto *menu = m_w.findChild<QMenu *>(QStringLiteral("pmnuScheme")))
        menu->popup(QCursor::pos() - QPoint(1, 1));
}

void TSchemeTools::ShowFoundPopup(const std::vector<std::pair<std::int32_t, QString>> &items)
{
    // The old popup may still be delivering its own click.
    if (m_found)
        m_found->deleteLater();
    m_found = new QMenu(&m_w);
    m_found->setObjectName(QStringLiteral("pmnuFinded"));
    for (const auto &[code, caption] : items) {
        QAction *item = m_found->addAction(QString(caption).replace(u'&', QStringLiteral("&&")));
        item->setData(code);
        connect(item, &QAction::triggered, this,
                [this, code = code] { m_w.RunCommand([this, code] { m_tools.OpenFoundObject(code); }); });
    }
    if (!items.empty())
        m_found->popup(QPoint(40, 100));
}

void TSchemeTools::ZoomTool(int x, int y, int direction) { m_w.ZoomToolUp(x, y, direction); }
void TSchemeTools::CenterTool(int x, int y) { m_w.CenterToolUp(x, y); }

bool TSchemeTools::FireModelAt(int branch) { return FireToolClick && FireToolClick(branch); }

void TSchemeTools::BoostAt(int branch)
{
    if (ShowVentBoost)
        ShowVentBoost(branch);
}

TSchemeObjectLayers *TSchemeTools::ObjectLayers() { return SchemeObjects.Balloons ? &SchemeObjects : nullptr; }
