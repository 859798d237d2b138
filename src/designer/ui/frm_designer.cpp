#include "designer/ui/frm_designer.h"

#include "designer/design_state.h"
#include "designer/ui/color_selector.h"
#include "designer/ui/design_page.h"
#include "designer/ui/dock.h"
#include "designer/ui/frm_insp.h"
#include "platform/prompt.h"
#include "platform/settings_store.h"
#include "platform/ui/qt_canvas.h"
#include "report/engine.h"
#include "report/library.h"
#include "report/report_page.h"
#include "report/ui/report_chooser.h"
#include "report/ui/speed_button.h"

#include <QtCore/QFileInfo>
#include <QtGui/QFontDatabase>
#include <QtGui/QShowEvent>
#include <QtGui/QGuiApplication>
#include <QtGui/QPainter>
#include <QtGui/QScreen>
#include <QtWidgets/QApplication>
#include <QtWidgets/QComboBox>
#include <QtWidgets/QLineEdit>
#include <QtWidgets/QMenuBar>
#include <QtWidgets/QScrollArea>
#include <QtWidgets/QScrollBar>
#include <QtWidgets/QStatusBar>
#include <QtWidgets/QTabBar>
#include <QtWidgets/QVBoxLayout>

#include <algorithm>
#include <tuple>
#include <utility>

std::map<QString, std::function<void(TfrDesignerForm &)>> DesignerHooks;
std::function<TPropEditor *(QWidget *owner)> DesignerMemoEditorFactory;
TfrDesignerForm *CurrentDesignerForm = nullptr;

namespace {

// Only the first designer form registers the wizard and names its file.
bool FirstInstanceFlag = true;
TfrDesignerForm *FirstForm = nullptr;

// A 16 x 16 glyph: a short sign on the transparent (olive) background.
QImage Glyph(const QString &sign)
{
    QImage image(16, 16, QImage::Format_RGB32);
    image.fill(QColor(128, 128, 0));
    QPainter p(&image);
    QFont f(QStringLiteral("Arial"));
    f.setPixelSize(sign.size() > 1 ? 9 : 13);
    f.setBold(true);
    p.setFont(f);
    p.setPen(Qt::black);
    p.drawText(QRect(0, 0, 16, 15), Qt::AlignCenter, sign);
    return image;
}

} // namespace

TfrDesignerForm::TfrDesignerForm(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frDesignerForm"));
    setWindowFlags(Qt::Window | Qt::WindowSystemMenuHint | Qt::WindowMaximizeButtonHint);
    CurrentDesignerForm = this;
    FirstInstance = FirstInstanceFlag;

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    auto *menuBar = new QMenuBar(this);
    layout->setMenuBar(menuBar);
    m_client = new QWidget(this);
    layout->addWidget(m_client, 1);
    auto *status = new QStatusBar(this);
    StatusUnits = new QLabel(status);
    // Wide enough for the longest units name, "Миллиметры", in the font of the platform.
    StatusUnits->setFixedWidth(std::max(75, StatusUnits->fontMetrics().horizontalAdvance(UnitsName(1)) + 8));
    StatusPos = new QLabel(status);
    StatusPos->setFixedWidth(230);
    StatusText = new QLabel(status);
    status->addWidget(StatusUnits);
    status->addWidget(StatusPos);
    status->addWidget(StatusText, 1);
    layout->addWidget(status);

    frDock1 = new TfrDock(m_client, QStringLiteral("frDock1"), TDockAlign::Top);
    frDock2 = new TfrDock(m_client, QStringLiteral("frDock2"), TDockAlign::Left);
    frDock3 = new TfrDock(m_client, QStringLiteral("frDock3"), TDockAlign::Bottom);
    frDock4 = new TfrDock(m_client, QStringLiteral("frDock4"), TDockAlign::Right);
    for (TfrDock *d : {frDock1, frDock2, frDock3, frDock4})
        d->OnResized = [this] { LayoutClient(); };

    Tab1 = new QTabBar(m_client);
    Tab1->setObjectName(QStringLiteral("Tab1"));
    Tab1->setExpanding(false);
    connect(Tab1, &QTabBar::currentChanged, this, [this](int index) {
        if (index >= 0 && index != CurPage)
            SetPage(index);
    });
    ScrollBox1 = new QScrollArea(m_client);
    ScrollBox1->setObjectName(QStringLiteral("ScrollBox1"));
    ScrollBox1->setBackgroundRole(QPalette::Dark);
    PageView = new TfrDesignerPage(this);

    BuildToolBars();
    BuildMenus(menuBar);

    for (int i = 0; i < AddInClassCount; ++i)
        AddObjectButton(AddInClassRegistry[i].ButtonBitmap, AddInClassRegistry[i].ButtonHint, 10 + i);
    if (FirstInstance && EngineRunning()) {
        RegisterDesignerTool(QStringLiteral("Вставка полей БД в отчет"), QVariant(), [] {
            if (CurrentDesignerForm && DesignerHooks[QStringLiteral("InsertDBFields")])
                DesignerHooks[QStringLiteral("InsertDBFields")](*CurrentDesignerForm);
        });
        // The registration above reached this form only when it was linked.
        if (Engine().ReportDesignerInstance != this)
            for (const TfrToolsInfo &tool : Engine().DesignerToolRegistry)
                AddToolItem(tool.Caption, tool.Bitmap, tool.OnClick);
    }
    Inspector = new TfrInspForm(this);
    if (DesignerMemoEditorFactory)
        MemoEditor = DesignerMemoEditorFactory(this);
    const char *rows[] = {"Name", "Left", "Top", "Width", "Height", "Visible"};
    for (int i = 0; i < 6; ++i)
        Inspector->AddItem(QLatin1String(rows[i]), &InspValues[i]);
    Inspector->AddItem(QStringLiteral("Memo"), &InspValues[6], MemoEditor, 1);
    Inspector->Empty = true;
    ConnectEditing();
    ConnectCommands();
    if (!FirstInstance)
        for (const char *name : {"PgB1", "PgB2"})
            Button(QLatin1String(name))->setEnabled(false);
    if (!FirstInstance)
        for (const char *name : {"N29", "N30"})
            Item(QLatin1String(name))->setEnabled(false);
    ConnectSurfaceCommands();
    FirstInstanceFlag = false;
    SetFileName(QStringLiteral("Untitled"));
    resize(1000, 700);
}

