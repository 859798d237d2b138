#include "designer/design_commands_core.h"
#include "designer/design_state.h"
#include "designer/ui/design_page.h"
#include "designer/ui/designer_dialog_hooks.h"
#include "designer/ui/designer_dialogs.h"
#include "designer/ui/dialog_helpers.h"
#include "designer/ui/dock.h"
#include "designer/ui/frm_designer.h"
#include "designer/ui/frm_insp.h"
#include "platform/guard.h"
#include "platform/help.h"
#include "platform/paths.h"
#include "platform/prompt.h"
#include "platform/ui/file_dialogs.h"
#include "report/report.h"
#include "report/report_page.h"
#include "report/ui/speed_button.h"

#include <QtCore/QDir>
#include <QtCore/QFileInfo>
#include <QtCore/QPointer>
#include <QtGui/QAction>
#include <QtGui/QCloseEvent>
#include <QtGui/QMouseEvent>
#include <QtWidgets/QApplication>
#include <QtWidgets/QLineEdit>
#include <QtWidgets/QMenu>
#include <QtWidgets/QScrollArea>

namespace {

const QString Untitled = QStringLiteral("Untitled");
const TFileFilter FormFilter{QStringLiteral("Форма Kvadrep (*.frf)"), {QStringLiteral("*.frf")}};
const TFileFilter TemplateFilter{QStringLiteral("Шаблон Kvadrep (*.frt)"), {QStringLiteral("*.frt")}};

TfrReport *DesignedReport() { return dynamic_cast<TfrReport *>(CurrentDocument()); }

// The folder the designer's file dialogs start in.
QString DialogFolder(const TfrDesignerForm &form)
{
    return form.FilesFolder.isEmpty() ? StartFolder() : form.FilesFolder;
}

// While a help pick is on, the next mouse press anywhere in the program
// goes to the designer instead of the control under it.
class THelpPick : public QObject
{
public:
    explicit THelpPick(TfrDesignerForm *form) : QObject(form), m_form(form) {}

protected:
    bool eventFilter(QObject *watched, QEvent *e) override
    {
        if (e->type() != QEvent::MouseButtonPress)
            return false;
        // The window's own copy of the press is left to reach its widget.
        auto *target = qobject_cast<QWidget *>(watched);
        if (!target)
            return false;
        const QPoint global = static_cast<QMouseEvent *>(e)->globalPosition().toPoint();
        // Deferred: the pick removes this filter.
        QMetaObject::invokeMethod(
            m_form, [form = m_form, target = QPointer<QWidget>(target), global] { form->FormMouseDown(target, global); },
            Qt::QueuedConnection);
        return true;
    }

private:
    TfrDesignerForm *m_form;
};

// The help pick in progress; one designer at a time has the mouse.
QPointer<THelpPick> HelpPick;

} // namespace

