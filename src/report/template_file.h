#pragma once
// The containers that report objects are stored in: the template pages and
// the template stream (*.frf, the body of *.frt), the prepared pages that a
// build fills and the prepared-report file (*.frp), and the value bindings
// a template carries. Everything is little-endian with 1251 texts.
#include "report/report_page.h"
#include "report/values.h"

#include <memory>
#include <vector>

// Tags of the template stream.
constexpr std::uint8_t TemplateRecordTag = 255;
constexpr std::uint8_t ValuesRecordTag = 254;
constexpr std::uint8_t DataManagerRecordTag = 253;

// The index byte of an object's page holds 256 pages at most.
constexpr int MaxTemplatePages = 256;

class TfrReportDocument;

class TfrPages
{
public:
    explicit TfrPages(TfrReportDocument *report = nullptr) : m_report(report) {}
    TfrReportDocument *Report() const { return m_report; }

    int Count() const { return static_cast<int>(m_pages.size()); }
    TfrPage &GetPage(int index) { return *m_pages.at(index); }
    const TfrPage &GetPage(int index) const { return *m_pages.at(index); }
    // A new A4 portrait page at the end.
    TfrPage &Add();
    void Delete(int index);
    void Clear() { m_pages.clear(); }
    void Swap(TfrPages &other) { m_pages.swap(other.m_pages); }
    // Takes a page at the end; gives the page at the index away unfreed.
    void Adopt(std::unique_ptr<TfrPage> page) { m_pages.push_back(std::move(page)); }
    std::unique_ptr<TfrPage> Release(int index)
    {
        std::unique_ptr<TfrPage> page = std::move(m_pages.at(index));
        m_pages.erase(m_pages.begin() + index);
        return page;
    }

private:
    TfrReportDocument *m_report;
    std::vector<std::unique_ptr<TfrPage>> m_pages;
};

// i32 count; per binding its kind, special index and three one-byte-length
// texts (data set, field, name). Texts longer than 255 bytes are cut there.
void WriteValueBindings(const TfrValues &values, TfrStream &stream);
void ReadValueBindings(TfrValues &values, TfrStream &stream);

// One prepared page: its paper and geometry, and the objects written into
// it by the build, as a stream (version byte 23, then object records).
struct TfrPreparedPage
{
    TRect PageRect;
    std::uint16_t PaperCode = 0;
    std::int32_t PaperWidth = 0;
    std::int32_t PaperHeight = 0;
    std::uint8_t Orientation = 0;
    bool HonourMargins = false;
    TPrinterInfo PrinterInfo;
    // Set by the preview for pages in view; drawing a page that is not
    // visible drops its page model and draws nothing.
    bool Visible = false;
    TfrStream Stream;
    std::unique_ptr<TfrPage> PageModel;
};

class TfrEMFPages
{
public:
    int Count() const { return static_cast<int>(m_pages.size()); }
    TfrPreparedPage &operator[](int index) { return *m_pages.at(index); }
    const TfrPreparedPage &operator[](int index) const { return *m_pages.at(index); }
    void Clear() { m_pages.clear(); }
    void Swap(TfrEMFPages &other) { m_pages.swap(other.m_pages); }

    // A new page with the template page's paper and geometry, at index
    // (at the end when the index is not below the count).
    TfrPreparedPage &Insert(int index, const TfrPage &templatePage);
    TfrPreparedPage &Add(const TfrPage &templatePage) { return Insert(Count(), templatePage); }
    void Delete(int index);

    // Draws the page's objects scaled from its page size into rect; objects
    // outside the canvas's clip are skipped unless the canvas is a printer.
    void Draw(int index, TCanvas &canvas, const TRect &rect);
    // Hands every object of the page to the export (ExportObject), at scale 1.
    void ExportPage(int index);
    // The page's objects rebuilt from its stream, evaluated text in Lines.
    void BuildPageModel(int index);
    // Writes an edited page model back into the page's stream.
    void StorePageModel(int index);

    // The prepared-report file body; printerName is the model's current printer.
    void SaveToStream(TfrStream &stream, const QString &printerName) const;
    // Pages read replace these only when the whole stream was read.
    void LoadFromStream(TfrStream &stream, TfrReportDocument *report);

private:
    std::vector<std::unique_ptr<TfrPreparedPage>> m_pages;
};

// Reads the objects of a page stream (its version byte first) one by one;
// the callback gets each object, read in prepared form.
void ForEachPreparedObject(TfrStream &stream, const std::function<void(std::unique_ptr<TfrView>)> &take);
// Reads every object of a page stream and drops it: an EReadError (or the
// reader's own Exception) when one is damaged.
void CheckPreparedObjects(TfrStream &stream);
