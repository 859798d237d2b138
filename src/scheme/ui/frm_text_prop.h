#pragma once
// The text dialog ("Свойства текста"): font, text, size factor, bold, italic,
// underline and colour of a scheme text, with a sample. Every change goes
// into the text at once; "Отменить" gives the text back as it came.
#include "model/scheme_overlays.h"
#include "scheme/scheme_objects.h"

#include <QtWidgets/QDialog>

#include <functional>

class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QSpinBox;
class QToolButton;

class TfrmTextProp : public QDialog
{
    Q_OBJECT

public:
    explicit TfrmTextProp(QWidget *parent = nullptr);

    // The main window's colour dialog; without it the swatch does nothing.
    static std::function<bool(TColor &color)> ChooseColor;
    // The label size of the current zoom step, which the sample multiplies.
    static std::function<int()> LabelSize;

    // Fills the controls from the text, which the dialog then edits.
    void LoadFromText(TMapText &text);
    void ShowSample();
    // Edits the text modally under the caption.
    static TObjectEditResult Edit(TMapText &text, const QString &caption, bool deletable, QWidget *parent = nullptr);

    QComboBox *ComboBox1;
    QLineEdit *Edit1;
    QGroupBox *Panel1;
    QLabel *lblSample;
    QSpinBox *SpinEdit1;
    QToolButton *btnBold, *btnItalic, *btnUnderline, *Shape1;
    QPushButton *btnSave, *btnCancel, *btnDelete;

    void Shape1Click();

protected:
    void done(int result) override;

private:
    // The row of a font family in the box: the family itself, or the one the
    // system substitutes for it; -1 when neither is listed.
    int FontFamilyIndex(const QString &name) const;
    void SetStyleBit(std::uint8_t bit, bool on);
    void ShowColor();

    TMapText *m_text = nullptr;
    TMapText m_original;
    bool m_loading = false;
};