void TfrDesignerForm::ConnectCommands()
{
    const std::pair<const char *, void (TfrDesignerForm::*)()> commands[] = {
        {"ZB1", &TfrDesignerForm::ZB1Click},         {"N32", &TfrDesignerForm::ZB1Click},
        {"ZB2", &TfrDesignerForm::ZB2Click},         {"N33", &TfrDesignerForm::ZB2Click},
        {"CutB", &TfrDesignerForm::CutBClick},       {"N11", &TfrDesignerForm::CutBClick},
        {"N2", &TfrDesignerForm::CutBClick},         {"CopyB", &TfrDesignerForm::CopyBClick},
        {"N12", &TfrDesignerForm::CopyBClick},       {"N1", &TfrDesignerForm::CopyBClick},
        {"PstB", &TfrDesignerForm::PstBClick},       {"N13", &TfrDesignerForm::PstBClick},
        {"N3", &TfrDesignerForm::PstBClick},         {"SelAllB", &TfrDesignerForm::SelAllBClick},
        {"N28", &TfrDesignerForm::SelAllBClick},     {"N16", &TfrDesignerForm::SelAllBClick},
        {"FileBtn1", &TfrDesignerForm::FileBtn1Click}, {"N23", &TfrDesignerForm::N23Click},
        {"FileBtn2", &TfrDesignerForm::FileBtn2Click}, {"N19", &TfrDesignerForm::FileBtn2Click},
        {"FileBtn3", &TfrDesignerForm::FileBtn3Click}, {"N20", &TfrDesignerForm::FileBtn3Click},
        {"N17", &TfrDesignerForm::N20Click},         {"FileBtn4", &TfrDesignerForm::FileBtn4Click},
        {"N39", &TfrDesignerForm::FileBtn4Click},    {"GB1", &TfrDesignerForm::GB1Click},
        {"GB2", &TfrDesignerForm::GB2Click},         {"GB3", &TfrDesignerForm::GB3Click},
        {"ExitB", &TfrDesignerForm::ExitBClick},     {"N10", &TfrDesignerForm::ExitBClick},
        {"Align1", &TfrDesignerForm::Align1Click},   {"Align2", &TfrDesignerForm::Align2Click},
        {"Align3", &TfrDesignerForm::Align3Click},   {"Align4", &TfrDesignerForm::Align4Click},
        {"Align5", &TfrDesignerForm::Align5Click},   {"Align6", &TfrDesignerForm::Align6Click},
        {"Align7", &TfrDesignerForm::Align7Click},   {"Align8", &TfrDesignerForm::Align8Click},
        {"Align9", &TfrDesignerForm::Align9Click},   {"Align10", &TfrDesignerForm::Align10Click},
        {"N22", &TfrDesignerForm::N22Click},         {"N35", &TfrDesignerForm::HelpBtnClick},
        {"HelpBtn", &TfrDesignerForm::HelpBtnClick},
    };
    for (auto [name, handler] : commands) {
        const QString key = QLatin1String(name);
        const auto run = [this, handler] { GuardedCall([this, handler] { (this->*handler)(); }); };
        if (QAction *a = Item(key))
            connect(a, &QAction::triggered, this, run);
        else if (TfrTBButton *b = Button(key))
            b->OnClick = run;
    }
    // What works whatever is selected (the alignment palette does nothing
    // without enough objects); the rest follows the selection.
    for (const char *name : {"FileBtn1", "FileBtn2", "FileBtn3", "FileBtn4", "SelAllB", "GB1", "GB2", "ExitB",
                             "HelpBtn"})
        Button(QLatin1String(name))->setEnabled(true);
    for (int i = 1; i <= 10; ++i)
        Button(QStringLiteral("Align%1").arg(i))->setEnabled(true);
    for (const char *name : {"N23", "N19", "N20", "N17", "N39", "N28", "N16", "N10", "N22", "N35"})
        Item(QLatin1String(name))->setEnabled(true);

    for (const char *name : {"SB1", "SB2"})
        if (auto *b = findChild<TfrSpeedButton *>(QLatin1String(name)))
            b->OnClick = [this, up = name[2] == '1'] { GuardedCall([this, up] { up ? SB1Click() : SB2Click(); }); };

    if (auto *panels = findChild<QMenu *>(QStringLiteral("N37"))) {
        const int targets[] = {0, 1, 2, 3, 5, 4, 6};
        for (int i = 0; i < 7; ++i) {
            QAction *a = Item(QStringLiteral("Pan%1").arg(i + 1));
            a->setProperty("tag", targets[i]);
            a->setEnabled(true);
            connect(a, &QAction::triggered, this, [this, a] { Pan2Click(a); });
        }
        connect(panels, &QMenu::aboutToShow, this, &TfrDesignerForm::N37Click);
    }
}

// ---------------------------------------------------------------- order

void TfrDesignerForm::ZB1Click()
{
    if (!Page)
        return;
    RecordUndo(3);
    BringToFront(*Page);
    RedrawPage();
}

