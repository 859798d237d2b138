#include "shell/scheme_ini.h"

#include "platform/ini_file.h"
#include "platform/paths.h"

TSchemeIniSettings SchemeIniSettings;
QString SchemeFontName = QStringLiteral("Arial");

TSchemeIniSettings LoadSchemeIni(const QString &fileName)
{
    const TIniFile ini(fileName);
    TSchemeIniSettings s;
    const QString fonts = QStringLiteral("fonts");
    s.FontName = ini.ReadString(fonts, QStringLiteral("name"), s.FontName);
    s.Charset = ini.ReadInteger(fonts, QStringLiteral("charset"), s.Charset);

    const QString test = QStringLiteral("test");
    auto flag = [&](const char *key, bool &value) { value = ini.ReadBool(test, QString::fromLatin1(key), value); };
    flag("sheet", s.Sheet);
    flag("text", s.Text);
    flag("branch", s.Branch);
    flag("bsymb", s.BSymb);
    flag("node", s.Node);
    flag("grid", s.Grid);
    flag("fans", s.Fans);
    flag("vmps", s.Vmps);
    flag("door", s.Door);
    flag("arrow", s.Arrow);
    flag("nball", s.NBall);
    flag("bball", s.BBall);
    flag("pla", s.Pla);
    flag("phones", s.Phones);

    const QString draw = QStringLiteral("draw");
    s.ArrowDraw = ini.ReadInteger(draw, QStringLiteral("arrowdraw"), s.ArrowDraw);
    s.ArrowPrint = ini.ReadInteger(draw, QStringLiteral("arrowprint"), s.ArrowPrint);
    return s;
}

void ReadSchemeIni(const QString &folder)
{
    const QString base = folder.isEmpty() ? StartFolder() : folder;
    SchemeIniSettings = LoadSchemeIni(base + QStringLiteral("/scheme.ini"));
    SchemeFontName = SchemeIniSettings.FontName;
}
