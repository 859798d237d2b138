// New report from a template, save as template, the picture editor and the
// about box.
#include "designer/ui/designer_dialogs.h"
#include "designer/ui/dialog_helpers.h"
#include "designer/wizard_layout.h"
#include "platform/prompt.h"
#include "platform/ui/file_dialogs.h"
#include "report/report.h"
#include "report/report_objects.h"

#include <QtCore/QFile>
#include <QtGui/QPixmap>
#include <QtWidgets/QCheckBox>
#include <QtWidgets/QGroupBox>
#include <QtWidgets/QListWidget>
#include <QtWidgets/QPlainTextEdit>

namespace {
QPixmap PictureOf(const QByteArray &bytes)
{
    QPixmap pixmap;
    pixmap.loadFromData(bytes);
    return pixmap;
}

void ShowPicture(QLabel *label, const QByteArray &bytes, bool stretched)
{
    const QPixmap pixmap = PictureOf(bytes);
    if (pixmap.isNull()) {
        label->setPixmap({});
        // A metafile is kept but not drawn: the picture object's placeholder.
        label->setText(bytes.isEmpty() ? QString() : QStringLiteral("[Рисунок]"));
        return;
    }
    label->setPixmap(stretched ? pixmap.scaled(label->size(), Qt::IgnoreAspectRatio) : pixmap);
}

QLabel *PictureBox(QWidget *parent, const char *name, int w, int h)
{
    auto *label = Named<QLabel>(parent, name);
    label->setFixedSize(w, h);
    label->setAlignment(Qt::AlignCenter);
    label->setFrameStyle(QFrame::Sunken | QFrame::StyledPanel);
    return label;
}

// A picture file's bytes and kind; the user is told when it cannot be read.
bool ReadPictureFile(const QString &fileName, TfrPicture &picture)
{
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly)) {
        ShowMessageBox(QStringLiteral("Не удается открыть файл \"%1\".").arg(fileName), QStringLiteral("Ошибка"),
                       mb::Ok | mb::IconError);
        return false;
    }
    const QByteArray bytes = file.readAll();
    const QString lower = fileName.toLower();
    TfrPicture read;
    read.Data = bytes;
    if (lower.endsWith(QStringLiteral(".wmf")) || lower.endsWith(QStringLiteral(".emf")))
        read.Kind = TfrPicture::gkMetafile;
    else if (lower.endsWith(QStringLiteral(".ico")))
        read.Kind = TfrPicture::gkIcon;
    else
        read.Kind = TfrPicture::gkBitmap;
    if (read.Kind != TfrPicture::gkMetafile && PictureOf(bytes).isNull()) {
        ShowMessageBox(QStringLiteral("Неверный формат рисунка: \"%1\".").arg(fileName), QStringLiteral("Ошибка"),
                       mb::Ok | mb::IconError);
        return false;
    }
    picture = read;
    return true;
}
} // namespace

QString ChooseTemplate(const QString &templateFolder, QWidget *parent)
{
    QDialog form(parent);
    form.setWindowTitle(QStringLiteral("Новый отчет"));
    auto *layout = new QHBoxLayout(&form);
    auto *LB1 = Named<QListWidget>(&form, "LB1");
    LB1->addItems(TemplateNames(templateFolder));
    auto *box = new QGroupBox(QStringLiteral("Описание"), &form);
    auto *bl = new QVBoxLayout(box);
    auto *image = PictureBox(box, "Image1", 100, 100);
    auto *memo = Named<QPlainTextEdit>(box, "Memo1");
    memo->setReadOnly(true);
    memo->setFrameStyle(QFrame::NoFrame);
    bl->addWidget(image, 0, Qt::AlignCenter);
    bl->addWidget(memo);
    auto *right = new QVBoxLayout;
    right->addWidget(box);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    AddOkCancel(&form, buttons);
    right->addLayout(buttons);
    layout->addWidget(LB1);
    layout->addLayout(right);
    auto *ok = form.findChild<QPushButton *>(QStringLiteral("OkButton"));
    ok->setEnabled(false);
    QObject::connect(LB1, &QListWidget::currentRowChanged, &form, [&](int row) {
        ok->setEnabled(row >= 0);
        if (row < 0)
            return;
        QStringList description;
        QByteArray picture;
        TfrReport reader;
        try {
            reader.LoadTemplateFile(TemplatePath(templateFolder, LB1->item(row)->text()), description, false, picture);
        } catch (const Exception &) {
            // A damaged template shows no description.
        }
        memo->setPlainText(description.join(u'\n'));
        ShowPicture(image, picture, false);
    });
    QObject::connect(LB1, &QListWidget::itemDoubleClicked, &form, [&] {
        if (ok->isEnabled())
            form.accept();
    });
    if (form.exec() != QDialog::Accepted || !LB1->currentItem())
        return {};
    return TemplatePath(templateFolder, LB1->currentItem()->text());
}

bool NewReportFromTemplate(TfrReport &report, const QString &templateFolder, QWidget *parent)
{
    const QString path = ChooseTemplate(templateFolder, parent);
    if (path.isEmpty())
        return false;
    QStringList description;
    QByteArray picture;
    report.LoadTemplateFile(path, description, true, picture);
    return true;
}

