#include "shell/ui/scheme_objects_host.h"

#include "platform/ui/qt_canvas.h"
#include "scheme/scheme_objects.h"
#include "scheme/ui/frm_branch.h"
#include "scheme/ui/frm_symbols_property.h"
#include "scheme/ui/frm_text_prop.h"
#include "shell/scheme_storage.h"
#include "shell/ui/frm_main.h"

#include <QtGui/QImage>

void InstallSchemeObjects(TfrmMain &mainWindow)
{
    TfrmMain *w = &mainWindow;
    TSchemeDocument *doc = &w->Storage().Doc;

    TSchemeObjectServices s;
    s.Tables = &Net;
    s.Doc = doc;
    s.View = &w->View();
    s.DrawSettings = [w] { return w->DrawSettings(); };
    // Texts are measured at the resolution they are drawn at on screen.
    s.MeasureCanvas = []() -> TCanvas * {
        static QImage image(1, 1, QImage::Format_RGB32);
        static TQtCanvas canvas(&image);
        return &canvas;
    };
    s.Redraw = [w] { w->Redraw(); };
    s.SetModified = [w](bool modified) { w->SetModified(modified); };
    s.EditBalloon = [w](TPLABaloon &balloon) { return TfrmSymbolsProperty::Edit(balloon, Net, w); };
    s.EditText = [w](TMapText &text, const QString &caption, bool deletable) {
        return TfrmTextProp::Edit(text, caption, deletable, w);
    };
    SchemeObjects = MakeSchemeObjectLayers(s);

    TfrmTextProp::ChooseColor = [w](TColor &color) { return w->ChooseColor(color); };
    TfrmTextProp::LabelSize = [w] { return LabelFontSizes[static_cast<std::size_t>(w->View().ZoomStep)]; };

    TSchemeOverlays &overlays = w->SchemeOverlays();
    overlays.DrawTexts = [doc](TCanvas &canvas, const TViewport &view, const TSchemeDrawSettings &settings) {
        DrawMapTexts(canvas, doc->MapTexts, view, settings);
    };
    overlays.DrawBalloons = [doc](TCanvas &canvas, const TViewport &view, const TSchemeDrawSettings &settings) {
        DrawBalloons(canvas, doc->BalloonList, view, settings);
    };
    overlays.DrawPhones = [doc](TCanvas &canvas, const TViewport &view, const TSchemeDrawSettings &settings) {
        DrawPhones(canvas, doc->PhoneList, view, settings);
    };

    BranchDialogHooks.PhoneNumber = [](int branch) { return BranchPhoneNumber(Net, branch); };
    BranchDialogHooks.StorePhone = [w, doc](int branch, const QString &number) {
        if (StoreBranchPhone(Net, *doc, branch, number, {w->SnappedMouseX(), w->SnappedMouseY()}))
            w->SetModified(true);
    };
}
