#pragma once
// The entry points of the designer's dialogs. Each shows its window
// modally over `parent`, edits the objects it is given and returns whether
// the user confirmed. Undo steps go to the linked designer when there is one.
#include "designer/designer_core.h"
#include "designer/wizard_layout.h"
#include "platform/colors.h"

#include <QtCore/QByteArray>
#include <QtCore/QString>
#include <QtCore/QStringList>

#include <vector>

class QWidget;
class TfrMemoView;
class TfrPage;
class TfrPictureView;
class TfrReport;
class TfrView;

// The text and script of the one selected object (none opens with several).
bool EditObjectText(const std::vector<TfrView *> &selection, QWidget *parent);
// Display format word and pattern of an object.
bool EditDisplayFormat(TfrView &view, QWidget *parent);
// The highlight condition and attributes of a text object.
bool EditHighlight(TfrMemoView &memo, QWidget *parent);
// One data set field or special value as a reference without brackets;
// empty when cancelled or nothing was chosen.
QString ChooseDBField(QWidget *parent);
// A variable of the report's list; false when cancelled.
bool ChooseVariable(const TfrReport &report, QString &name, QWidget *parent);

struct TInsertFieldsChoice
{
    QString DataSet;
    QStringList Fields;
    bool Vertical = false;
    bool Headers = true;
};
// The wizard's dialog; false when cancelled or no data set was chosen.
bool AskInsertFields(TInsertFieldsChoice &choice, QWidget *parent);
// "Вставка полей БД в отчет": asks, then appends the text objects for the
// chosen fields to the page (from the top left, in the font of new objects)
// and returns them selected; the designer deselects the rest first and
// records one insertion step for them. Nothing when cancelled.
std::vector<TfrMemoView *> InsertDBFields(TfrPage &page, const TWizardOptions &base, const QString &fontName,
                                          int fontSize, QWidget *parent);

bool EditPageOptions(TfrPage &page, QWidget *parent);
bool EditReportOptions(TfrReport &report, QWidget *parent);
// The type of a new band, -1 when cancelled.
int ChooseBandType(const TfrPage &page, QWidget *parent);
// The condition of a group-header band.
bool EditGroupCondition(TfrView &band, QWidget *parent);

bool EditDesignerOptions(TDesignerOptions &options, QWidget *parent);

// The path of the template chosen in "Новый отчет", empty when cancelled.
QString ChooseTemplate(const QString &templateFolder, QWidget *parent);
// Description and picture (BMP bytes) for "save as template".
bool AskTemplateDescription(QStringList &description, QByteArray &picture, QWidget *parent);
// "&Создать...": the chosen template replaces the report's template, body
// included; false when cancelled. A damaged file raises EReportFileError.
bool NewReportFromTemplate(TfrReport &report, const QString &templateFolder, QWidget *parent);
// "Сохранить &как..." as a template: asks for the description and picture
// and writes the file into the template folder; returns its path, empty
// when cancelled.
QString SaveReportAsTemplate(TfrReport &report, const QString &templateFolder, const QString &chosenFile,
                             QWidget *parent);
// The picture of a picture object.
bool EditPicture(TfrPictureView &view, QWidget *parent);
void ShowAboutBox(QWidget *parent);

// "Список переменных...": binds the report's variables; Cancel restores them.
bool ShowVariablesEditor(TfrReport &report, QWidget *parent);

// The record source of a master, detail or subdetail data band.
bool EditBandSource(TfrView &band, QWidget *parent);
// The record sources a cross data band pairs with the bands of its page.
bool EditCrossBandSources(TfrView &crossBand, const TfrPage &page, QWidget *parent);
