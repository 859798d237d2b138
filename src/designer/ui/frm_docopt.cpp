// The report options.
#include "designer/ui/designer_dialogs.h"
#include "designer/ui/dialog_helpers.h"
#include "report/printers.h"
#include "report/report.h"

#include <QtWidgets/QCheckBox>
#include <QtWidgets/QComboBox>
#include <QtWidgets/QGroupBox>

bool EditReportOptions(TfrReport &report, QWidget *parent)
{
    QDialog form(parent);
    form.setWindowTitle(QStringLiteral("Параметры отчета"));
    auto *layout = new QVBoxLayout(&form);
    auto *printerBox = new QGroupBox(QStringLiteral("Принтер"), &form);
    auto *pl = new QVBoxLayout(printerBox);
    auto *printers = Named<QComboBox>(printerBox, "ComB1");
    printers->addItems(PrinterSettings->Printers);
    printers->setCurrentIndex(PrinterSettings->PrinterIndex);
    auto *choose = Named<QCheckBox>(printerBox, "ChooseCB", QStringLiteral("&Выбирать при открытии отчета"));
    choose->setChecked(!report.UseDefaultPrinter);
    pl->addWidget(printers);
    pl->addWidget(choose);
    auto *otherBox = new QGroupBox(QStringLiteral("Прочие"), &form);
    auto *ol = new QVBoxLayout(otherBox);
    auto *twoPass = Named<QCheckBox>(otherBox, "TwoPassCB", QStringLiteral("Делать два &прохода"));
    twoPass->setChecked(report.TwoPassBuild);
    ol->addWidget(twoPass);
    layout->addWidget(printerBox);
    layout->addWidget(otherBox);
    layout->addLayout(OkCancelRow(&form));
    if (form.exec() != QDialog::Accepted)
        return false;
    report.UseDefaultPrinter = !choose->isChecked();
    report.TwoPassBuild = twoPass->isChecked();
    report.ChangePrinter(PrinterSettings->PrinterIndex, printers->currentIndex());
    if (TfrReportDesigner *designer = ReportDesigner())
        designer->Modified = true;
    return true;
}
