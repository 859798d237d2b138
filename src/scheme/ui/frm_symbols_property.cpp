#include "scheme/ui/frm_symbols_property.h"

#include "platform/numbers.h"
#include "platform/prompt.h"
#include "scheme/ui/named_controls.h"

#include <QtWidgets/QHBoxLayout>
#include <QtWidgets/QLabel>
#include <QtWidgets/QVBoxLayout>

TfrmSymbolsProperty::TfrmSymbolsProperty(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmSymbolsProperty"));
    setWindowTitle(QStringLiteral("Свойства"));
    auto *layout = new QVBoxLayout(this);
    auto *label = new QLabel(QStringLiteral("Параметр"), this);
    xqeText = NamedEdit(this, "xqeText");
    xqeText->setText(QStringLiteral("1"));
    label->setBuddy(xqeText);
    layout->addWidget(label);
    layout->addWidget(xqeText);
    auto *buttons = new QHBoxLayout;
    btnDelete = NamedButton(this, "btnDelete", QStringLiteral("Удалить"));
    btnCancel = NamedButton(this, "btnCancel", QStringLiteral("Отмена"));
    btnOK = NamedButton(this, "btnOK", QStringLiteral("OK"));
    btnOK->setDefault(true);
    buttons->addWidget(btnDelete);
    buttons->addStretch();
    buttons->addWidget(btnCancel);
    buttons->addWidget(btnOK);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    connect(btnOK, &QPushButton::clicked, this, &TfrmSymbolsProperty::btnOKClick);
    connect(btnCancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(btnDelete, &QPushButton::clicked, this, &TfrmSymbolsProperty::btnDeleteClick);
}

void TfrmSymbolsProperty::CreateFor(TPLABaloon &balloon, const TNetworkTables &tables)
{
    m_balloon = &balloon;
    m_tables = &tables;
    xqeText->setText(QString::number(balloon.Number));
}

void TfrmSymbolsProperty::btnOKClick()
{
    int number = 0;
    if (!TryStrToInt(xqeText->text(), number)) {
        xqeText->setFocus();
        ShowMessageBox(InvalidNumberMessage(xqeText->text(), true), ApplicationTitle, mb::Ok | mb::IconError);
        return;
    }
    if (m_balloon && m_tables)
        m_balloon->SetNumber(*m_tables, number);
    done(oeOk);
}

void TfrmSymbolsProperty::btnDeleteClick() { done(oeDelete); }

TObjectEditResult TfrmSymbolsProperty::Edit(TPLABaloon &balloon, const TNetworkTables &tables, QWidget *parent)
{
    TfrmSymbolsProperty dialog(parent);
    dialog.CreateFor(balloon, tables);
    const int result = dialog.exec();
    return result == oeOk || result == oeDelete ? static_cast<TObjectEditResult>(result) : oeCancel;
}