TfrDesignerForm::~TfrDesignerForm()
{
    if (CurrentDesignerForm == this)
        CurrentDesignerForm = FirstForm != this ? FirstForm : nullptr;
    if (EngineRunning() && Engine().ReportDesignerInstance == this)
        Engine().ReportDesignerInstance = nullptr;
}

TfrTBButton *TfrDesignerForm::AddButton(TfrToolBar *bar, const QString &name, const QString &glyph,
                                        const QString &hint, int tag, int group, bool toggle, int length)
{
    auto *b = new TfrTBButton(bar);
    b->setObjectName(name);
    b->SetFlat(true);
    if (!glyph.isEmpty())
        b->SetGlyph(Glyph(glyph));
    b->setToolTip(hint);
    b->setProperty("tag", tag);
    b->SetGroupIndex(group);
    b->SetAllowAllUp(toggle);
    b->resize(length, 22);
    bar->AddControl(b, length);
    m_buttons[name] = b;
    // Until the editing and command parts arrive, only the buttons that work now answer.
    b->setEnabled(false);
    return b;
}

void TfrDesignerForm::AddSeparator(TfrToolBar *bar)
{
    auto *s = new TfrTBSeparator(bar);
    s->resize(8, 22);
    bar->AddControl(s, 8);
}

void TfrDesignerForm::BuildToolBars()
{
    Panel2 = new TfrToolBar(m_client, QStringLiteral("Panel2"), QStringLiteral("Стандартная"));
    Panel3 = new TfrToolBar(m_client, QStringLiteral("Panel3"), QStringLiteral("Текст"));
    Panel1 = new TfrToolBar(m_client, QStringLiteral("Panel1"), QStringLiteral("Прямоугольник"));
    Panel6 = new TfrToolBar(m_client, QStringLiteral("Panel6"), QStringLiteral("Мастера"));
    Panel4 = new TfrToolBar(m_client, QStringLiteral("Panel4"), QStringLiteral("Объекты"));
    Panel5 = new TfrToolBar(m_client, QStringLiteral("Panel5"), QStringLiteral("Выравнивание"));

    AddButton(Panel2, QStringLiteral("FileBtn1"), QStringLiteral("□"), QStringLiteral("Новый отчет"), 40);
    AddButton(Panel2, QStringLiteral("FileBtn2"), QStringLiteral("⌂"), QStringLiteral("Открыть отчет"), 41);
    AddButton(Panel2, QStringLiteral("FileBtn3"), QStringLiteral("▼"), QStringLiteral("Сохранить отчет"), 42);
    AddButton(Panel2, QStringLiteral("FileBtn4"), QStringLiteral("◎"), QStringLiteral("Предварительный просмотр"), 43);
    AddSeparator(Panel2);
    AddButton(Panel2, QStringLiteral("CutB"), QStringLiteral("✂"), QStringLiteral("Вырезать"), 44);
    AddButton(Panel2, QStringLiteral("CopyB"), QStringLiteral("❐"), QStringLiteral("Копировать"), 45);
    AddButton(Panel2, QStringLiteral("PstB"), QStringLiteral("▤"), QStringLiteral("Вставить"), 46);
    AddSeparator(Panel2);
    AddButton(Panel2, QStringLiteral("UndoB"), QStringLiteral("↶"), QStringLiteral("Отменить последнее действие"), 47);
    AddButton(Panel2, QStringLiteral("RedoB"), QStringLiteral("↷"), QStringLiteral("Повторить отмененное действие"), 48);
    AddSeparator(Panel2);
    AddButton(Panel2, QStringLiteral("ZB1"), QStringLiteral("▲"), QStringLiteral("Переместить объект наверх"), 49);
    AddButton(Panel2, QStringLiteral("ZB2"), QStringLiteral("▽"), QStringLiteral("Переместить объект вниз"), 50);
    AddButton(Panel2, QStringLiteral("SelAllB"), QStringLiteral("▣"), QStringLiteral("Выделить все"), 51);
    AddSeparator(Panel2);
    AddButton(Panel2, QStringLiteral("PgB1"), QStringLiteral("+"), QStringLiteral("Добавить страницу"), 52);
    AddButton(Panel2, QStringLiteral("PgB2"), QStringLiteral("−"), QStringLiteral("Удалить страницу"), 53);
    AddButton(Panel2, QStringLiteral("PgB3"), QStringLiteral("▯"), QStringLiteral("Опции страницы"), 54);
    AddSeparator(Panel2);
    AddButton(Panel2, QStringLiteral("GB1"), QStringLiteral("#"), QStringLiteral("Координатная сетка"), 55, 1, true);
    AddButton(Panel2, QStringLiteral("GB2"), QStringLiteral("⌗"), QStringLiteral("Выравнивать объекты по сетке"), 56, 2,
              true);
    AddButton(Panel2, QStringLiteral("GB3"), QStringLiteral("⊞"), QStringLiteral("Расположить объекты по сетке"), 57);
    AddSeparator(Panel2);
    AddButton(Panel2, QStringLiteral("HelpBtn"), QStringLiteral("?"), QStringLiteral("Показать справку"), 0, 100, true);
    TfrTBButton *exit =
        AddButton(Panel2, QStringLiteral("ExitB"), QString(), QStringLiteral("Закрыть окно"), 58, 0, false, 66);
    exit->SetCaption(QStringLiteral("Закрыть"));
    TfrTBButton *pgb2 = Button(QStringLiteral("PgB2"));
    pgb2->setEnabled(true);
    pgb2->OnClick = [this] { PgB2Click(); };

    auto *fonts = new QComboBox(Panel3);
    fonts->setObjectName(QStringLiteral("C2"));
    fonts->setToolTip(QStringLiteral("Шрифт"));
    fonts->resize(130, 21);
    Panel3->AddControl(fonts, 132);
    auto *sizes = new QComboBox(Panel3);
    sizes->setObjectName(QStringLiteral("C3"));
    sizes->setToolTip(QStringLiteral("Размер шрифта"));
    for (int s : {5, 6, 7, 8, 9, 10, 11, 12, 14, 16, 18, 20, 22, 24, 26, 28, 36, 48, 72})
        sizes->addItem(QString::number(s));
    sizes->resize(45, 21);
    Panel3->AddControl(sizes, 47);
    fonts->setEnabled(false);
    sizes->setEnabled(false);
    AddSeparator(Panel3);
    AddButton(Panel3, QStringLiteral("FnB1"), QStringLiteral("B"), QStringLiteral("Утолщение"), 9, 0, true);
    AddButton(Panel3, QStringLiteral("FnB2"), QStringLiteral("I"), QStringLiteral("Курсив"), 10, 0, true);
    AddButton(Panel3, QStringLiteral("FnB3"), QStringLiteral("U"), QStringLiteral("Подчеркивание"), 18, 0, true);
    AddButton(Panel3, QStringLiteral("ClB2"), QStringLiteral("A"), QStringLiteral("Цвет текста"), 17);
    AddButton(Panel3, QStringLiteral("HlB1"), QStringLiteral("!"), QStringLiteral("Атрибуты выделения"), 59);
    AddSeparator(Panel3);
    AddButton(Panel3, QStringLiteral("AlB1"), QStringLiteral("≡"), QStringLiteral("Выровнять текст влево"), 11, 4);
    AddButton(Panel3, QStringLiteral("AlB3"), QStringLiteral("☰"), QStringLiteral("Центровка текста"), 13, 4);
    AddButton(Panel3, QStringLiteral("AlB2"), QStringLiteral("≣"), QStringLiteral("Выровнять текст вправо"), 12, 4);
    AddButton(Panel3, QStringLiteral("AlB8"), QStringLiteral("▤"), QStringLiteral("Выровнять по ширине"), 22, 4);
    AddSeparator(Panel3);
    AddButton(Panel3, QStringLiteral("AlB6"), QStringLiteral("⊤"), QStringLiteral("Выровнять по верхнему краю"), 15, 6);
    AddButton(Panel3, QStringLiteral("AlB5"), QStringLiteral("↕"), QStringLiteral("Равномерно по высоте"), 15, 6);
    AddButton(Panel3, QStringLiteral("AlB7"), QStringLiteral("⊥"), QStringLiteral("Выровнять по нижнему краю"), 15, 6);
    AddButton(Panel3, QStringLiteral("AlB4"), QStringLiteral("↻"),
              QStringLiteral("Горизонтальное/вертикальное расположение текста"), 14, 5, true);

    AddButton(Panel1, QStringLiteral("FrB1"), QStringLiteral("▔"), QStringLiteral("Верхняя линия прямоугольника"), 1, 0, true);
    AddButton(Panel1, QStringLiteral("FrB2"), QStringLiteral("▏"), QStringLiteral("Левая линия прямоугольника"), 2, 0, true);
    AddButton(Panel1, QStringLiteral("FrB3"), QStringLiteral("▁"), QStringLiteral("Нижняя линия прямоугольника"), 3, 0, true);
    AddButton(Panel1, QStringLiteral("FrB4"), QStringLiteral("▕"), QStringLiteral("Правая линия прямоугольника"), 4, 0, true);
    AddButton(Panel1, QStringLiteral("FrB5"), QStringLiteral("□"), QStringLiteral("Все линии рамки"), 20);
    AddButton(Panel1, QStringLiteral("FrB6"), QStringLiteral("⬚"), QStringLiteral("Без рамки"), 21);
    AddSeparator(Panel1);
    AddButton(Panel1, QStringLiteral("ClB1"), QStringLiteral("▩"), QStringLiteral("Фон прямоугольника"), 5);
    AddButton(Panel1, QStringLiteral("ClB3"), QStringLiteral("▢"), QStringLiteral("Цвет рамки"), 19);
    auto *width = new QLineEdit(QStringLiteral("1"), Panel1);
    width->setObjectName(QStringLiteral("E1"));
    width->setToolTip(QStringLiteral("Толщина рамки"));
    width->resize(26, 20);
    width->setEnabled(false);
    Panel1->AddControl(width, 28);
    // The frame width's spin buttons, one above the other.
    auto *spin = new QWidget(Panel1);
    spin->resize(12, 22);
    for (auto [name, sign, top] : {std::tuple{"SB1", "▴", 0}, std::tuple{"SB2", "▾", 11}}) {
        auto *b = new TfrSpeedButton(spin);
        b->setObjectName(QLatin1String(name));
        b->SetCaption(QString::fromUtf8(sign));
        b->setGeometry(0, top, 12, 11);
        b->setEnabled(false);
    }
    Panel1->AddControl(spin, 14);

    AddButton(Panel4, QStringLiteral("OB1"), QStringLiteral("↖"), QStringLiteral("Выбрать объект"), -1, 1);
    AddButton(Panel4, QStringLiteral("OB2"), QStringLiteral("T"), QStringLiteral("Вставить прямоугольник с текстом"), 0, 1);
    AddButton(Panel4, QStringLiteral("OB3"), QStringLiteral("═"), QStringLiteral("Вставить секцию"), 2, 1);
    AddButton(Panel4, QStringLiteral("OB4"), QStringLiteral("▨"), QStringLiteral("Вставить рисунок"), 1, 1);
    AddButton(Panel4, QStringLiteral("OB5"), QStringLiteral("⧉"), QStringLiteral("Вставить вложенный отчет"), 3, 1);
    AddButton(Panel4, QStringLiteral("OB6"), QStringLiteral("╲"), QStringLiteral("Рисовать линии"), 4, 1);

    const QStringList alignHints = {
        QStringLiteral("Выровнять левые края"), QStringLiteral("Центрировать по горизонтали"),
        QStringLiteral("Центрировать по горизонтали в окне"), QStringLiteral("Расположить равномерно по ширине"),
        QStringLiteral("Выровнять правые края"), QStringLiteral("Выровнять верхние края"),
        QStringLiteral("Центрировать по вертикали"), QStringLiteral("Центрировать по вертикали в окне"),
        QStringLiteral("Расположить равномерно по высоте"), QStringLiteral("Выровнять нижние края")};
    const QStringList alignSigns = {"⇤", "⇹", "⊟", "⇿", "⇥", "⤒", "⇕", "⊡", "↨", "⤓"};
    for (int i = 0; i < 10; ++i)
        AddButton(Panel5, QStringLiteral("Align%1").arg(i + 1), alignSigns[i], alignHints[i], 60);

    // Default places: standard, text and rectangle in the top dock's rows,
    // objects on the left, the alignment palette on the right.
    Panel2->PlaceInDock(frDock1, 0, 0);
    Panel3->PlaceInDock(frDock1, 0, 26);
    Panel1->PlaceInDock(frDock1, Panel3->width(), 26);
    Panel6->PlaceInDock(frDock1, Panel3->width() + Panel1->width(), 26);
    Panel4->PlaceInDock(frDock2, 0, 0);
    Panel5->PlaceInDock(frDock4, 0, 0);
    Panel6->resize(std::max(26, Panel6->width()), 26);
}

