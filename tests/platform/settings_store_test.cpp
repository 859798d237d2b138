#include "platform/file_association.h"
#include "platform/ini_file.h"
#include "platform/paths.h"
#include "platform/settings_store.h"

#include <QtCore/QDir>
#include <QtCore/QFile>
#include <QtCore/QTemporaryDir>

#include <gtest/gtest.h>

namespace {

void WriteFile(const QString &name, const QByteArray &content)
{
    QFile f(name);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(content);
}

} // namespace

TEST(SettingsStore, ValuesKeepTheirKindAcrossStoreObjects)
{
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("machine.ini"));
    const QString key = QStringLiteral("Software\\Zyr\\ZyrVentilation\\2002.xx\\/opt/tun vex/bin/tunvex");
    {
        TSettingsStore store(file);
        EXPECT_FALSE(store.OpenKeyReadOnly(key));
        ASSERT_TRUE(store.OpenKey(key, true));
        store.WriteBool(QStringLiteral("GridIsOn"), true);
        store.WriteInteger(QStringLiteral("FireTime"), -90);
        // Texts that would break a line or the file's syntax apart.
        store.WriteString(QStringLiteral("Password"), QStringLiteral(" a=b;[c]%20\nd\\ "));
        store.WriteString(QStringLiteral("MinesLocation"), QStringLiteral("/дом/Шахты"));
        store.WriteBinaryData(QStringLiteral("Colors"), QByteArray("\x00\xff\x10", 3));
    }
    TSettingsStore store(file);
    EXPECT_TRUE(store.KeyExists(QStringLiteral("software\\zyr")));
    EXPECT_FALSE(store.KeyExists(QStringLiteral("Software\\Zy")));
    ASSERT_TRUE(store.OpenKeyReadOnly(key.toUpper()));
    EXPECT_TRUE(store.ReadBool(QStringLiteral("gridison")));
    EXPECT_EQ(store.ReadInteger(QStringLiteral("FireTime")), -90);
    EXPECT_EQ(store.ReadString(QStringLiteral("Password")), QStringLiteral(" a=b;[c]%20\nd\\ "));
    EXPECT_EQ(store.ReadString(QStringLiteral("MinesLocation")), QStringLiteral("/дом/Шахты"));
    EXPECT_EQ(store.ReadBinaryData(QStringLiteral("Colors")), QByteArray("\x00\xff\x10", 3));
    EXPECT_EQ(store.GetValueNames().size(), 5);
}

TEST(SettingsStore, TypedReadsFailOnMissingOrOtherKindsExceptMissingText)
{
    QTemporaryDir dir;
    TSettingsStore store(dir.filePath(QStringLiteral("s.ini")));
    ASSERT_TRUE(store.OpenKey(QStringLiteral("K"), true));
    store.WriteString(QStringLiteral("Text"), QStringLiteral("1"));
    store.WriteInteger(QStringLiteral("Number"), 1);
    EXPECT_THROW(store.ReadInteger(QStringLiteral("Missing")), ESettingsError);
    EXPECT_THROW(store.ReadBool(QStringLiteral("Text")), ESettingsError);
    EXPECT_THROW(store.ReadString(QStringLiteral("Number")), ESettingsError);
    EXPECT_THROW(store.ReadBinaryData(QStringLiteral("Number")), ESettingsError);
    EXPECT_EQ(store.ReadString(QStringLiteral("Missing")), QString());
    // Rewriting a value changes its kind.
    store.WriteInteger(QStringLiteral("text"), 0);
    EXPECT_FALSE(store.ReadBool(QStringLiteral("Text")));
    EXPECT_TRUE(store.DeleteValue(QStringLiteral("TEXT")));
    EXPECT_FALSE(store.ValueExists(QStringLiteral("Text")));
    // Nothing is written without an open key.
    store.CloseKey();
    EXPECT_THROW(store.WriteInteger(QStringLiteral("Number"), 2), ESettingsError);
}

TEST(SettingsStore, WritesOfTwoObjectsDoNotUndoEachOther)
{
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("s.ini"));
    TSettingsStore a(file), b(file);
    a.OpenKey(QStringLiteral("K\\View"), true);
    b.OpenKey(QStringLiteral("K\\RecentFiles"), true);
    a.WriteBool(QStringLiteral("Phones"), true);
    b.WriteString(QStringLiteral("File0"), QStringLiteral("/a.mine"));
    a.WriteBool(QStringLiteral("Text"), true);
    TSettingsStore c(file);
    ASSERT_TRUE(c.OpenKeyReadOnly(QStringLiteral("K\\RecentFiles")));
    EXPECT_EQ(c.ReadString(QStringLiteral("File0")), QStringLiteral("/a.mine"));
    ASSERT_TRUE(c.OpenKeyReadOnly(QStringLiteral("K\\View")));
    EXPECT_TRUE(c.ReadBool(QStringLiteral("Phones")));
    EXPECT_TRUE(c.DeleteKey(QStringLiteral("K")));
    EXPECT_FALSE(c.KeyExists(QStringLiteral("K\\View")));
}