QString SaveReportAsTemplate(TfrReport &report, const QString &templateFolder, const QString &chosenFile,
                             QWidget *parent)
{
    QStringList description;
    QByteArray picture;
    if (!AskTemplateDescription(description, picture, parent))
        return {};
    const QString path = TemplateSavePath(templateFolder, chosenFile);
    report.SaveTemplateFile(path, description, picture);
    return path;
}

bool AskTemplateDescription(QStringList &description, QByteArray &picture, QWidget *parent)
{
    QDialog form(parent);
    form.setWindowTitle(QStringLiteral("Новый шаблон"));
    auto *layout = new QVBoxLayout(&form);
    auto *label = new QLabel(QStringLiteral("&Комментарий"), &form);
    auto *memo = Named<QPlainTextEdit>(&form, "Memo1");
    label->setBuddy(memo);
    auto *box = new QGroupBox(QStringLiteral("Картинка"), &form);
    auto *bl = new QHBoxLayout(box);
    auto *image = PictureBox(box, "Image1", 86, 87);
    auto *browse = Named<QPushButton>(box, "BrowseButton", QStringLiteral("&Обзор..."));
    bl->addWidget(image);
    bl->addWidget(browse);
    layout->addWidget(label);
    layout->addWidget(memo);
    layout->addWidget(box);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    AddOkCancel(&form, buttons);
    layout->addLayout(buttons);
    QByteArray chosen;
    QObject::connect(browse, &QPushButton::clicked, &form, [&] {
        const QString file = GetOpenFileName(&form, {}, {}, {{QStringLiteral("Рисунок ВМР (*.bmp)"), {"*.bmp"}}}, nullptr);
        TfrPicture read;
        if (file.isEmpty() || !ReadPictureFile(file, read))
            return;
        chosen = read.Data;
        ShowPicture(image, chosen, false);
    });
    memo->setFocus();
    if (form.exec() != QDialog::Accepted)
        return false;
    const QString text = memo->toPlainText();
    description = text.isEmpty() ? QStringList() : text.split(u'\n');
    picture = chosen;
    return true;
}

bool EditPicture(TfrPictureView &view, QWidget *parent)
{
    QDialog form(parent);
    form.setWindowTitle(QStringLiteral("Рисунок"));
    auto *layout = new QHBoxLayout(&form);
    auto *image = PictureBox(&form, "Image1", 237, 233);
    auto *side = new QVBoxLayout;
    auto *stretch = Named<QCheckBox>(&form, "StretchCB", QStringLiteral("&Растянуть"));
    auto *load = Named<QPushButton>(&form, "LoadButton", QStringLiteral("&Загрузить"));
    auto *clear = Named<QPushButton>(&form, "ClearButton", QStringLiteral("&Очистить"));
    stretch->setChecked(true);
    side->addWidget(stretch);
    side->addWidget(load);
    side->addWidget(clear);
    side->addStretch();
    auto *buttons = new QVBoxLayout;
    auto *okRow = new QHBoxLayout;
    AddOkCancel(&form, okRow);
    buttons->addLayout(okRow);
    side->addLayout(buttons);
    layout->addWidget(image);
    layout->addLayout(side);
    TfrPicture picture = view.Picture;
    const auto show = [&] { ShowPicture(image, picture.Data, stretch->isChecked()); };
    show();
    QObject::connect(stretch, &QCheckBox::toggled, &form, show);
    QObject::connect(clear, &QPushButton::clicked, &form, [&] {
        picture.Clear();
        show();
    });
    QObject::connect(load, &QPushButton::clicked, &form, [&] {
        const QString file = GetOpenFileName(
            &form, {}, {},
            {{QStringLiteral("Графические файлы (*.bmp *.ico *.wmf *.emf)"), {"*.bmp", "*.ico", "*.wmf", "*.emf"}},
             {QStringLiteral("Все файлы"), {"*.*"}}},
            nullptr);
        if (!file.isEmpty() && ReadPictureFile(file, picture))
            show();
    });
    if (form.exec() != QDialog::Accepted)
        return false;
    if (TfrReportDesigner *designer = ReportDesigner())
        designer->RecordUndoModify();
    view.Picture = picture;
    return true;
}

void ShowAboutBox(QWidget *parent)
{
    QDialog form(parent);
    form.setWindowTitle(QStringLiteral("О программе"));
    auto *layout = new QVBoxLayout(&form);
    auto *title = new QLabel(QStringLiteral("Kvadrep"), &form);
    QFont font = title->font();
    font.setPointSize(font.pointSize() * 2);
    font.setBold(true);
    title->setFont(font);
    layout->addWidget(title, 0, Qt::AlignCenter);
    layout->addWidget(new QLabel(QStringLiteral("Version 2.3"), &form), 0, Qt::AlignCenter);
    auto *ok = new QPushButton(QStringLiteral("OK"), &form);
    ok->setDefault(true);
    QObject::connect(ok, &QPushButton::clicked, &form, &QDialog::accept);
    layout->addWidget(ok, 0, Qt::AlignCenter);
    form.setFixedSize(form.sizeHint());
    form.exec();
}