QAction *TfrDesignerForm::AddItem(QMenu *menu, const QString &name, const QString &caption, const QKeySequence &key,
                                  const QString &button)
{
    QAction *a = menu->addAction(caption);
    a->setObjectName(name);
    a->setShortcut(key);
    a->setEnabled(false);
    if (TfrTBButton *b = button.isEmpty() ? nullptr : Button(button))
        a->setIcon(QIcon(QPixmap::fromImage(b->StateImage(bsUp))));
    m_items[name] = a;
    return a;
}

void TfrDesignerForm::BuildMenus(QMenuBar *bar)
{
    QMenu *file = bar->addMenu(QStringLiteral("&Файл"));
    AddItem(file, QStringLiteral("N23"), QStringLiteral("&Создать..."), QKeySequence(QStringLiteral("Ctrl+N")),
            QStringLiteral("FileBtn1"));
    AddItem(file, QStringLiteral("N19"), QStringLiteral("&Открыть..."), QKeySequence(QStringLiteral("Ctrl+O")),
            QStringLiteral("FileBtn2"));
    AddItem(file, QStringLiteral("N20"), QStringLiteral("&Сохранить"), QKeySequence(QStringLiteral("Ctrl+S")),
            QStringLiteral("FileBtn3"));
    AddItem(file, QStringLiteral("N17"), QStringLiteral("Сохранить &как..."));
    file->addSeparator();
    AddItem(file, QStringLiteral("N42"), QStringLiteral("Список &переменных..."));
    file->addSeparator();
    AddItem(file, QStringLiteral("N8"), QStringLiteral("Параметры от&чета..."));
    AddItem(file, QStringLiteral("N25"), QStringLiteral("Параметры ст&раницы..."));
    AddItem(file, QStringLiteral("N39"), QStringLiteral("Предварительный прос&мотр"),
            QKeySequence(QStringLiteral("Ctrl+P")), QStringLiteral("FileBtn4"));
    file->addSeparator();
    AddItem(file, QStringLiteral("N10"), QStringLiteral("Вы&ход"), {}, QStringLiteral("ExitB"));

    QMenu *edit = bar->addMenu(QStringLiteral("&Правка"));
    AddItem(edit, QStringLiteral("N46"), QStringLiteral("&Отменить"), QKeySequence(QStringLiteral("Ctrl+Z")),
            QStringLiteral("UndoB"));
    AddItem(edit, QStringLiteral("N48"), QStringLiteral("&Повторить"), QKeySequence(QStringLiteral("Ctrl+Y")),
            QStringLiteral("RedoB"));
    edit->addSeparator();
    AddItem(edit, QStringLiteral("N11"), QStringLiteral("&Вырезать"), QKeySequence(QStringLiteral("Ctrl+X")),
            QStringLiteral("CutB"));
    AddItem(edit, QStringLiteral("N12"), QStringLiteral("&Копировать"), QKeySequence(QStringLiteral("Ctrl+C")),
            QStringLiteral("CopyB"));
    AddItem(edit, QStringLiteral("N13"), QStringLiteral("Вс&тавить"), QKeySequence(QStringLiteral("Ctrl+V")),
            QStringLiteral("PstB"));
    AddItem(edit, QStringLiteral("N27"), QStringLiteral("&Удалить"), QKeySequence(QStringLiteral("Del")));
    AddItem(edit, QStringLiteral("N28"), QStringLiteral("Выделить в&се"), QKeySequence(QStringLiteral("Ctrl+A")),
            QStringLiteral("SelAllB"));
    AddItem(edit, QStringLiteral("N36"), QStringLiteral("&Редактировать..."));
    edit->addSeparator();
    AddItem(edit, QStringLiteral("N29"), QStringLiteral("До&бавить страницу"), {}, QStringLiteral("PgB1"));
    QAction *removePage = AddItem(edit, QStringLiteral("N30"), QStringLiteral("У&далить страницу"), {},
                                  QStringLiteral("PgB2"));
    removePage->setEnabled(true);
    connect(removePage, &QAction::triggered, this, [this] { PgB2Click(); });
    edit->addSeparator();
    AddItem(edit, QStringLiteral("N32"), QStringLiteral("Объект &наверх"), {}, QStringLiteral("ZB1"));
    AddItem(edit, QStringLiteral("N33"), QStringLiteral("Объект вни&з"), {}, QStringLiteral("ZB2"));

    QMenu *service = bar->addMenu(QStringLiteral("&Сервис"));
    QMenu *panels = service->addMenu(QStringLiteral("&Панели инструментов"));
    panels->setObjectName(QStringLiteral("N37"));
    int n = 1;
    for (const char *caption : {"&Прямоугольник", "&Стандартная", "&Текст", "&Объекты", "&Инспектор", "&Выравнивание",
                                "&Мастера"})
        AddItem(panels, QStringLiteral("Pan%1").arg(n++), QString::fromUtf8(caption))->setCheckable(true);
    MastMenu = service->addMenu(QStringLiteral("&Мастера"));
    MastMenu->setObjectName(QStringLiteral("MastMenu"));
    MastMenu->setEnabled(false);
    AddItem(service, QStringLiteral("N14"), QStringLiteral("&Опции..."));

    QMenu *help = bar->addMenu(QStringLiteral("?"));
    AddItem(help, QStringLiteral("N22"), QStringLiteral("&Вызов справки"), QKeySequence(QStringLiteral("F1")));
    AddItem(help, QStringLiteral("N35"), QStringLiteral("&Подсказка"), QKeySequence(QStringLiteral("Shift+F1")));
    help->addSeparator();
    AddItem(help, QStringLiteral("N34"), QStringLiteral("О &программе..."));

    Popup1 = new QMenu(this);
    AddItem(Popup1, QStringLiteral("N2"), QStringLiteral("&Вырезать"), QKeySequence(QStringLiteral("Ctrl+X")));
    AddItem(Popup1, QStringLiteral("N1"), QStringLiteral("&Копировать"), QKeySequence(QStringLiteral("Ctrl+C")));
    AddItem(Popup1, QStringLiteral("N3"), QStringLiteral("Вс&тавить"), QKeySequence(QStringLiteral("Ctrl+V")));
    AddItem(Popup1, QStringLiteral("N5"), QStringLiteral("&Удалить"), QKeySequence(QStringLiteral("Del")));
    AddItem(Popup1, QStringLiteral("N16"), QStringLiteral("Выделить в&се"), QKeySequence(QStringLiteral("Ctrl+A")));
    Popup1->addSeparator();
    AddItem(Popup1, QStringLiteral("N6"), QStringLiteral("&Редактор..."));
    // Shortcuts of the context menu are those of the main menu.
    for (QAction *a : Popup1->actions())
        a->setShortcut({});

    for (auto &[name, action] : m_items)
        connect(action, &QAction::triggered, this, [this, name] {
            if (auto hook = DesignerHooks.find(name); hook != DesignerHooks.end() && hook->second)
                hook->second(*this);
        });
}