void TfrDesignerForm::ZB2Click()
{
    if (!Page)
        return;
    RecordUndo(3);
    SendToBack(*Page);
    RedrawPage();
}

// ---------------------------------------------------------------- clipboard

void TfrDesignerForm::CopyBClick()
{
    if (!Page || SelectedCount == 0)
        return;
    CopySelectionToClipboard(*Page);
    EnableCommands();
}

void TfrDesignerForm::CutBClick()
{
    if (!Page || SelectedCount == 0)
        return;
    RecordUndo(1);
    CutSelectionToClipboard(*Page);
    EnableCommands();
    UpdateInspectorValues();
    RefreshInfo();
    RedrawPage();
}

void TfrDesignerForm::PstBClick()
{
    if (!Page || DesignClipboard.empty())
        return;
    const int grid = Options.GridSize;
    // Scrolling moves the sheet the page lies on, not the page within it:
    // where the page starts is measured in the scroll box's view.
    const QPoint surface = PageView->mapTo(ScrollBox1->viewport(), QPoint(0, 0));
    PasteClipboard(*Page, ScrolledGridOffset(surface.x(), grid), ScrolledGridOffset(surface.y(), grid));
    SyncToolbars();
    PageView->ComputeSelectionBounds();
    RedrawPage();
    RecordUndo(0);
}

void TfrDesignerForm::SelAllBClick()
{
    if (!Page)
        return;
    PageView->DrawSelection(1);
    SelectAllObjects(*Page);
    PageView->ComputeSelectionBounds();
    PageView->DrawSelection(1);
    SyncToolbars();
}

// ---------------------------------------------------------------- files

bool TfrDesignerForm::AskSaveChanges()
{
    if (!FileModified)
        return true;
    const int answer = ShowMessageBox(QStringLiteral("Сохранить изменения?"), QStringLiteral("Подтверждение"),
                                      mb::YesNoCancel | mb::IconQuestion);
    if (answer == idCancel)
        return false;
    if (answer == idYes) {
        FileBtn3Click();
        return DialogConfirmed;
    }
    return true;
}

void TfrDesignerForm::FileBtn1Click()
{
    TfrReport *report = DesignedReport();
    if (!report || !AskSaveChanges())
        return;
    ClearUndo();
    ClearRedo();
    report->TemplatePages.Clear();
    report->TemplatePages.Add();
    SetPage(0);
    SetFileName(Untitled);
    FileModified = false;
}

void TfrDesignerForm::N23Click()
{
    TfrReport *report = DesignedReport();
    // A changed template is not dropped without a word.
    if (!report || !AskSaveChanges())
        return;
    if (!NewReportFromTemplate(*report, DesignerTemplateFolder, this))
        return;
    ClearUndo();
    ClearRedo();
    SetFileName(Untitled);
    SetPage(0);
}

void TfrDesignerForm::FileBtn2Click()
{
    TfrReport *report = DesignedReport();
    if (!report || !AskSaveChanges())
        return;
    const QString name = GetOpenFileName(this, QString(), DialogFolder(*this), {FormFilter}, nullptr);
    if (name.isEmpty())
        return;
    // The designer takes the file's name only once the file was read: a
    // file that fails leaves the template and the name it had.
    report->LoadFromFile(name);
    ClearUndo();
    ClearRedo();
    SetFileName(name);
    FileModified = false;
    SetPage(0);
}

void TfrDesignerForm::FileBtn3Click()
{
    if (FileName == Untitled) {
        N20Click();
        return;
    }
    TfrReport *report = DesignedReport();
    DialogConfirmed = false;
    if (!report)
        return;
    report->SaveToFile(FileName);
    FileModified = false;
    DialogConfirmed = true;
}

