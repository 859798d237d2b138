// The functions that the program exports to plug-ins and symbol libraries.
// This file is linked into the program itself only (and into the tests that
// load plug-ins): a plug-in that links the project's libraries must bind to
// these definitions, never carry its own copy over empty tables.
#define TUNVEX_API_QUALIFIED
#include "model/plugin_api.h"

#include "model/network.h"
#include "model/plugin_services.h"
#include "platform/codepage.h"

#include <QtCore/QByteArray>

namespace api = tunvex_api;

namespace {

// A text handed out in code page 1251, kept with the text it came from so
// that its bytes stay where they are until that text changes.
struct THandedText
{
    QString Text;
    QByteArray Bytes;

    const char *Of(const QString &text)
    {
        if (Bytes.isNull() || text != Text) {
            Text = text;
            Bytes = EncodeCp1251(text);
        }
        return Bytes.constData();
    }
};

TTable<THandedText> BranchNames;
THandedText FontInfName;
THandedText RecordedFontName;
api::FontInfoBlock RecordedFont{nullptr, 0};

bool FirstFree()
{
    const TPluginServices *s = PluginServices();
    return s ? s->NewObjectsIsFirstFree() : true;
}

std::uint8_t Flag(bool b)
{
    return b ? 1 : 0;
}

} // namespace

std::int32_t api::NodeCount() { return ::NodeCount(Net); }
std::int32_t api::BranchCount() { return ::BranchCount(Net); }
std::int32_t api::MaxNodeNo() { return ::MaxNodeNo(Net); }
std::int32_t api::MaxBranchNo() { return ::MaxBranchNo(Net); }
std::int16_t api::GetNewNodeNo() { return ::GetNewNodeNo(Net, FirstFree()); }
std::int16_t api::GetNewBranchNo() { return ::GetNewBranchNo(Net, FirstFree()); }
std::int32_t api::GetMaxItemsCount() { return MaxItems; }
std::uint8_t api::ValidItemIndex(std::int32_t n) { return Flag(::ValidItemIndex(n)); }

void api::CreateNode(std::int16_t n) { ::CreateNode(Net, n); }
void api::CreateBranch(std::int16_t n) { ::CreateBranch(Net, n); }
void api::DestroyNode(std::int16_t n) { ::DestroyNode(Net, n); }
void api::DestroyBranch(std::int16_t n) { ::DestroyBranch(Net, n); }
std::uint8_t api::NodeExist(std::int32_t n) { return Flag(::NodeExist(Net, n)); }
std::uint8_t api::BranchExist(std::int32_t n) { return Flag(::BranchExist(Net, n)); }
std::uint8_t api::IsFreeNode(std::int32_t n) { return Flag(::IsFreeNode(Net, n)); }
void api::InsertBranchEdgeTurns(std::int32_t n) { ::InsertBranchEdgeTurns(Net, n); }

void api::TouchNode(std::int32_t)
{
    if (TPluginServices *s = PluginServices())
        s->SetModified();
}

void api::TouchBranch(std::int32_t)
{
    if (TPluginServices *s = PluginServices())
        s->SetModified();
}

const char *api::GetBranchName(std::int32_t n)
{
    if (!::BranchExist(Net, n))
        return "";
    return BranchNames[static_cast<std::size_t>(n)].Of(::GetBranchName(Net, n));
}

void api::GetNodeInfoBlock(api::NodeInfoBlock *block)
{
    if (!block)
        return;
    block->NodeNo = &Net.NodeNo[1];
    block->NodeX = &Net.NodeX[1];
    block->NodeY = &Net.NodeY[1];
    block->NodeLiftToSurface = &Net.NodeLiftToSurface[1];
    block->NodeIsSurface = &Net.NodeIsSurface[1];
    block->NodeAltitude = &Net.NodeAltitude[1];
}

void api::GetBranchInfoBlock(api::BranchInfoBlock *block)
{
    if (!block)
        return;
    block->BranchNo = &Net.BranchNo[1];
    block->BranchStartNode = &Net.BranchStartNode[1];
    block->BranchEndNode = &Net.BranchEndNode[1];
    block->BranchLength = &Net.BranchLength[1];
    block->BranchPLAPosition = &Net.BranchPLAPosition[1];
    block->BranchPeople = &Net.BranchPeople[1];
    block->BranchR = &Net.BranchR[1];
    block->BranchAuxDepression = &Net.BranchAuxDepression[1];
    block->BranchQ = &Net.BranchQ[1];
    block->BranchAlpha = &Net.BranchAlpha[1];
    block->BranchStartTemp = &Net.BranchStartTemp[1];
    block->BranchEndTemp = &Net.BranchEndTemp[1];
    block->BranchArea = &Net.BranchArea[1];
    block->BranchHeight = &Net.BranchHeight[1];
    block->BranchAngle = &Net.BranchAngle[1];
    block->BranchFlags = &Net.BranchFlags[1];
    block->BranchLabelFlags = &Net.BranchLabelFlags[1];
    block->BranchIsFresh = &Net.BranchIsFresh[1];
}

double *api::PQtr() { return &Net.BranchRequiredFlow[1]; }
std::int16_t *api::PPriznDGS() { return &Net.BranchDGSMark[1]; }

void *api::MainApp()
{
    const TPluginServices *s = PluginServices();
    return s ? s->Application() : nullptr;
}

void *api::GetMainFormPtr()
{
    const TPluginServices *s = PluginServices();
    return s ? s->MainForm() : nullptr;
}

std::uintptr_t api::MainWindowHandle()
{
    const TPluginServices *s = PluginServices();
    return s ? s->MainWindowHandle() : 0;
}

std::int32_t api::GetCurrentBranch()
{
    const TPluginServices *s = PluginServices();
    return s ? s->CurrentBranch() : 0;
}

void api::SetFont(const char *name, std::int32_t size)
{
    if (TPluginServices *s = PluginServices())
        s->SetCanvasFont(name ? DecodeCp1251(QByteArray(name)) : QString(), size, false);
}

void api::SetDefaultFont()
{
    TPluginServices *s = PluginServices();
    if (!s)
        return;
    const QString name = s->SchemeFontName();
    const int size = s->LabelFontSize();
    RecordedFont.Name = RecordedFontName.Of(name);
    RecordedFont.Size = size;
    s->SetCanvasFont(name, size, true);
}

void api::GetFontInfoBlock(api::FontInfoBlock *block)
{
    if (block)
        *block = RecordedFont;
}

const char *api::GetFontInf(std::int32_t *size)
{
    const TPluginServices *s = PluginServices();
    if (size)
        *size = s ? s->LabelFontSize() : 0;
    return FontInfName.Of(s ? s->SchemeFontName() : QString());
}

std::int32_t api::GetBackColor()
{
    const TPluginServices *s = PluginServices();
    return s ? s->BackColor() : RGBColor(255, 255, 255);
}

void api::ClearSymbolList()
{
    if (TPluginServices *s = PluginServices())
        s->ClearSymbolList();
}