void TfrDesignerForm::EnableHooked()
{
    for (auto &[name, hook] : DesignerHooks) {
        if (!hook)
            continue;
        if (QAction *a = Item(name))
            a->setEnabled(true);
        if (TfrTBButton *b = Button(name)) {
            b->setEnabled(true);
            b->OnClick = [this, name] { DesignerHooks[name](*this); };
        }
    }
}

TfrTBButton *TfrDesignerForm::Button(const QString &name) const
{
    const auto it = m_buttons.find(name);
    return it == m_buttons.end() ? nullptr : it->second;
}

QAction *TfrDesignerForm::Item(const QString &name) const
{
    const auto it = m_items.find(name);
    return it == m_items.end() ? nullptr : it->second;
}

std::vector<TfrToolBar *> TfrDesignerForm::ToolBars() const { return {Panel1, Panel2, Panel3, Panel4, Panel5, Panel6}; }

void TfrDesignerForm::AddToolItem(const QString &caption, const QVariant &bitmap, const std::function<void()> &onClick)
{
    QAction *a = MastMenu->addAction(caption);
    connect(a, &QAction::triggered, this, [onClick] {
        if (onClick)
            onClick();
    });
    MastMenu->setEnabled(true);
    Panel6->resize(26, 26);
    auto *b = new TfrTBButton(Panel6);
    b->SetFlat(true);
    b->SetGlyph(bitmap.canConvert<QImage>() && !bitmap.value<QImage>().isNull() ? bitmap.value<QImage>()
                                                                                  : Glyph(QStringLiteral("✦")));
    b->setToolTip(caption);
    b->setProperty("tag", 36);
    b->resize(22, 22);
    b->OnClick = onClick;
    Panel6->AddControl(b, 22);
    a->setIcon(QIcon(QPixmap::fromImage(b->StateImage(bsUp))));
    Panel6->FitLength();
}

