#pragma once
// The colour palette that drops down under the colour buttons of the
// designer's formatting toolbar.
#include "platform/colors.h"

#include <QtWidgets/QFrame>

#include <array>
#include <functional>

class QPushButton;
class QButtonGroup;

class TColorSelector : public QFrame
{
public:
    explicit TColorSelector(QWidget *parent);

    // White, black, maroon, green, olive, navy, purple, teal, gray, silver,
    // red, lime, yellow, blue, fuchsia, aqua.
    static const std::array<TColor, 16> SelectorPalette;

    TColor Color = 0;
    std::function<void(TColorSelector &)> OnColorSelected;
    // The colour dialog of "Другой..."; tests put their answer here.
    std::function<bool(TColor &)> AskColor;

    // Presses the button of a palette colour or of no colour; any other
    // colour shows on "Другой...".
    void SetColor(TColor color);
    void ColorClick(int tag);

    QPushButton *Button(int tag) const { return m_buttons[tag]; }
    QPushButton *OtherButton() const { return m_buttons[17]; }

private:
    std::array<QPushButton *, 18> m_buttons{};
    QButtonGroup *m_group;
};
