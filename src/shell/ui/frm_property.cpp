#include "shell/ui/frm_property.h"

#include "model/geometry_queries.h"
#include "platform/numbers.h"
#include "platform/prompt.h"
#include "scheme/ui/named_controls.h"
#include "shell/scheme_storage.h"
#include "shell/ui/frm_main.h"
#include "shell/ui/xq_edit.h"

#include <QtCore/QFileInfo>
#include <QtWidgets/QFormLayout>
#include <QtWidgets/QHBoxLayout>
#include <QtWidgets/QLabel>
#include <QtWidgets/QPlainTextEdit>
#include <QtWidgets/QPushButton>
#include <QtWidgets/QTabWidget>
#include <QtWidgets/QVBoxLayout>

TfrmProperty::TfrmProperty(TfrmMain &mainWindow) : QDialog(&mainWindow), m_main(mainWindow)
{
    setObjectName(QStringLiteral("frmProperty"));
    setWindowTitle(LookupText(QStringLiteral("Свойства шахты")));
    const auto label = [this](const char *name) {
        auto *l = new QLabel(this);
        l->setObjectName(QString::fromLatin1(name));
        return l;
    };
    lblMineFile = label("lblMineFile");
    lblMineFolder = label("lblMineFolder");
    lblMaxItemsCount = label("lblMaxItemsCount");
    lblNodesCount = label("lblNodesCount");
    lblBranceCount = label("lblBranceCount");
    xqeMineName = new TxqEdit(this);
    xqeMineName->setObjectName(QStringLiteral("xqeMineName"));
    memMineRemarks = new QPlainTextEdit(this);
    memMineRemarks->setObjectName(QStringLiteral("memMineRemarks"));
    memMineRemarks->setTabChangesFocus(true);
    xqeSizeX = new TxqEdit(this);
    xqeSizeX->setObjectName(QStringLiteral("xqeSizeX"));
    xqeSizeY = new TxqEdit(this);
    xqeSizeY->setObjectName(QStringLiteral("xqeSizeY"));
    btnOk = NamedButton(this, "btnOk", LookupText(QStringLiteral("&OK")));
    btnOk->setDefault(true);
    btnCancel = NamedButton(this, "btnCancel", LookupText(QStringLiteral("Отмена")));

    auto *tabs = new QTabWidget(this);
    auto *page = new QWidget(tabs);
    tabs->addTab(page, LookupText(QStringLiteral("Общие")));
    auto *form = new QFormLayout(page);
    form->addRow(LookupText(QStringLiteral("Файл:")), lblMineFile);
    form->addRow(LookupText(QStringLiteral("Папка:")), lblMineFolder);
    form->addRow(LookupText(QStringLiteral("Название шахты:")), xqeMineName);
    form->addRow(LookupText(QStringLiteral("Примечания:")), memMineRemarks);
    auto *size = new QHBoxLayout;
    size->addWidget(xqeSizeX);
    size->addWidget(new QLabel(LookupText(QStringLiteral("по горизонтали")), page));
    size->addWidget(xqeSizeY);
    size->addWidget(new QLabel(LookupText(QStringLiteral("по вертикали")), page));
    form->addRow(LookupText(QStringLiteral("Размер схемы:")), size);
    form->addRow(LookupText(QStringLiteral("Макс. узлов/ветвей:")), lblMaxItemsCount);
    form->addRow(LookupText(QStringLiteral("Всего узлов:")), lblNodesCount);
    form->addRow(LookupText(QStringLiteral("Всего ветвей:")), lblBranceCount);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(btnOk);
    buttons->addWidget(btnCancel);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(tabs);
    layout->addLayout(buttons);

    const QFileInfo file(m_main.Document().FileName());
    lblMineFile->setText(file.fileName());
    lblMineFolder->setText(m_main.Document().FileName().isEmpty() ? QString() : file.absolutePath());
    lblMaxItemsCount->setText(QString::number(GetMaxItemsCount()));
    lblNodesCount->setText(QString::number(NodeCount(Net)));
    lblBranceCount->setText(QString::number(BranchCount(Net)));
    const TMineProperties &p = m_main.Storage().Doc.MineProperties;
    xqeMineName->setText(p.MineName);
    memMineRemarks->setPlainText(p.Remarks);
    xqeSizeX->setText(QString::number(p.SheetWidth));
    xqeSizeY->setText(QString::number(p.SheetHeight));

    connect(btnOk, &QPushButton::clicked, this, &TfrmProperty::btnOkClick);
    connect(btnCancel, &QPushButton::clicked, this, &QDialog::reject);
}

void TfrmProperty::btnOkClick()
{
    // The sheet entries are read first, so that a refused one leaves the
    // document as it was.
    int width = 0, height = 0;
    if (!ReadEdits([&] {
            width = xqeSizeX->GetIntValue();
            height = xqeSizeY->GetIntValue();
        }))
        return;
    TMineProperties &p = m_main.Storage().Doc.MineProperties;
    m_main.SetModified(true);
    p.MineName = xqeMineName->text().left(TMineProperties::MaxNameLength);
    p.Remarks = memMineRemarks->toPlainText().left(TMineProperties::MaxRemarksLength);
    p.SheetWidth = width;
    p.SheetHeight = height;

    const TRect b = SchemeBounds(Net);
    const int minRight = b.Right + static_cast<int>(Round((b.Right - b.Left) / 100.0));
    const int minBottom = b.Bottom + static_cast<int>(Round((b.Bottom - b.Top) / 100.0));
    if (width < minRight || height < minBottom) {
        ShowMessageBox(LookupText(QStringLiteral("Установленный размер листа (0, 0)-"))
                           + LookupText(QStringLiteral("(%1, %2) меньше минимального размера схемы шахты.")).arg(width).arg(height)
                           + LookupText(QStringLiteral("Будет принят минимальный размер шахты.")),
                       LookupText(QStringLiteral("Размер листа меньше размера шахты")), mb::Ok | mb::IconWarning);
        p.SheetWidth = minRight;
        p.SheetHeight = minBottom;
        xqeSizeX->setText(QString::number(minRight));
        xqeSizeY->setText(QString::number(minBottom));
    }
    m_main.Redraw();
    accept();
}

void ShowSchemeProperties(TfrmMain &mainWindow)
{
    TfrmProperty dialog(mainWindow);
    dialog.exec();
}
