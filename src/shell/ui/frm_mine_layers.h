#pragma once
// "Пласты": the document's list of seams with their colours, and the
// assignment of the selected branches to a seam. The window edits a copy;
// only OK writes it back.
#include "model/scheme_file.h"
#include "platform/colors.h"

#include <QtWidgets/QDialog>

#include <vector>

class QFrame;
class QLineEdit;
class QListWidget;
class QPushButton;
class TfrmMain;

class TfrmMineLayers : public QDialog
{
    Q_OBJECT

public:
    explicit TfrmMineLayers(TfrmMain &mainWindow);

    // The simple combo box: the edit line over the always open list.
    QLineEdit *cbxMineLayers;
    QListWidget *lbMineLayers;
    QFrame *shpLayerColor;
    QPushButton *btnAddLayer, *btnDeleteLayer, *btnChangeLayerColor, *btnOk, *btnCancel;

    void cbxMineLayersClick();
    void btnAddLayerClick();
    void btnDeleteLayerClick();
    void btnChangeLayerColorClick();
    void btnOkClick();

    TColor SwatchColor() const { return m_color; }

private:
    // A seam of the list with the index it had in the document (-1: added).
    struct TEntry
    {
        TLayer Layer;
        int Origin = -1;
    };
    void FillList();
    void ShowColor(TColor color);

    TfrmMain &m_main;
    std::vector<TEntry> m_entries;
    TColor m_color = 16777151;
    bool m_changed = false;
};

void ShowMineLayers(TfrmMain &mainWindow);
