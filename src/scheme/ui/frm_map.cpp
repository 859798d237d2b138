#include "scheme/ui/frm_map.h"

#include "platform/guard.h"
#include "platform/settings_store.h"
#include "platform/ui/qt_canvas.h"
#include "scheme/ui/scheme_paint_box.h"

#include <QtGui/QMouseEvent>
#include <QtGui/QPainter>
#include <QtWidgets/QVBoxLayout>

TfrmMap *frmMap = nullptr;

namespace {
// The map stays small beside the scheme.
constexpr int MaxMapSide = 256;
const char *const BoundNames[] = {"MapTop", "MapLeft", "MapWidth", "MapHeight"};
} // namespace

// The client-filling paint box of the map.
class TMapImage : public QWidget
{
public:
    explicit TMapImage(TfrmMap *owner) : QWidget(owner), m_owner(owner)
    {
        setObjectName(QStringLiteral("MapImg"));
        setCursor(CursorShapeOf(19));
        setAttribute(Qt::WA_OpaquePaintEvent);
    }

protected:
    void paintEvent(QPaintEvent *) override
    {
        if (m_owner->m_image.size() != size())
            m_owner->DrawMap();
        QPainter painter(this);
        painter.drawImage(0, 0, m_owner->m_image);
    }
    void mouseReleaseEvent(QMouseEvent *event) override
    {
        const QPoint p = event->position().toPoint();
        GuardedCall([&] { m_owner->MapImgMouseUp(p.x(), p.y()); });
    }

private:
    TfrmMap *m_owner;
};

TfrmMap::TfrmMap(TMapHost host, QWidget *parent)
    : QWidget(parent, Qt::Tool | Qt::WindowStaysOnTopHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint),
      m_host(std::move(host))
{
    frmMap = this;
    setObjectName(QStringLiteral("frmMap"));
    setWindowTitle(QStringLiteral("Карта"));
    setMaximumSize(MaxMapSide, MaxMapSide);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    m_mapImg = new TMapImage(this);
    layout->addWidget(m_mapImg);
    move(573, -9);
    resize(131, 81);
}

TfrmMap::~TfrmMap()
{
    if (isVisible()) {
        try {
            SaveBounds();
        } catch (...) {
        }
    }
    if (frmMap == this)
        frmMap = nullptr;
}

void TfrmMap::DrawMap()
{
    if (m_drawing || !m_host.Tables)
        return;
    m_drawing = true;
    struct TRelease
    {
        bool &Flag;
        ~TRelease() { Flag = false; }
    } release{m_drawing};
    const QSize size = m_mapImg->size().expandedTo(QSize(1, 1));
    if (m_image.size() != size)
        m_image = QImage(size, QImage::Format_RGB32);
    {
        TQtCanvas canvas(&m_image);
        const TSize sheet = m_host.SheetSize ? m_host.SheetSize() : TSize{1500, 1000};
        m_map.Draw(canvas, size.width(), size.height(), *m_host.Tables, m_host.WorldRect(), m_host.VisibleRect(),
                   m_host.ShowSheet && m_host.ShowSheet(), sheet.cx, sheet.cy);
    }
    m_mapImg->update();
}

void TfrmMap::MapImgMouseUp(int x, int y)
{
    TPoint scheme;
    if (m_map.SchemePoint(x, y, scheme) && m_host.CenterOn)
        m_host.CenterOn(scheme.X, scheme.Y);
}

void TfrmMap::SaveBounds() const
{
    TSettingsStore store;
    store.OpenKey(m_host.SettingsKey, true);
    const int values[] = {pos().y(), pos().x(), width(), height()};
    for (int i = 0; i < 4; ++i)
        store.WriteInteger(QString::fromLatin1(BoundNames[i]), values[i]);
}

void TfrmMap::LoadBounds()
{
    TSettingsStore store;
    if (!store.KeyExists(m_host.SettingsKey) || !store.OpenKeyReadOnly(m_host.SettingsKey))
        return;
    int values[] = {pos().y(), pos().x(), width(), height()};
    for (int i = 0; i < 4; ++i) {
        const QString name = QString::fromLatin1(BoundNames[i]);
        if (!store.ValueExists(name))
            continue;
        try {
            values[i] = store.ReadInteger(name);
        } catch (const ESettingsError &) {
            // A value of another kind leaves that bound as it is.
        }
    }
    move(values[1], values[0]);
    resize(std::clamp(values[2], 1, MaxMapSide), std::clamp(values[3], 1, MaxMapSide));
}

void TfrmMap::showEvent(QShowEvent *event)
{
    GuardedCall([this] { LoadBounds(); });
    QWidget::showEvent(event);
    DrawMap();
}

void TfrmMap::hideEvent(QHideEvent *event)
{
    QWidget::hideEvent(event);
    if (event->spontaneous())
        return;
    if (m_host.Hidden)
        m_host.Hidden();
    GuardedCall([this] { SaveBounds(); });
}
