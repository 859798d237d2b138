#include "report/ui/frm_print.h"

#include "platform/exceptions.h"
#include "platform/numbers.h"
#include "platform/prompt.h"
#include "report/printers.h"
#include "report/report.h"
#include "report/ui/qt_printer.h"

#include <QtCore/QEvent>
#include <QtGui/QPainter>
#include <QtPrintSupport/QPageSetupDialog>
#include <QtWidgets/QComboBox>
#include <QtWidgets/QGridLayout>
#include <QtWidgets/QGroupBox>
#include <QtWidgets/QHBoxLayout>
#include <QtWidgets/QLabel>
#include <QtWidgets/QLineEdit>
#include <QtWidgets/QPushButton>
#include <QtWidgets/QRadioButton>
#include <QtWidgets/QToolButton>
#include <QtWidgets/QVBoxLayout>

namespace {

// The small printer picture of the printer list.
QIcon PrinterIcon()
{
    QPixmap pixmap(18, 16);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setPen(Qt::black);
    p.setBrush(Qt::white);
    p.drawRect(5, 1, 8, 6);
    p.setBrush(QColor(192, 192, 192));
    p.drawRect(1, 6, 16, 6);
    p.setBrush(Qt::white);
    p.drawRect(4, 10, 10, 5);
    p.setPen(Qt::green);
    p.drawPoint(14, 8);
    return QIcon(pixmap);
}

} // namespace

TfrPrintForm::TfrPrintForm(QWidget *parent) : QDialog(parent)
{
    setWindowTitle(QStringLiteral("Печать"));
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);

    GroupBox1 = new QGroupBox(QStringLiteral("Принтер"), this);
    CB1 = new QComboBox(GroupBox1);
    CB1->setMinimumWidth(260);
    PropButton = new QPushButton(QStringLiteral("Свойства..."), GroupBox1);
    auto *printerLayout = new QHBoxLayout(GroupBox1);
    printerLayout->addWidget(CB1, 1);
    printerLayout->addWidget(PropButton);

    Label1 = new QLabel(QStringLiteral("&Копии:"), this);
    E1 = new QLineEdit(QStringLiteral("1"), this);
    E1->setMaximumWidth(50);
    Label1->setBuddy(E1);
    UpButton = new QToolButton(this);
    UpButton->setArrowType(Qt::UpArrow);
    UpButton->setFixedSize(16, 11);
    DownButton = new QToolButton(this);
    DownButton->setArrowType(Qt::DownArrow);
    DownButton->setFixedSize(16, 11);
    auto *spin = new QVBoxLayout;
    spin->setSpacing(0);
    spin->addWidget(UpButton);
    spin->addWidget(DownButton);
    auto *copies = new QHBoxLayout;
    copies->addWidget(Label1);
    copies->addWidget(E1);
    copies->addLayout(spin);
    copies->addStretch();

    GroupBox2 = new QGroupBox(QStringLiteral("Страницы"), this);
    RB1 = new QRadioButton(QStringLiteral("&Все"), GroupBox2);
    RB2 = new QRadioButton(QStringLiteral("&Текущая"), GroupBox2);
    RB3 = new QRadioButton(QStringLiteral("&Номера:"), GroupBox2);
    RB1->setChecked(true);
    E2 = new QLineEdit(GroupBox2);
    Label2 = new QLabel(QStringLiteral("Введите номера и/или диапазоны страниц, разделенные запятыми. Например, 1,3,5-12"), GroupBox2);
    Label2->setWordWrap(true);
    auto *pages = new QGridLayout(GroupBox2);
    pages->addWidget(RB1, 0, 0);
    pages->addWidget(RB2, 1, 0);
    pages->addWidget(RB3, 2, 0);
    pages->addWidget(E2, 2, 1);
    pages->addWidget(Label2, 3, 0, 1, 2);

    Button1 = new QPushButton(QStringLiteral("ОК"), this);
    Button1->setDefault(true);
    Button2 = new QPushButton(QStringLiteral("Отмена"), this);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(Button1);
    buttons->addWidget(Button2);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(GroupBox1);
    layout->addLayout(copies);
    layout->addWidget(GroupBox2);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    const QIcon icon = PrinterIcon();
    if (TPrinterDevice *printer = ReportPrinter()) {
        for (const QString &name : printer->Printers())
            CB1->addItem(icon, name);
        OldIndex = printer->PrinterIndex();
    } else {
        CB1->addItem(icon, PrinterSettings->Printers.value(PrinterSettings->PrinterIndex));
        OldIndex = PrinterSettings->PrinterIndex;
    }
    CB1->setCurrentIndex(OldIndex);
    PropButton->setEnabled(InstalledQtPrinter() != nullptr && ReportPrinter() == InstalledQtPrinter());

    connect(CB1, &QComboBox::activated, this, [](int index) { PrinterSettings->SelectPrinter(index); });
    connect(PropButton, &QPushButton::clicked, this, [this] {
        QPageSetupDialog dialog(&InstalledQtPrinter()->Device(), this);
        dialog.exec();
        CB1->setCurrentIndex(InstalledQtPrinter()->PrinterIndex());
    });
    connect(UpButton, &QToolButton::clicked, this, [this] { StepCopies(1); });
    connect(DownButton, &QToolButton::clicked, this, [this] { StepCopies(-1); });
    connect(RB3, &QRadioButton::toggled, this, [this](bool on) {
        if (on)
            E2->setFocus();
    });
    E2->installEventFilter(this);
    connect(Button1, &QPushButton::clicked, this, &QDialog::accept);
    connect(Button2, &QPushButton::clicked, this, &QDialog::reject);
}

void TfrPrintForm::StepCopies(int step)
{
    bool ok = false;
    const int copies = E1->text().trimmed().toInt(&ok);
    // A text that is no number starts again from one copy.
    E1->setText(QString::number(ok ? std::max(1, copies + step) : 1));
}

bool TfrPrintForm::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == E2 && event->type() == QEvent::MouseButtonPress)
        RB3->setChecked(true);
    return QDialog::eventFilter(watched, event);
}

QString TfrPrintForm::PageList(int currentPage) const
{
    if (RB1->isChecked())
        return {};
    if (RB2->isChecked())
        return QString::number(currentPage);
    return E2->text();
}

int TfrPrintForm::Copies() const { return StrToInt(E1->text()); }

void TfrPrintForm::done(int result)
{
    if (result == Accepted) {
        // A bad entry is told here and nothing is printed.
        try {
            Copies();
            if (RB3->isChecked())
                ParsePageList(E2->text());
        } catch (const Exception &error) {
            ShowMessageBox(error.Message(), QStringLiteral("Ошибка"), mb::Ok | mb::IconError);
            return;
        }
    } else {
        PrinterSettings->SelectPrinter(OldIndex);
    }
    QDialog::done(result);
}