void TfrDesignerForm::N20Click()
{
    DialogConfirmed = false;
    TfrReport *report = DesignedReport();
    if (!report)
        return;
    int filter = 0;
    // An untitled template is proposed in the folder "Открыть" shows.
    const QString proposed =
        QFileInfo(FileName).isAbsolute() ? FileName : QDir(DialogFolder(*this)).filePath(FileName);
    const QString chosen = GetSaveFileName(this, QString(), proposed, {FormFilter, TemplateFilter}, &filter);
    if (chosen.isEmpty())
        return;
    if (filter == 0) {
        const QString name = FormFileName(chosen);
        report->SaveToFile(name);
        SetFileName(name);
        // The designer's file holds the template now: closing has nothing to lose.
        FileModified = false;
        DialogConfirmed = true;
        return;
    }
    if (!SaveReportAsTemplate(*report, DesignerTemplateFolder, chosen, this).isEmpty())
        DialogConfirmed = true;
}

void TfrDesignerForm::FileBtn4Click()
{
    TfrReport *report = DesignedReport();
    if (!report || dynamic_cast<TfrCompositeReport *>(report))
        return;
    const bool inspectorShown = !Inspector->isHidden();
    const bool modal = report->ModalPreview;
    const std::vector<std::uint32_t> objects = PageObjectIDs();
    Inspector->hide();
    QCoreApplication::processEvents();
    report->ModalPreview = true;
    GuardedCall([report] { report->ShowReport(); });
    SetCurrentDocument(report);
    CurrentDesignerForm = this;
    Inspector->setVisible(inspectorShown);
    report->ModalPreview = modal;
    activateWindow();
    EngineMode = 0;
    FirstPassRunning = false;
    if (CurPage == 0)
        ShowPageAgain(objects);
    else
        SetPage(0);
}

// ---------------------------------------------------------------- grid

void TfrDesignerForm::GB1Click() { SetGridShow(Button(QStringLiteral("GB1"))->Down()); }

void TfrDesignerForm::GB2Click() { SetGridAlign(Button(QStringLiteral("GB2"))->Down()); }

void TfrDesignerForm::GB3Click()
{
    if (!Page)
        return;
    RecordUndo(2);
    FitSelectionToGrid(*Page, Options.GridSize);
    RedrawPage();
    RefreshInfo();
    PageView->ComputeSelectionBounds();
}

// ---------------------------------------------------------------- toolbars and close

void TfrDesignerForm::N37Click()
{
    const std::pair<const char *, TfrToolBar *> panels[] = {{"Pan1", Panel1}, {"Pan2", Panel2}, {"Pan3", Panel3},
                                                            {"Pan4", Panel4}, {"Pan6", Panel5}, {"Pan7", Panel6}};
    for (auto [name, bar] : panels)
        Item(QLatin1String(name))->setChecked(bar->IsShown());
    Item(QStringLiteral("Pan5"))->setChecked(!Inspector->isHidden());
}

void TfrDesignerForm::Pan2Click(QAction *item)
{
    const bool on = item->isChecked();
    const int tag = item->property("tag").toInt();
    if (tag == 5) {
        Inspector->setVisible(on);
        return;
    }
    // The menu's order is not the toolbars' order: tag 4 is the alignment
    // palette and tag 6 the wizards.
    TfrToolBar *const targets[] = {Panel1, Panel2, Panel3, Panel4, Panel5, nullptr, Panel6};
    if (tag < 0 || tag >= int(std::size(targets)) || !targets[tag])
        return;
    TfrToolBar *bar = targets[tag];
    TfrDock *dock = bar->Floating ? nullptr : bar->ParentDock();
    if (on && dock)
        bar->PlaceAtDockEdge(dock);
    bar->SetShown(on);
    if (dock)
        dock->ArrangeRows();
}

bool TfrDesignerForm::MayClose() { return HostKeepsTemplate || AskSaveChanges(); }

void TfrDesignerForm::ExitBClick()
{
    if (MayClose())
        accept();
}

