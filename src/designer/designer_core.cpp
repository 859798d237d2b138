#include "designer/designer_core.h"

#include "platform/prompt.h"
#include "platform/settings_store.h"
#include "report/report_page.h"
#include "report/template_file.h"

#include <cmath>

double PixelsToUnits(int pixels, int units)
{
    switch (units) {
    case 1: return pixels / 18.0 * 5.0;
    case 2: return pixels / 18.0 * 5.0 / 25.4;
    default: return pixels;
    }
}

int UnitsToPixels(double value, int units)
{
    switch (units) {
    case 1: return int(std::nearbyint(value / 5.0 * 18.0));
    case 2: return int(std::nearbyint(value * 25.4 / 5.0 * 18.0));
    default: return int(std::nearbyint(value));
    }
}

QString UnitsName(int units)
{
    switch (units) {
    case 1: return QStringLiteral("Миллиметры");
    case 2: return QStringLiteral("Дюймы");
    default: return QStringLiteral("Пикселы");
    }
}

void FixSubReportPages(TfrPages &pages, int n)
{
    for (int p = 0; p < pages.Count(); ++p) {
        TfrPage &page = pages.GetPage(p);
        for (int i = int(page.TemplateObjects.size()) - 1; i >= 0; --i) {
            auto *sub = dynamic_cast<TfrSubReportView *>(page.TemplateObjects[i].get());
            if (!sub || sub->ReportObjectType != gtSubReport)
                continue;
            if (sub->PageIndex == n)
                page.Delete(i);
            else if (sub->PageIndex > n)
                --sub->PageIndex;
        }
    }
}

namespace {

int BandTypeOf(const TfrView &v)
{
    const auto *band = dynamic_cast<const TfrBandView *>(&v);
    return band && v.ReportObjectType == gtBand ? band->GetBandType() : -1;
}

} // namespace

void OrderBands(TfrPage &page)
{
    auto &objects = page.TemplateObjects;
    std::stable_partition(objects.begin(), objects.end(), [](const auto &v) { return BandTypeOf(*v) >= 0; });
    const auto bandsEnd = std::find_if(objects.begin(), objects.end(), [](const auto &v) { return BandTypeOf(*v) < 0; });
    const auto title = std::find_if(objects.begin(), bandsEnd, [](const auto &v) { return BandTypeOf(*v) == 13; });
    if (title != bandsEnd)
        std::rotate(objects.begin(), title, title + 1);
    std::stable_partition(objects.begin(), bandsEnd, [](const auto &v) {
        const int t = BandTypeOf(*v);
        return t < 18 || t > 20;
    });
}

bool PageHasBand(const TfrPage &page, int bandType)
{
    return std::any_of(page.TemplateObjects.begin(), page.TemplateObjects.end(),
                       [bandType](const auto &v) { return BandTypeOf(*v) == bandType; });
}

int FreeBandType(const TfrPage &page)
{
    for (int t = 0; t <= 20; ++t)
        if (!PageHasBand(page, t))
            return t;
    return 5;
}

std::pair<int, int> DefaultMemoSize(int gridSize, int fontSize)
{
    int width = gridSize == 18 ? 108 : 96;
    int height = gridSize == 18 ? 18 : 16;
    if (fontSize == 12 || fontSize == 13)
        height = 20;
    else if (fontSize >= 14 && fontSize <= 16)
        height = 24;
    return {width, height};
}

QString LibraryRegistryRoot() { return QStringLiteral("Software\\Kvadrep\\") + ApplicationTitle; }

int ReadStoredInt(const TSettingsStore &store, const QString &name, int defaultValue)
{
    if (!store.ValueExists(name))
        return defaultValue;
    bool ok = false;
    int value = 0;
    try {
        value = store.ReadString(name).trimmed().toInt(&ok);
    } catch (const ESettingsError &) {
        try {
            value = store.ReadInteger(name);
            ok = true;
        } catch (const ESettingsError &) {
        }
    }
    return ok ? value : defaultValue;
}

bool ReadStoredFlag(const TSettingsStore &store, const QString &name, bool defaultValue)
{
    return ReadStoredInt(store, name, defaultValue ? 1 : 0) != 0;
}

void WriteStoredInt(TSettingsStore &store, const QString &name, int value)
{
    store.WriteString(name, QString::number(value));
}

namespace {

QString Section(const QString &kind, const QString &name) { return LibraryRegistryRoot() + u'\\' + kind + u'\\' + name; }

} // namespace