void TfrDesignerForm::AddObjectButton(const QVariant &bitmap, const QString &hint, int tag)
{
    auto *b = new TfrTBButton(Panel4);
    b->setObjectName(QStringLiteral("AddIn%1").arg(tag));
    b->SetFlat(true);
    b->SetGroupIndex(1);
    b->SetGlyph(bitmap.canConvert<QImage>() && !bitmap.value<QImage>().isNull() ? bitmap.value<QImage>()
                                                                                : Glyph(QStringLiteral("◆")));
    b->setToolTip(hint);
    b->setProperty("tag", tag);
    b->resize(22, 22);
    b->setEnabled(false);
    Panel4->AddControl(b, 22);
    m_buttons[b->objectName()] = b;
}

void TfrDesignerForm::RedrawSelection() { RedrawPage(); }

void TfrDesignerForm::ShowModal()
{
    // Maximised to the whole screen by the window itself: there may be no
    // window manager to do it.
    if (QScreen *screen = QGuiApplication::primaryScreen())
        setGeometry(screen->geometry());
    exec();
}

std::unique_ptr<TfrReportDesigner> TfrDesignerForm::CreateAnother() const
{
    auto form = std::make_unique<TfrDesignerForm>();
    // It edits a prepared page that the preview keeps; the preview asks.
    form->HostKeepsTemplate = true;
    return form;
}

