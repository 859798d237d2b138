#pragma once
// Scripts of report objects and bands: a small Pascal-like language compiled
// into coded text lines and run before the object prints.
//
// Coded lines: the first character is a code.
//   1 target-lo target-hi condition  - when the condition is 0, go to the target
//   2 target-lo target-hi            - go to the target
//   3 expression                     - evaluate and drop (a procedure call)
//   name blank expression            - assign
#include "report/expression.h"

#include <QtCore/QStringList>

enum TCodedLineCode : char16_t { clIfFalseGoto = 1, clGoto = 2, clCall = 3 };

class TfrInterpretator
{
public:
    TfrInterpretator();
    virtual ~TfrInterpretator() = default;

    virtual void GetVariable(const QString &name, Variant &value) {}
    virtual void SetVariable(const QString &name, const Variant &value) {}
    virtual void CallFunction(const QString &name, const Variant &p1, const Variant &p2, const Variant &p3,
                              QString &val) {}
    // Fills `coded` and `errors` (both cleared first); `source` may be `coded`.
    virtual void Compile(const QStringList &source, QStringList &coded, QStringList &errors);
    virtual void Run(const QStringList &coded);

    TParser Parser;
};

// The report's runner: names reach the current object's properties, the
// objects of the page, colour names, script variables and the report's values.
class TInterpretator : public TfrInterpretator
{
public:
    void GetVariable(const QString &name, Variant &value) override;
    void SetVariable(const QString &name, const Variant &value) override;
    void CallFunction(const QString &name, const Variant &p1, const Variant &p2, const Variant &p3,
                      QString &val) override;
};

// "Left", "Top", "Width", "Height", "Flags", "Visible", "FrameTyp",
// "FrameWidth", "FrameColor", "FillColor", "FontName", "FontSize",
// "FontStyle", "FontColor", "Adjust".
extern const QStringList ScriptPropertyNames;
constexpr int FirstTextPropertyIndex = 10;
enum TScriptProperty {
    spLeft, spTop, spWidth, spHeight, spFlags, spVisible, spFrameTyp, spFrameWidth, spFrameColor,
    spFillColor, spFontName, spFontSize, spFontStyle, spFontColor, spAdjust,
};
// Index of a property name (case-insensitive), -1 when none.
int ScriptPropertyIndex(const QString &name);
// Colour of a name such as clRed (case-insensitive); false when none.
bool ScriptColorValue(const QString &name, std::int32_t &color);
