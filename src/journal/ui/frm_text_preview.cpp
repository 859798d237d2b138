#include "journal/ui/frm_text_preview.h"

#include <QtGui/QFontDatabase>
#include <QtWidgets/QHBoxLayout>
#include <QtWidgets/QLabel>
#include <QtWidgets/QPlainTextEdit>
#include <QtWidgets/QPushButton>
#include <QtWidgets/QSlider>
#include <QtWidgets/QVBoxLayout>

TfrmTextPreview::TfrmTextPreview(const QString &caption, const QString &text, QWidget *owner,
                                 std::function<void()> saveToFile)
    : QDialog(owner)
{
    setObjectName(QStringLiteral("frmTextPreview"));
    setWindowTitle(caption);
    setWindowFlags(windowFlags() | Qt::WindowMaximizeButtonHint);
    setMinimumSize(638, 458);

    memText = new QPlainTextEdit(this);
    memText->setObjectName(QStringLiteral("memText"));
    memText->setReadOnly(true);
    memText->setLineWrapMode(QPlainTextEdit::NoWrap);
    memText->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    memText->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    memText->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    memText->setPlainText(text);

    tbFontSize = new QSlider(Qt::Horizontal, this);
    tbFontSize->setObjectName(QStringLiteral("tbFontSize"));
    tbFontSize->setRange(6, 16);
    tbFontSize->setTickPosition(QSlider::TicksBelow);
    tbFontSize->setMaximumWidth(200);
    lblFontSize = new QLabel(this);
    connect(tbFontSize, &QSlider::valueChanged, this, &TfrmTextPreview::SetFontSize);
    tbFontSize->setValue(8);
    SetFontSize(8);

    btnSave = new QPushButton(QStringLiteral("Записать в файл..."), this);
    btnSave->setObjectName(QStringLiteral("btnSave"));
    btnSave->setVisible(static_cast<bool>(saveToFile));
    btnSave->setAutoDefault(false);
    connect(btnSave, &QPushButton::clicked, this, [save = std::move(saveToFile)] {
        if (save)
            save();
    });
    btnClose = new QPushButton(QStringLiteral("Закрыть"), this);
    btnClose->setObjectName(QStringLiteral("btnClose"));
    connect(btnClose, &QPushButton::clicked, this, &QDialog::close);

    auto *bottom = new QHBoxLayout;
    bottom->addWidget(new QLabel(QStringLiteral("Размер шрифта:"), this));
    bottom->addWidget(tbFontSize);
    bottom->addWidget(lblFontSize);
    bottom->addStretch(1);
    bottom->addWidget(btnSave);
    bottom->addWidget(btnClose);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(memText);
    layout->addLayout(bottom);
    // Wide enough for most of a form-2 line at the first font size.
    resize(960, 640);
}

void TfrmTextPreview::SetFontSize(int points)
{
    QFont font = memText->font();
    font.setPointSize(points);
    memText->setFont(font);
    lblFontSize->setText(QStringLiteral("%1 п.").arg(points));
}