TEST(SettingsStore, ScopesLiveInTheConfigurationFolder)
{
    QTemporaryDir dir;
    const QByteArray old = qgetenv("TUNVEX_CONFIG_DIR");
    qputenv("TUNVEX_CONFIG_DIR", dir.path().toUtf8());
    EXPECT_EQ(ConfigFolder(), dir.path());
    EXPECT_EQ(TSettingsStore(TSettingsScope::Machine).FileName(), dir.filePath(QStringLiteral("machine.ini")));
    EXPECT_EQ(TSettingsStore(TSettingsScope::User).FileName(), dir.filePath(QStringLiteral("user.ini")));
    EXPECT_EQ(DataHomeFolder(), dir.filePath(QStringLiteral("share")));
    qputenv("TUNVEX_CONFIG_DIR", old);
}

TEST(IniFile, WindowsRulesForNamesValuesAndNumbers)
{
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("a.ini"));
    WriteFile(file,
              "orphan=1\r\n"
              "[Fonts]\r\n"
              "  NAME = \"Times New Roman\" \r\n"
              "Name=second\r\n"
              "; charset=5\r\n"
              "[TEST]\r\n"
              "Hex=0x1F\r\n"
              "Bad=yes\r\n"
              "Zero=0\r\n"
              "Empty=\r\n"
              "[fonts]\r\n"
              "charset=204\r\n");
    const TIniFile ini(file);
    EXPECT_EQ(ini.ReadString(QStringLiteral("fonts"), QStringLiteral("name"), QString()), QStringLiteral("Times New Roman"));
    EXPECT_EQ(ini.ReadInteger(QStringLiteral("fonts"), QStringLiteral("charset"), 0), 204);
    EXPECT_EQ(ini.ReadInteger(QStringLiteral("test"), QStringLiteral("hex"), 0), 31);
    EXPECT_EQ(ini.ReadInteger(QStringLiteral("test"), QStringLiteral("bad"), 7), 7);
    EXPECT_TRUE(ini.ReadBool(QStringLiteral("test"), QStringLiteral("bad"), true));
    EXPECT_FALSE(ini.ReadBool(QStringLiteral("test"), QStringLiteral("zero"), true));
    EXPECT_TRUE(ini.ReadBool(QStringLiteral("test"), QStringLiteral("empty"), true));
    EXPECT_EQ(ini.ReadString(QStringLiteral("test"), QStringLiteral("empty"), QStringLiteral("d")), QString());
    EXPECT_FALSE(ini.ValueExists(QString(), QStringLiteral("orphan")));
    EXPECT_EQ(ini.ReadString(QStringLiteral("none"), QStringLiteral("x"), QStringLiteral("d")), QStringLiteral("d"));
}

TEST(IniFile, Reads1251AndMissingFiles)
{
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("a.ini"));
    WriteFile(file, "[fonts]\nname=\xc0\xf0\xe8\xe0\xeb\n");  // "Ариал" in 1251
    EXPECT_EQ(TIniFile(file).ReadString(QStringLiteral("fonts"), QStringLiteral("name"), QString()), QStringLiteral("Ариал"));
    EXPECT_EQ(TIniFile(dir.filePath(QStringLiteral("none.ini"))).ReadInteger(QStringLiteral("a"), QStringLiteral("b"), 3), 3);
}

TEST(FileAssociation, WritesMimeTypeAndDesktopEntryUnderTheDataFolder)
{
    QTemporaryDir dir;
    const QByteArray old = qgetenv("TUNVEX_CONFIG_DIR");
    qputenv("TUNVEX_CONFIG_DIR", dir.path().toUtf8());
    TFileAssociation a{QStringLiteral("tunvex-mine"), QStringLiteral("application/x-tunvex-mine"),
                       QStringLiteral("Файл <шахта>"), {QStringLiteral("*.mine")}, QStringLiteral("Tunvex"),
                       QStringLiteral("/opt/my \"tun\"/tunvex")};
    EXPECT_TRUE(RegisterFileAssociation(a));
    QFile mime(dir.filePath(QStringLiteral("share/mime/packages/tunvex-mine.xml")));
    ASSERT_TRUE(mime.open(QIODevice::ReadOnly));
    const QString xml = QString::fromUtf8(mime.readAll());
    EXPECT_TRUE(xml.contains(QStringLiteral("<comment>Файл &lt;шахта&gt;</comment>")));
    EXPECT_TRUE(xml.contains(QStringLiteral("pattern=\"*.mine\" case-sensitive=\"false\"")));
    QFile desktop(dir.filePath(QStringLiteral("share/applications/tunvex-mine.desktop")));
    ASSERT_TRUE(desktop.open(QIODevice::ReadOnly));
    EXPECT_TRUE(QString::fromUtf8(desktop.readAll()).contains(QStringLiteral("Exec=\"/opt/my \\\\\"tun\\\\\"/tunvex\" %f\n")));
    qputenv("TUNVEX_CONFIG_DIR", old);
}
