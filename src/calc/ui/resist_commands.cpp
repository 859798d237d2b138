#include "calc/ui/resist_commands.h"

#include "calc/resistance_block.h"
#include "calc/ui/frm_okno.h"
#include "calc/ui/frm_r_block.h"
#include "calc/ui/frm_resist.h"
#include "model/helpers.h"
#include "platform/float_format.h"
#include "scheme/ui/frm_branch.h"
#include "shell/ui/frm_main.h"
#include "shell/ui/xq_edit.h"

#include <QtWidgets/QLineEdit>

void mnuCalcResistClick(TfrmMain &mainWindow)
{
    int L = 0;
    double S = 0, R = 0, alpha = 0;
    CalcBranchResistance(&mainWindow, L, S, R, alpha);
}

void R1Click(TfrmMain &mainWindow)
{
    bool changed = false;
    RunRBlock(&mainWindow, RBlockArraysOf(Net), &changed);
    // The block itself leaves the document alone; what it wrote must not be
    // lost without the save question.
    if (!changed)
        return;
    mainWindow.SetModified(true);
    mainWindow.Redraw();
}

void btnResistClick(TfrmBranch &dialog)
{
    int L = 0;
    double S = 0, R = 0, alpha = 0;
    if (!ReadEdits([&] {
            L = EditToInt(dialog.edLen);
            S = EditToFloat(dialog.edSquare);
            R = EditToFloat(dialog.edRes);
            alpha = EditToFloat(dialog.xqeAlpha);
        }))
        return;
    if (!CalcBranchResistance(&dialog, L, S, R, alpha))
        return;
    dialog.edRes->setText(FloatToStrF(R, ffFixed, 7, 5));
    dialog.edSquare->setText(FloatToStrF(S, ffFixed, 7, 2));
    dialog.edLen->setText(QString::number(L));
    dialog.xqeAlpha->setText(FloatToStrF(alpha, ffGeneral, 8, 2));
    dialog.Form().Modified = true;
}

void Button3Click(TfrmBranch &dialog)
{
    double R = 0, S = 0;
    if (!StrInD(dialog.edRes->text(), R, 0, 999, -10, 5)) {
        dialog.edRes->setFocus();
        return;
    }
    if (!StrInD(dialog.edSquare->text(), S, 0.1, 300, -7, 1)) {
        dialog.edSquare->setFocus();
        return;
    }
    if (!CalcWindowResistance(&dialog, R, S))
        return;
    dialog.edRes->setText(FloatToStrF(R, ffFixed, 10, 5));
    dialog.Form().Modified = true;
}

void InstallResistanceCommands(TfrmMain &mainWindow)
{
    TfrmMain *w = &mainWindow;
    mainWindow.SetCommandHandler(QStringLiteral("TaskCalcResist"), [w] { mnuCalcResistClick(*w); });
    mainWindow.SetCommandHandler(QStringLiteral("TaskRBlock"), [w] { R1Click(*w); });
    BranchDialogHooks.CalcResistance = btnResistClick;
    BranchDialogHooks.WindowResistance = Button3Click;
}