void TfrDesignerForm::SetFileName(const QString &name)
{
    FileName = name;
    const QFileInfo file(QString(name).replace(u'\\', u'/'));
    if (file.isAbsolute())
        FilesFolder = file.absolutePath();
    if (FirstInstance)
        setWindowTitle(Title + QStringLiteral(" - ") + file.fileName());
    else
        setWindowTitle(Title);
}

void TfrDesignerForm::SetPage(int n)
{
    TfrReportDocument *report = CurrentDocument();
    if (!report || report->TemplatePages.Count() == 0)
        return;
    n = std::clamp(n, 0, report->TemplatePages.Count() - 1);
    ClearUndo();
    ClearRedo();
    CurPage = n;
    Page = &report->TemplatePages.GetPage(n);
    UpdateTabs();
    Tab1->setCurrentIndex(n);
    ResetSelection();
    OrderBands(*Page);
    PageView->PlacePage();
    ScrollBox1->horizontalScrollBar()->setValue(0);
    ScrollBox1->verticalScrollBar()->setValue(0);
    RedrawPage();
}

std::vector<std::uint32_t> TfrDesignerForm::PageObjectIDs() const
{
    std::vector<std::uint32_t> ids;
    if (Page)
        for (const auto &v : Page->TemplateObjects)
            ids.push_back(v->ObjectID);
    return ids;
}

void TfrDesignerForm::ShowPageAgain(const std::vector<std::uint32_t> &before)
{
    TfrReportDocument *report = CurrentDocument();
    if (!report || CurPage < 0 || CurPage >= report->TemplatePages.Count()) {
        SetPage(CurPage);
        return;
    }
    // Taken afresh: the preview's page editing reads the template anew.
    Page = &report->TemplatePages.GetPage(CurPage);
    if (PageObjectIDs() != before) {
        SetPage(CurPage);
        return;
    }
    // A designer of a prepared page may have counted its own selection meanwhile.
    SelectedCount = int(SelectedObjects(*Page).size());
    LastClickedView = nullptr;
    UpdateTabs();
    Tab1->setCurrentIndex(CurPage);
    PageView->PlacePage();
    PageView->ComputeSelectionBounds();
    SyncToolbars();
    RedrawPage();
}

void TfrDesignerForm::UpdateTabs()
{
    TfrReportDocument *report = CurrentDocument();
    const int count = report ? report->TemplatePages.Count() : 0;
    const QSignalBlocker block(Tab1);
    if (Tab1->count() == count) {
        for (int i = 0; i < count; ++i)
            if (Tab1->tabText(i) != PageTabName(i))
                Tab1->setTabText(i, PageTabName(i));
        return;
    }
    while (Tab1->count() > 0)
        Tab1->removeTab(0);
    for (int i = 0; i < count; ++i)
        Tab1->addTab(PageTabName(i));
}