void TfrDesignerForm::closeEvent(QCloseEvent *e)
{
    // The window frame's close is a close too; an error of the save keeps
    // the designer open with the change. A hidden designer has nothing to ask.
    bool may = !isVisible();
    if (!may)
        GuardedCall([&] { may = MayClose(); });
    if (!may) {
        e->ignore();
        return;
    }
    QDialog::closeEvent(e);
}

// ---------------------------------------------------------------- alignment palette

namespace {

void Align(TfrDesignerForm &form, TAlignCommand command)
{
    if (!form.Page || SelectedCount < AlignNeedsSelected(command))
        return;
    form.RecordUndoModify();
    AlignSelection(*form.Page, command, form.Page->PrinterInfo.PageWidth, form.Page->PrinterInfo.PageHeight);
    form.PageView->ComputeSelectionBounds();
    form.RedrawPage();
    // The inspector and the read-out show where the objects went.
    form.RefreshInfo();
}

} // namespace

void TfrDesignerForm::Align1Click() { Align(*this, TAlignCommand::Lefts); }
void TfrDesignerForm::Align2Click() { Align(*this, TAlignCommand::HorzCentres); }
void TfrDesignerForm::Align3Click() { Align(*this, TAlignCommand::CentreInPageWidth); }
void TfrDesignerForm::Align4Click() { Align(*this, TAlignCommand::SpaceAcross); }
void TfrDesignerForm::Align5Click() { Align(*this, TAlignCommand::Rights); }
void TfrDesignerForm::Align6Click() { Align(*this, TAlignCommand::Tops); }
void TfrDesignerForm::Align7Click() { Align(*this, TAlignCommand::VertCentres); }
void TfrDesignerForm::Align8Click() { Align(*this, TAlignCommand::CentreInPageHeight); }
void TfrDesignerForm::Align9Click() { Align(*this, TAlignCommand::SpaceDown); }
void TfrDesignerForm::Align10Click() { Align(*this, TAlignCommand::Bottoms); }

// ---------------------------------------------------------------- frame width

namespace {

void SpinFrameWidth(TfrDesignerForm &form, int delta)
{
    auto *box = form.findChild<QLineEdit *>(QStringLiteral("E1"));
    if (!box)
        return;
    const std::optional<int> n = SpinFrameWidth(box->text(), delta);
    if (!n) {
        ShowIntegerError(box->text());
        return;
    }
    box->setText(QString::number(*n));
    form.DoClick(box);
}

} // namespace

void TfrDesignerForm::SB1Click() { SpinFrameWidth(*this, 1); }
void TfrDesignerForm::SB2Click() { SpinFrameWidth(*this, -1); }

// ---------------------------------------------------------------- help

void TfrDesignerForm::N22Click() { ShowHelpTopic(HelpContents); }

void TfrDesignerForm::HelpBtnClick()
{
    if (HelpPick)
        return;
    Button(QStringLiteral("HelpBtn"))->SetDown(true);
    QApplication::setOverrideCursor(Qt::WhatsThisCursor);
    grabMouse();
    HelpPick = new THelpPick(this);
    qApp->installEventFilter(HelpPick);
}

void TfrDesignerForm::FormMouseDown(QWidget *target, const QPoint &global)
{
    if (!HelpPick || HelpPick->parent() != this)
        return;
    qApp->removeEventFilter(HelpPick);
    delete HelpPick;
    TfrTBButton *helpButton = Button(QStringLiteral("HelpBtn"));
    helpButton->SetDown(false);
    QApplication::restoreOverrideCursor();
    releaseMouse();
    // Under a mouse grab the press comes to the designer itself.
    if (!target || target == this)
        target = QApplication::widgetAt(global);
    if (!target || target == this || !isAncestorOf(target))
        return;
    // The control is the first widget up the chain that carries a tag.
    QWidget *control = target;
    while (control != this && !control->property("tag").isValid())
        control = control->parentWidget();
    if (control == this)
        control = target;
    if (control == helpButton)
        return;
    ShowHelpTopic(ControlHelpTopic(control->property("tag").toInt(), control->parentWidget() == Panel4));
}
