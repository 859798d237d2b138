#include "designer/ui/color_selector.h"

#include "designer/ui/dialog_helpers.h"
#include "platform/canvas.h"
#include "platform/ui/qt_canvas.h"

#include <QtWidgets/QButtonGroup>
#include <QtWidgets/QColorDialog>

const std::array<TColor, 16> TColorSelector::SelectorPalette = {
    0xFFFFFF, 0x000000, 0x000080, 0x008000, 0x008080, 0x800000, 0x800080, 0x808000,
    0x808080, 0xC0C0C0, 0x0000FF, 0x00FF00, 0x00FFFF, 0xFF0000, 0xFF00FF, 0xFFFF00,
};

TColorSelector::TColorSelector(QWidget *parent) : QFrame(parent)
{
    setFrameStyle(QFrame::Panel | QFrame::Raised);
    // It drops down over the page: what lies below must not show through.
    setAutoFillBackground(true);
    setFixedSize(96, 132);
    m_group = new QButtonGroup(this);
    m_group->setExclusive(true);
    for (int i = 0; i < 18; ++i) {
        auto *b = new QPushButton(this);
        b->setObjectName(QStringLiteral("ColorButton%1").arg(i));
        b->setFlat(true);
        b->setCheckable(true);
        if (i < 16) {
            b->setGeometry(4 + 22 * (i % 4), 4 + 22 * (i / 4), 22, 22);
            ShowColor(b, SelectorPalette[i]);
        } else {
            b->setText(i == 16 ? QStringLiteral("Прозрачный") : QStringLiteral("Другой..."));
            b->setGeometry(4, i == 16 ? 92 : 110, 88, 18);
        }
        m_group->addButton(b, i);
        m_buttons[i] = b;
        connect(b, &QPushButton::clicked, this, [this, i] { ColorClick(i); });
    }
    AskColor = [this](TColor &color) {
        const QColor chosen = QColorDialog::getColor(TColorToQColor(color == clNone ? clWhite : color), this, {},
                                                     QColorDialog::DontUseNativeDialog);
        if (!chosen.isValid())
            return false;
        color = QColorToTColor(chosen);
        return true;
    };
    hide();
}

void TColorSelector::SetColor(TColor color)
{
    int tag = -1;
    for (int i = 0; i < 16; ++i)
        if (SelectorPalette[i] == color)
            tag = i;
    if (color == clNone)
        tag = 16;
    if (tag >= 0) {
        m_buttons[tag]->setChecked(true);
        OtherButton()->setIcon({});
        return;
    }
    ShowColor(OtherButton(), color);
}

void TColorSelector::ColorClick(int tag)
{
    if (tag < 16) {
        Color = SelectorPalette[tag];
    } else if (tag == 16) {
        Color = clNone;
    } else {
        TColor chosen = Color;
        if (!AskColor || !AskColor(chosen))
            return;
        Color = chosen;
    }
    hide();
    if (OnColorSelected)
        OnColorSelected(*this);
}