void TfrDesignerForm::ResetSelection()
{
    if (Page)
        DeselectAll(*Page);
    SelectedCount = 0;
    LastClickedView = nullptr;
    SelectionRectValid = false;
    StatusPos->clear();
    StatusText->clear();
    EnableCommands();
    RefreshInfo();
}

void TfrDesignerForm::RedrawPage() { PageView->DrawPage(); }

void TfrDesignerForm::PgB2Click()
{
    if (ShowMessageBox(QStringLiteral("Удалить страницу?"), QStringLiteral("Подтверждение"),
                       mb::YesNo | mb::IconQuestion)
        == idYes)
        RemovePage(CurPage);
}

void TfrDesignerForm::RemovePage(int n)
{
    Modified = FileModified = true;
    TfrReportDocument *report = CurrentDocument();
    if (report && n >= 0 && n < report->TemplatePages.Count()) {
        if (report->TemplatePages.Count() == 1) {
            report->TemplatePages.GetPage(0).Clear();
            SetPage(0);
        } else {
            report->TemplatePages.Delete(n);
            {
                const QSignalBlocker block(Tab1);
                Tab1->removeTab(n);
                Tab1->setCurrentIndex(0);
            }
            FixSubReportPages(report->TemplatePages, n);
            SetPage(0);
        }
    }
    ClearUndo();
    ClearRedo();
}

void TfrDesignerForm::SetGridSize(int n)
{
    if (Options.GridSize == n)
        return;
    Options.GridSize = n;
    RedrawPage();
}

void TfrDesignerForm::SetGridShow(bool b)
{
    if (Options.GridShow == b && Button(QStringLiteral("GB1"))->Down() == b)
        return;
    Options.GridShow = b;
    Button(QStringLiteral("GB1"))->SetDown(b);
    RedrawPage();
}

void TfrDesignerForm::SetGridAlign(bool b)
{
    Options.GridAlign = b;
    Button(QStringLiteral("GB2"))->SetDown(b);
}

void TfrDesignerForm::SetUnits(int u)
{
    Options.Units = u;
    StatusUnits->setText(UnitsName(u));
    // The inspector and the read-out show their numbers in the new units.
    RefreshInfo();
}

void TfrDesignerForm::SetGrayButtons(bool b)
{
    Options.GrayButtons = b;
    for (TfrToolBar *bar : ToolBars())
        for (QWidget *w : bar->Controls())
            if (auto *sb = dynamic_cast<TfrSpeedButton *>(w))
                sb->SetGrayedInactive(b);
}

namespace {

// Where a toolbar is now: in its dock, or its float window's screen place.
TToolBarState CurrentState(const TfrToolBar &bar)
{
    TToolBarState s;
    s.Floating = bar.Floating;
    s.Visible = bar.IsShown();
    const bool floating = bar.Floating && bar.FloatForm;
    s.X = floating ? bar.FloatForm->x() : bar.x();
    s.Y = floating ? bar.FloatForm->y() : bar.y();
    s.Width = bar.width();
    s.Height = bar.height();
    s.DockName = bar.ParentDock() ? bar.ParentDock()->objectName() : QString();
    return s;
}

} // namespace

void TfrDesignerForm::ReadOptions()
{
    TSettingsStore store(TSettingsScope::User);
    const TDesignerOptions o = ReadDesignerOptions(store, objectName());
    SetGridSize(o.GridSize);
    SetGridAlign(o.GridAlign);
    SetGridShow(o.GridShow);
    SetUnits(o.Units);
    SetGrayButtons(o.GrayButtons);
    Options.EditAfterInsert = o.EditAfterInsert;
    Options.Lang = o.Lang;

    const std::vector<TfrDock *> docks{frDock1, frDock2, frDock3, frDock4};
    for (TfrToolBar *bar : ToolBars()) {
        bar->SetShown(false);
        TToolBarState s = CurrentState(*bar);
        ReadToolBarState(store, bar->objectName(), s);
        bar->resize(s.Width, s.Height);
        if (s.Floating) {
            bar->FloatAtPos(s.X, s.Y);
        } else {
            bar->move(s.X, s.Y);
            for (TfrDock *d : docks)
                if (d->objectName() == s.DockName && (d != bar->ParentDock() || bar->Floating))
                    bar->PlaceInDock(d, s.X, s.Y);
            bar->FitLength();
        }
        // The wizards' toolbar holds its grip alone until a tool is added.
        if (bar == Panel6 && Panel6->Controls().size() < 2)
            s.Visible = false;
        if (bar->Floating && bar->FloatForm)
            ShowToolWindow(bar->FloatForm, s.Visible);
        else
            bar->SetShown(s.Visible);
    }
    Panel6->resize(std::max(26, Panel6->width()), std::max(26, Panel6->height()));
    for (TfrDock *d : docks)
        d->ArrangeRows();
    LayoutClient();

    // Only the inspector's place and visibility persist; it comes back unrolled.
    TFormState insp{!Inspector->isHidden(), Inspector->x(), Inspector->y(), Inspector->width(), Inspector->height()};
    if (insp.X == 0 && insp.Y == 0) {
        insp.X = width() - Inspector->FullWidth - 40;
        insp.Y = 120;
    }
    Inspector->hide();
    ReadFormState(store, Inspector->objectName(), insp);
    Inspector->setGeometry(insp.X, insp.Y, Inspector->FullWidth, Inspector->FullHeight);
    Inspector->Panel1->show();
    ShowToolWindow(Inspector, insp.Visible);
}

