#include "report/ui/work_canvas.h"

#include "platform/ui/qt_canvas.h"
#include "report/report_objects.h"

#include <memory>

namespace {

struct TWorkBitmap
{
    QImage Image{8, 8, QImage::Format_RGB32};
    std::unique_ptr<TQtCanvas> Canvas;
};
std::unique_ptr<TWorkBitmap> Work;

} // namespace

void InstallWorkCanvas()
{
    if (Work)
        return;
    Work = std::make_unique<TWorkBitmap>();
    Work->Image.fill(Qt::white);
    Work->Canvas = std::make_unique<TQtCanvas>(&Work->Image);
    SetWorkCanvas(Work->Canvas.get());
}

void RemoveWorkCanvas()
{
    SetWorkCanvas(nullptr);
    Work.reset();
}
