#include "report/dataset.h"

void TfrDataset::First()
{
    RecordNo = 0;
    if (OnFirst)
        OnFirst(this);
}

void TfrDataset::Next()
{
    ++RecordNo;
    if (OnNext)
        OnNext(this);
}

bool TfrDataset::Eof()
{
    bool eof = RangeEnd == reCount && RecordNo >= RangeEndCount;
    if (OnCheckEOF)
        OnCheckEOF(this, eof);
    return eof;
}

TField *TDataSet::FieldByName(const QString &name) const
{
    TField *field = FindField(name);
    if (!field)
        throw EDatabaseError(QStringLiteral("%1: Field '%2' not found").arg(Name, name));
    return field;
}

void TDataSource::Notification(TfrComponent *removed)
{
    if (removed == DataSet)
        DataSet = nullptr;
}

TDataSet *TfrDBDataSet::GetDataSet() const
{
    if (!DataSource || !DataSource->DataSet)
        throw EDSError(QStringLiteral("Unable to open Dataset"));
    return DataSource->DataSet;
}

void TfrDBDataSet::OpenSource()
{
    TDataSet *ds = GetDataSet();
    if (OpenDataSource)
        ds->Open();
    if (OnOpen)
        OnOpen(this);
}

void TfrDBDataSet::CloseSource()
{
    if (OnClose)
        OnClose(this);
    if (CloseDataSource)
        GetDataSet()->Close();
}

void TfrDBDataSet::Init()
{
    OpenSource();
    m_startBookmark = GetDataSet()->GetBookmark();
    m_hasStart = true;
    m_endReached = false;
}

void TfrDBDataSet::Exit()
{
    if (m_hasStart) {
        if (RangeBegin == rbCurrent || RangeEnd == reCurrent)
            GetDataSet()->GotoBookmark(m_startBookmark);
        m_startBookmark.clear();
        m_hasStart = false;
    }
    CloseSource();
}

void TfrDBDataSet::First()
{
    TDataSet *ds = GetDataSet();
    if (RangeBegin == rbFirst)
        ds->First();
    else if (m_hasStart)
        ds->GotoBookmark(m_startBookmark);
    m_endReached = false;
    TfrDataset::First();
}

void TfrDBDataSet::Next()
{
    m_endReached = false;
    TDataSet *ds = GetDataSet();
    if (RangeEnd == reCurrent) {
        // The range ends at the record that was current at Init. Until that
        // record is reached the data set moves on, so that a range starting
        // before it comes to an end.
        if (m_hasStart && ds->GetBookmark() == m_startBookmark) {
            m_endReached = true;
            return;
        }
        ds->Next();
        TfrDataset::Next();
        return;
    }
    ds->Next();
    TfrDataset::Next();
}

bool TfrDBDataSet::Eof()
{
    return TfrDataset::Eof() || GetDataSet()->Eof() || m_endReached;
}

void TfrDBDataSet::Notification(TfrComponent *removed)
{
    if (removed == DataSource)
        DataSource = nullptr;
}