void TfrDesignerForm::ShowToolWindow(QWidget *window, bool shown)
{
    if (shown && m_holdToolWindows) {
        window->hide();
        m_heldToolWindows.emplace_back(window);
        return;
    }
    window->setVisible(shown);
}

void TfrDesignerForm::setVisible(bool visible)
{
    if (!visible || isVisible()) {
        QDialog::setVisible(visible);
        return;
    }
    m_holdToolWindows = true;
    QDialog::setVisible(true);
    m_holdToolWindows = false;
    // Now the designer is the modal window: what it shows is not blocked.
    for (const QPointer<QWidget> &window : std::exchange(m_heldToolWindows, {}))
        if (window)
            window->show();
}

void TfrDesignerForm::WriteOptions()
{
    TSettingsStore store(TSettingsScope::User);
    WriteDesignerOptions(store, objectName(), Options);
    for (TfrToolBar *bar : ToolBars()) {
        if (!FirstInstance && bar == Panel6)
            continue;
        WriteToolBarState(store, bar->objectName(), CurrentState(*bar));
    }
    for (TfrToolBar *bar : ToolBars())
        bar->SetShown(false);
    WriteFormState(store, Inspector->objectName(),
                   {!Inspector->isHidden(), Inspector->x(), Inspector->y(), Inspector->width(), Inspector->height()});
    Inspector->hide();
}

void TfrDesignerForm::showEvent(QShowEvent *e)
{
    QDialog::showEvent(e);
    if (e->spontaneous())
        return;
    CurrentDesignerForm = this;
    Modified = false;
    FileModified = false;
    EngineMode = 0;
    if (auto *fonts = findChild<QComboBox *>(QStringLiteral("C2"))) {
        fonts->clear();
        fonts->addItems(QFontDatabase::families());
        // Arial is present where a metric-compatible face stands in for it.
        fonts->setCurrentText(QStringLiteral("Arial"));
        if (fonts->currentText() != QStringLiteral("Arial")) {
            fonts->insertItem(0, QStringLiteral("Arial"));
            fonts->setCurrentIndex(0);
        }
    }
    if (auto *sizes = findChild<QComboBox *>(QStringLiteral("C3")))
        sizes->setCurrentText(QStringLiteral("10"));
    SetPage(0);
    SetFileName(FileName);
    ResetSelection();
    PageView->ResetState();
    Button(QStringLiteral("OB1"))->SetDown(true);
    EnableHooked();
    if (!FirstInstance)
        for (const char *name : {"PgB1", "PgB2", "FileBtn4"})
            Button(QLatin1String(name))->setEnabled(false);
    if (!FirstInstance)
        for (const char *name : {"N29", "N30", "N39"})
            Item(QLatin1String(name))->setEnabled(false);
    ReadOptions();
}

void TfrDesignerForm::hideEvent(QHideEvent *e)
{
    QDialog::hideEvent(e);
    if (e->spontaneous())
        return;
    ClearUndo();
    ClearRedo();
    // A palette dropped in this run does not wait for the next one.
    if (ColorSelector)
        ColorSelector->hide();
    WriteOptions();
    // The host may free or replace the pages before the next run: nothing
    // here may lead into them until SetPage gives the designer its page again.
    Page = nullptr;
    LastClickedView = nullptr;
}

void TfrDesignerForm::resizeEvent(QResizeEvent *e)
{
    QDialog::resizeEvent(e);
    LayoutClient();
}

void TfrDesignerForm::LayoutClient()
{
    const int w = m_client->width();
    const int h = m_client->height();
    const int top = frDock1->height();
    const int bottom = frDock3->height();
    frDock1->setGeometry(0, 0, w, top);
    frDock3->setGeometry(0, h - bottom, w, bottom);
    const int midH = std::max(1, h - top - bottom);
    frDock2->setGeometry(0, top, frDock2->width(), midH);
    frDock4->setGeometry(w - frDock4->width(), top, frDock4->width(), midH);
    const int left = frDock2->width();
    const int right = frDock4->width();
    const int tabH = Tab1->sizeHint().height();
    Tab1->setGeometry(left, top, std::max(1, w - left - right), tabH);
    ScrollBox1->setGeometry(left, top + tabH, std::max(1, w - left - right), std::max(1, midH - tabH));
}

// ---------------------------------------------------------------- install

void InstallReportDesigner()
{
    if (FirstForm)
        return;
    FirstForm = new TfrDesignerForm;
    FirstForm->hide();
    if (EngineRunning())
        Engine().ReportDesignerInstance = FirstForm;
    ReportChooserHooks.Design = [](TfrReport &report, const QString &file) {
        if (CurrentDesignerForm)
            CurrentDesignerForm->SetFileName(file);
        report.DesignReport();
    };
}

void RemoveReportDesigner()
{
    ReportChooserHooks.Design = nullptr;
    delete FirstForm;
    FirstForm = nullptr;
    FirstInstanceFlag = true;
    // The copies are report objects: free them while the engine and the
    // application still exist, not from a static destructor.
    ClearDesignClipboard();
}
