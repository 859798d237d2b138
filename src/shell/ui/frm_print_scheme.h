#pragma once
// "Печать схемы": the scheme printed at a size in millimetres or in pages
// across and down, tiled over the current printer's pages.
#include "scheme/scheme_print.h"

#include <QtWidgets/QDialog>

#include <functional>
#include <memory>

class QComboBox;
class QGroupBox;
class QLabel;
class QPrinter;
class QPushButton;
class QRadioButton;
class TfrmMain;
class TxqEdit;

// The scheme printer on a Qt printer: the printable area of its page and a
// canvas for each page of the job.
class TQtSchemePrinter : public TSchemePrinter
{
public:
    explicit TQtSchemePrinter(QPrinter &printer);
    ~TQtSchemePrinter() override;
    int HorzSize() const override;
    int VertSize() const override;
    int HorzRes() const override;
    int VertRes() const override;
    int LogPixelsX() const override;
    int LogPixelsY() const override;
    void BeginDoc(const QString &title) override;
    void NewPage() override;
    void EndDoc() override;
    TCanvas &Canvas() override;

private:
    QPrinter &m_printer;
    std::unique_ptr<TCanvas> m_canvas;
};

class TfrmPrintScheme : public QDialog
{
    Q_OBJECT

public:
    TfrmPrintScheme(TfrmMain &mainWindow, QPrinter &printer);

    QGroupBox *rgPrintWhat;
    QRadioButton *rbtnSizeRequired, *rbtnUseSheets;
    TxqEdit *xqeReqX, *xqeReqY, *xqeReqPagesByX, *xqeReqPagesByY;
    QComboBox *cbxUnits;
    QLabel *lblSheetsRequared, *lblSizeBecome;
    QPushButton *btnPrinterSetup, *btnOk, *btnCancel;

    void xqeReqXExit();
    void xqeReqPagesByXExit();
    void btnPrinterSetupClick();
    void btnOkClick();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    TfrmMain &m_main;
    QPrinter &m_printer;
    TQtSchemePrinter m_device;
};

// Asked for the PDF file when the printer writes PDF, with the proposed
// file; empty cancels the printing.
extern std::function<QString(QWidget *parent, const QString &proposed)> ChooseSchemePdfFile;

// The print command of the main window: the dialog on the current printer.
void ShowPrintScheme(TfrmMain &mainWindow);
