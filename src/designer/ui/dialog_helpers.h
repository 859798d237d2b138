#pragma once
// Small pieces the designer's dialogs share.
#include "platform/colors.h"

#include <QtGui/QPixmap>
#include <QtWidgets/QBoxLayout>
#include <QtWidgets/QDialog>
#include <QtWidgets/QLineEdit>
#include <QtWidgets/QPushButton>

class QLabel;
struct TfrPicture;

// A child with an object name, by which tests and the designer find it.
template <class TWidget> TWidget *Named(QWidget *parent, const char *name)
{
    auto *w = new TWidget(parent);
    w->setObjectName(QString::fromLatin1(name));
    return w;
}
template <class TWidget> TWidget *Named(QWidget *parent, const char *name, const QString &text)
{
    auto *w = new TWidget(text, parent);
    w->setObjectName(QString::fromLatin1(name));
    return w;
}

// "ОК" (default) and "Отмена" at the end of the row.
void AddOkCancel(QDialog *dialog, QBoxLayout *row);
// A row of its own with them at the right.
QHBoxLayout *OkCancelRow(QDialog *dialog);
// An undo step of the modify kind in the linked designer, when there is one.
void RecordUndoModify();
// Tells the user that a box does not hold a whole number, in the words of
// the program's integer conversion.
void ShowIntegerError(const QString &text);
// A button's glyph: a square of the colour (none for no colour).
void ShowColor(QPushButton *button, TColor color);
// Small drawn glyphs of the dialogs' picture buttons and pictures.
enum class TGlyph { Copy, Paste, PortraitPage, LandscapePage };
QPixmap Glyph(TGlyph glyph);
// Pictures as the dialogs show them: a bitmap, icon or metafile drawn at
// its own size, or stretched to the box on request.
QLabel *PictureBox(QWidget *parent, const char *name, int width, int height);
void ShowPicture(QLabel *label, const QByteArray &bytes, bool stretched);
// Reads a picture file, its kind told by its content: a bitmap, icon or
// metafile as it is, another raster picture (PNG, JPEG, GIF...) made a
// bitmap, the form that templates hold. Tells the user, naming the formats
// taken, and returns false when it cannot be read.
bool ReadPictureFile(const QString &fileName, TfrPicture &picture);
// The field dialog; confirmed tells OK on a value from cancel or "[Нет]".
QString ChooseDBFieldConfirmed(QWidget *parent, bool &confirmed);
// The variable list editor: categories and variables as lines of text.
bool EditVariableList(QStringList &lines, QWidget *parent);
