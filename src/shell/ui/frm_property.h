#pragma once
// "Свойства шахты": where the scheme file lies, how large the network is,
// and the mine's name, remarks and drawing sheet.
#include <QtWidgets/QDialog>

class QLabel;
class QPlainTextEdit;
class QPushButton;
class TfrmMain;
class TxqEdit;

class TfrmProperty : public QDialog
{
    Q_OBJECT

public:
    explicit TfrmProperty(TfrmMain &mainWindow);

    QLabel *lblMineFile, *lblMineFolder, *lblMaxItemsCount, *lblNodesCount, *lblBranceCount;
    TxqEdit *xqeMineName, *xqeSizeX, *xqeSizeY;
    QPlainTextEdit *memMineRemarks;
    QPushButton *btnOk, *btnCancel;

    void btnOkClick();

private:
    TfrmMain &m_main;
};

void ShowSchemeProperties(TfrmMain &mainWindow);
