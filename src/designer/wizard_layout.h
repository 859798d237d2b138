#pragma once
// The field wizard's layout and the template folder's names: what the
// designer's "Вставка полей БД в отчет" and "Новый отчет" need of the core.
#include <QtCore/QString>
#include <QtCore/QStringList>

#include <functional>
#include <vector>

class TDataSet;
class TfrPage;
class TfrMemoView;

struct TInsertedField
{
    QString Caption;  // the header text
    int Width = 0;    // display width in characters
    QString DataText; // [ds."field"]
};
// The fields of a data set chosen in the wizard: display width and label
// of the field, a width of 0 or above 255 counting as 10.
std::vector<TInsertedField> InsertedFields(const QString &dataSetName, const TDataSet *dataSet,
                                           const QStringList &fieldNames);

struct TWizardOptions
{
    int Grid = 4;
    int ObjectWidth = 96;  // a new text object's size
    int ObjectHeight = 16;
    bool Vertical = false;
    bool Headers = true;
    int SurfaceWidth = 794;
    int SurfaceHeight = 1123;
};
struct TPlacedText
{
    QString Text;
    int Left = 0, Top = 0, Width = 0, Height = 0;
    bool Bold = false;
};
// The text objects in creation order. textWidth measures a text in the
// font of new objects (bold for headers).
std::vector<TPlacedText> LayOutInsertedFields(const std::vector<TInsertedField> &fields,
                                              const TWizardOptions &options,
                                              const std::function<int(const QString &, bool bold)> &textWidth);

// Appends a text object for each placed text, named uniquely, in the font
// of new objects (bold headers), selected; returns them in order.
std::vector<TfrMemoView *> AppendPlacedTexts(TfrPage &page, const std::vector<TPlacedText> &texts,
                                             const QString &fontName, int fontSize);

// The template files (*.frt, files only) of a folder, without extension;
// an empty folder name means the start folder.
QStringList TemplateNames(const QString &folder);
QString TemplatePath(const QString &folder, const QString &name);
// Where "save as template" writes: the chosen name without its folder and
// with ".frt", in the template folder whatever folder the user chose.
QString TemplateSavePath(const QString &templateFolder, const QString &chosenFile);
