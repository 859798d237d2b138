#pragma once
// Small pieces the designer's dialogs share.
#include "platform/colors.h"

#include <QtGui/QPixmap>
#include <QtWidgets/QBoxLayout>
#include <QtWidgets/QDialog>
#include <QtWidgets/QLineEdit>
#include <QtWidgets/QPushButton>

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
// A button's glyph: a square of the colour (none for no colour).
void ShowColor(QPushButton *button, TColor color);
// Small drawn glyphs of the dialogs' picture buttons and pictures.
enum class TGlyph { Copy, Paste, PortraitPage, LandscapePage };
QPixmap Glyph(TGlyph glyph);
// The field dialog; confirmed tells OK on a value from cancel or "[Нет]".
QString ChooseDBFieldConfirmed(QWidget *parent, bool &confirmed);
