// The reader over many damaged copies of a real scheme file: whatever the
// damage, it either loads or fails with a message, and a failure leaves the
// tables and the document as they were.
#include "model/scheme_file.h"
#include "platform/prompt.h"
#include "scheme_test_support.h"

#include <QtCore/QTemporaryDir>

#include <gtest/gtest.h>

#include <random>

namespace {

// Offsets of the record headers of a file.
std::vector<qsizetype> HeaderOffsets(const QByteArray &file)
{
    std::vector<qsizetype> offsets;
    qsizetype p = SchemeHeaderSize;
    while (p + RecordHeaderSize <= file.size()) {
        offsets.push_back(p);
        p += RecordHeaderSize + qFromLittleEndian<std::int32_t>(file.constData() + p + 2);
    }
    return offsets;
}

template <typename T>
void Put(QByteArray &file, qsizetype at, T value)
{
    if (at >= 0 && at + static_cast<qsizetype>(sizeof(T)) <= file.size())
        qToLittleEndian(value, file.data() + at);
}

QByteArray Damage(const QByteArray &good, const std::vector<qsizetype> &headers, std::mt19937 &rng)
{
    QByteArray file = good;
    const auto pick = [&rng](auto n) { return static_cast<decltype(n)>(std::uniform_int_distribution<long long>(0, n - 1)(rng)); };
    const std::int32_t odd32[] = {0, 1, -1, 2, 8, 10, 38, 366, 5000, 5001, 0x7FFFFFFF, INT32_MIN, 0x10000};
    const std::int16_t odd16[] = {0, 1, -1, 7, 31, 32, 5000, 5001, 32767, -32768};
    switch (pick(6)) {
    case 0: // cut anywhere
        file.truncate(pick(file.size()));
        break;
    case 1: // random bytes
        for (int i = 0, n = 1 + pick(8); i < n; ++i)
            file[pick(file.size())] = static_cast<char>(pick(256));
        break;
    case 2: { // a record header: tag, length or count
        const qsizetype h = headers[pick(headers.size())];
        const int field = pick(3);
        if (field == 0)
            Put<std::int16_t>(file, h, odd16[pick(std::size(odd16))]);
        else
            Put<std::int32_t>(file, h + 2 + 4 * (field - 1), odd32[pick(std::size(odd32))]);
        break;
    }
    case 3: { // an item number or other int16 inside the data
        const qsizetype h = headers[pick(headers.size())];
        Put<std::int16_t>(file, h + RecordHeaderSize + 2 * pick(8), odd16[pick(std::size(odd16))]);
        break;
    }
    case 4: // the file header: version, offset of the first record
        if (pick(2))
            Put<std::int16_t>(file, 6, odd16[pick(std::size(odd16))]);
        else
            Put<std::int32_t>(file, 8, odd32[pick(std::size(odd32))]);
        break;
    default: { // a record duplicated or dropped
        const std::size_t i = pick(headers.size());
        const qsizetype from = headers[i];
        const qsizetype to = i + 1 < headers.size() ? headers[i + 1] : file.size();
        if (pick(2))
            file.insert(to, file.mid(from, to - from));
        else
            file.remove(from, to - from);
        break;
    }
    }
    return file;
}

} // namespace

TEST(SchemeFileFuzz, DamagedFilesLoadOrFailCleanly)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("fuzz.mine"));
    {
        auto t = NewDocumentTables();
        TSchemeDocument doc;
        MakeFullScheme(*t, doc);
        ASSERT_TRUE(WriteMineFile(path, *t, doc, {}));
    }
    const QByteArray good = ReadAllBytes(path);
    const std::vector<qsizetype> headers = HeaderOffsets(good);
    const auto pristine = NewDocumentTables();
    auto t = NewDocumentTables();
    TScriptedPrompt prompt; // newer versions and old layouts ask nothing of a person here

    int failed = 0;
    std::mt19937 rng(20261210);
    for (int round = 0; round < 1500; ++round) {
        const QByteArray bad = Damage(good, headers, rng);
        WriteAllBytes(path, bad);
        *t = *pristine;
        TSchemeDocument doc;
        try {
            ReadMineFile(path, *t, doc);
        } catch (const Exception &e) {
            ++failed;
            ASSERT_FALSE(e.Message().isEmpty());
        }
        // Loaded or kept up to the failure, the network gives point lists to
        // present branches only, and symbol links name present branches.
        for (int n = 1; n <= MaxItems; ++n)
            ASSERT_EQ(t->BranchTurns[n].has_value(), BranchPresent(*t, n)) << "round " << round << " branch " << n;
        for (const TLink &link : doc.SymbolLinks)
            ASSERT_TRUE(BranchExist(*t, link.Branch)) << "round " << round;
    }
    // Most kinds of damage are noticed; some (a changed value) are not damage to the format.
    EXPECT_GT(failed, 300);
}