TDesignerOptions ReadDesignerOptions(TSettingsStore &store, const QString &formName)
{
    TDesignerOptions o;
    if (!store.OpenKey(Section(QStringLiteral("Form"), formName), true))
        return o;
    o.GridSize = ReadStoredInt(store, QStringLiteral("GridSize"), 4);
    o.GridAlign = ReadStoredFlag(store, QStringLiteral("GridAlign"), true);
    o.GridShow = ReadStoredFlag(store, QStringLiteral("GridShow"), true);
    o.Units = ReadStoredInt(store, QStringLiteral("Units"), 0);
    o.GrayButtons = ReadStoredFlag(store, QStringLiteral("GrayButtons"), false);
    o.EditAfterInsert = ReadStoredFlag(store, QStringLiteral("EditAfterInsert"), true);
    o.Lang = ReadStoredInt(store, QStringLiteral("Lang"), 0);
    store.CloseKey();
    return o;
}

void WriteDesignerOptions(TSettingsStore &store, const QString &formName, const TDesignerOptions &o)
{
    store.OpenKey(Section(QStringLiteral("Form"), formName), true);
    WriteStoredInt(store, QStringLiteral("GridShow"), o.GridShow);
    WriteStoredInt(store, QStringLiteral("GridAlign"), o.GridAlign);
    WriteStoredInt(store, QStringLiteral("GridSize"), o.GridSize);
    WriteStoredInt(store, QStringLiteral("Units"), o.Units);
    WriteStoredInt(store, QStringLiteral("GrayButtons"), o.GrayButtons);
    WriteStoredInt(store, QStringLiteral("EditAfterInsert"), o.EditAfterInsert);
    WriteStoredInt(store, QStringLiteral("Lang"), o.Lang);
    store.CloseKey();
}

bool ReadToolBarState(TSettingsStore &store, const QString &name, TToolBarState &s)
{
    const QString key = Section(QStringLiteral("ToolBar"), name);
    const bool existed = store.KeyExists(key);
    store.OpenKey(key, true);
    s.X = ReadStoredInt(store, QStringLiteral("XPosition"), s.X);
    s.Y = ReadStoredInt(store, QStringLiteral("YPosition"), s.Y);
    s.Width = ReadStoredInt(store, QStringLiteral("Width"), s.Width);
    s.Height = ReadStoredInt(store, QStringLiteral("Height"), s.Height);
    s.Floating = ReadStoredFlag(store, QStringLiteral("isFloat"), false);
    if (store.ValueExists(QStringLiteral("DockName")))
        s.DockName = store.ReadString(QStringLiteral("DockName"));
    s.Visible = ReadStoredFlag(store, QStringLiteral("isVisible"), true);
    store.CloseKey();
    return existed;
}

void WriteToolBarState(TSettingsStore &store, const QString &name, const TToolBarState &s)
{
    store.OpenKey(Section(QStringLiteral("ToolBar"), name), true);
    WriteStoredInt(store, QStringLiteral("isFloat"), s.Floating);
    WriteStoredInt(store, QStringLiteral("isVisible"), s.Visible);
    WriteStoredInt(store, QStringLiteral("XPosition"), s.X);
    WriteStoredInt(store, QStringLiteral("YPosition"), s.Y);
    WriteStoredInt(store, QStringLiteral("Width"), s.Width);
    WriteStoredInt(store, QStringLiteral("Height"), s.Height);
    if (!s.Floating)
        store.WriteString(QStringLiteral("DockName"), s.DockName);
    store.CloseKey();
}

void ReadFormState(TSettingsStore &store, const QString &name, TFormState &s)
{
    store.OpenKey(Section(QStringLiteral("Form"), name), true);
    s.X = ReadStoredInt(store, QStringLiteral("XPosition"), s.X);
    s.Y = ReadStoredInt(store, QStringLiteral("YPosition"), s.Y);
    s.Width = ReadStoredInt(store, QStringLiteral("Width"), s.Width);
    s.Height = ReadStoredInt(store, QStringLiteral("Height"), s.Height);
    s.Visible = ReadStoredFlag(store, QStringLiteral("isVisible"), true);
    store.CloseKey();
}

void WriteFormState(TSettingsStore &store, const QString &name, const TFormState &s)
{
    store.OpenKey(Section(QStringLiteral("Form"), name), true);
    WriteStoredInt(store, QStringLiteral("isVisible"), s.Visible);
    WriteStoredInt(store, QStringLiteral("XPosition"), s.X);
    WriteStoredInt(store, QStringLiteral("YPosition"), s.Y);
    WriteStoredInt(store, QStringLiteral("Width"), s.Width);
    WriteStoredInt(store, QStringLiteral("Height"), s.Height);
    store.CloseKey();
}
