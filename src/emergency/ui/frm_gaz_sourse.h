#pragma once
// "Источники газовыделения": which gas sources (longwalls, development faces)
// count when the fresh and exhaust air of every branch is recomputed, and
// the command that recomputes and recolours.
#include "emergency/gas_zone.h"

#include <QtWidgets/QDialog>

#include <functional>

class QCheckBox;
class QLabel;
class QPushButton;
class TfrmMain;

class TfrmGazSourse : public QDialog
{
    Q_OBJECT

public:
    TfrmGazSourse(QWidget *owner, const TNetworkTables &t);
    ~TfrmGazSourse() override;

    // The chosen sources: 128 longwalls, 1024 development faces, 1152 both, 0 none.
    TGasSourceTypeSet TypeSet() const;

    int LongwallCount = 0;
    int FaceCount = 0;
    QLabel *lblLongwalls;
    QLabel *lblFaces;
    QCheckBox *chkLongwalls;
    QCheckBox *chkFaces;
    QPushButton *btnOk;
    QPushButton *btnCancel;

private slots:
    void btnOkClick();
};

// The dialog while it exists.
extern TfrmGazSourse *frmGazSourse;

// What the main window lends the command.
struct TFreshRecalcHost
{
    // A branch's fresh flag changed: the document is modified.
    std::function<void(int branch)> ObjectChanged;
    // Fills Colors with the standard branch colours.
    std::function<void()> SetStandardColors;
    TBranchColors *Colors = nullptr;
    TSchemeColors Palette{};
};

// "Пересчитать свежая/исходящая...": asks for the sources, recomputes the
// fresh flags on the tables (the flows are solved into BranchQ) and colours
// exhaust air and the sources. A failed solve is shown and changes nothing.
// True when the colours changed; the caller then redraws the scheme.
bool RunFreshRecalc(QWidget *mainWindow, TNetworkTables &t, const TFreshRecalcHost &host);

// The command on the program's main window and tables: recomputes, marks the
// document modified for every changed flag and redraws.
void RunFreshRecalc(TfrmMain &mainWindow);
// Gives the main window's "Пересчитать свежая/исходящая..." its handler.
void InstallFreshRecalcCommand(TfrmMain &mainWindow);
