#include "journal/journal_file.h"

#include "model/robust_stream.h"

#include <QtCore/QDir>

#include <cstring>

namespace {

constexpr char Magic[] = "xqWVJ";
constexpr int MagicSize = 5;
constexpr std::uint16_t HeaderSize = 9;

void ReadMeasurement(TRobustFileStream &s, TBranchRecord &m)
{
    m.Number = s.ReadValue<std::int16_t>();
    s.ReadString(m.Name);
    m.Sec = s.ReadValue<double>();
    m.Out = s.ReadValue<std::int32_t>();
    m.Speed = s.ReadValue<double>();
    m.Temperature = s.ReadValue<double>();
    m.Waternity = s.ReadValue<double>();
}

void WriteMeasurement(TRobustFileStream &s, const TBranchRecord &m)
{
    s.WriteValue(m.Number);
    s.WriteString(m.Name);
    s.WriteValue(m.Sec);
    s.WriteValue(m.Out);
    s.WriteValue(m.Speed);
    s.WriteValue(m.Temperature);
    s.WriteValue(m.Waternity);
}

// Counts come from the file: nothing is reserved by them, so a damaged count
// runs into the end of the file instead of into memory.
void ReadRubric(TRobustFileStream &s, TRubric &rubric)
{
    s.ReadString(rubric.Name);
    s.ReadString(rubric.Remarks);
    rubric.RubricType = s.ReadValue<std::uint8_t>();
    const auto count = s.ReadValue<std::int32_t>();
    for (std::int32_t i = 0; i < count; ++i) {
        auto record = std::make_unique<TRubricRecord>(&rubric);
        ReadMeasurement(s, record->InBranch);
        TExtendedBranchRecord &out = record->OutBranch;
        ReadMeasurement(s, out);
        s.ReadString(out.CH4);
        s.ReadString(out.CO2);
        s.ReadString(out.O2);
        s.ReadString(out.CO);
        rubric.Add(std::move(record));
    }
}

void WriteRubric(TRobustFileStream &s, const TRubric &rubric)
{
    s.WriteString(rubric.Name);
    s.WriteString(rubric.Remarks);
    s.WriteValue(rubric.RubricType);
    s.WriteValue<std::int32_t>(rubric.Count());
    for (int i = 0; i < rubric.Count(); ++i) {
        const TRubricRecord &record = *rubric.Items(i);
        WriteMeasurement(s, record.InBranch);
        const TExtendedBranchRecord &out = record.OutBranch;
        WriteMeasurement(s, out);
        s.WriteString(out.CH4);
        s.WriteString(out.CO2);
        s.WriteString(out.O2);
        s.WriteString(out.CO);
    }
}

void ReadJournal(TRobustFileStream &s, TKerstal &journal, const QString &fileName)
{
    char header[HeaderSize];
    s.Read(header, HeaderSize);
    if (std::memcmp(header, Magic, MagicSize) != 0)
        throw Exception(QStringLiteral("Похоже, что файл \"%1\" не является корректным файлом венжурнала")
                            .arg(fileName));
    if (qFromLittleEndian<std::uint16_t>(header + MagicSize) > JournalFileVersion)
        throw Exception(QStringLiteral("Невозможно прочитать файл вентжурнала.\rФайл \"%1\" был сохранен в "
                                       "новом, неизвестном формате.\r(Формат файла имеет более позднюю "
                                       "версию).\rОбратитесь к разработчикам за новой версией вентжурнала.")
                            .arg(fileName));
    // The header's last field, its length, means nothing to a reader.
    s.ReadString(journal.MineName);
    s.ReadString(journal.MineRemarks);
    journal.VGPCount = s.ReadValue<std::uint16_t>();
    journal.VJBegins = s.ReadValue<double>();
    journal.VJEnds = s.ReadValue<double>();
    const auto count = s.ReadValue<std::int32_t>();
    for (std::int32_t i = 0; i < count; ++i) {
        auto rubric = std::make_unique<TRubric>(&journal, false);
        ReadRubric(s, *rubric);
        journal.Add(std::move(rubric));
    }
}

} // namespace

QString JournalPath(const QString &folder, const QString &fileName)
{
    return folder.isEmpty() ? fileName : QDir(folder).filePath(fileName);
}

void LoadJournal(TKerstal &journal, const QString &folder)
{
    const QString path = JournalPath(folder, journal.FileName);
    TKerstal read(journal.FileName);
    try {
        TRobustFileStream s(path, TRobustFileStream::fmOpenRead);
        ReadJournal(s, read, journal.FileName);
    } catch (const EUnexpectedEOF &) {
        // The stream cannot tell the user which journal ended early.
        throw EUnexpectedEOF(journal.FileName);
    }
    journal.TakeContents(read);
    journal.Modified = false;
}

void SaveJournal(TKerstal &journal, const QString &path)
{
    TRobustFileStream s(path, TRobustFileStream::fmCreate);
    char header[HeaderSize];
    std::memcpy(header, Magic, MagicSize);
    qToLittleEndian(JournalFileVersion, header + MagicSize);
    qToLittleEndian(HeaderSize, header + MagicSize + 2);
    s.Write(header, HeaderSize);
    s.WriteString(journal.MineName);
    s.WriteString(journal.MineRemarks);
    s.WriteValue(journal.VGPCount);
    s.WriteValue(journal.VJBegins);
    s.WriteValue(journal.VJEnds);
    s.WriteValue<std::int32_t>(journal.Count());
    for (int i = 0; i < journal.Count(); ++i)
        WriteRubric(s, *journal.Items(i));
    s.Commit();
    journal.Modified = false;
}

void SaveIfModified(TKerstal &journal, const QString &folder)
{
    if (journal.Modified)
        SaveJournal(journal, JournalPath(folder, AddFileExt(journal.FileName, JournalExt)));
}

TOpenedJournals OpenAllJournals(const QString &folder)
{
    TOpenedJournals opened;
    // Name filters of QDir ignore letter case; the sort is by file name.
    // Hidden files count; pipes and devices do not (reading a pipe would
    // wait for ever), nor do links that lead nowhere.
    const QStringList names =
        QDir(folder).entryList({QStringLiteral("*.WVJ")}, QDir::Files | QDir::Hidden, QDir::Name);
    for (const QString &name : names) {
        auto journal = std::make_unique<TKerstal>(name);
        try {
            LoadJournal(*journal, folder);
        } catch (const Exception &e) {
            opened.Error = e.Message();
            break;
        }
        opened.Journals.push_back(std::move(journal));
    }
    return opened;
}
