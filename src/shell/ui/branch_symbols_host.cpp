#include "shell/ui/branch_symbols_host.h"

#include "platform/ui/qt_canvas.h"
#include "scheme/builtin_symbols.h"
#include "scheme/ui/frm_branch.h"
#include "shell/scheme_storage.h"
#include "shell/ui/frm_main.h"
#include "shell/ui/frm_options.h"

#include <QtCore/QRect>
#include <QtGui/QImage>

TBranchSymbolsHost *TBranchSymbolsHost::Install(TfrmMain &window)
{
    return new TBranchSymbolsHost(window);
}

TBranchSymbolsHost::TBranchSymbolsHost(TfrmMain &window)
    : QObject(&window), m_window(window),
      m_symbols(std::make_unique<TBranchSymbolList>(window.Options().SymbolsLocation))
{
    setObjectName(QStringLiteral("BranchSymbolsHost"));
    RegisterBuiltinSymbols(*m_symbols);
    window.ShowWhenStarted(m_symbols->Refusals());

    TfrmMain *w = &window;
    const TBranchSymbolList *symbols = m_symbols.get();
    w->SchemeOverlays().DrawBranchSymbols = [w, symbols](TCanvas &canvas, const TViewport &view,
                                                         const TSchemeDrawSettings &settings, int branch,
                                                         bool thick, TColor color) {
        // A symbol asks which branch it stands on while it is drawn.
        w->SetCurrentBranch(branch);
        DrawBranchSymbols(canvas, {Net, w->Storage().Doc.SymbolLinks, *symbols, view, settings}, branch, thick,
                          color);
    };
    BranchDialogHost.Form.BranchSymbols = [symbols] {
        std::vector<TSymbolType> types;
        for (int i = 0; i < symbols->Count(); ++i)
            types.push_back({symbols->GetItem(i).Name, symbols->GetItem(i).Description});
        return types;
    };
    w->OptionsSymbols = [this](TOptionsHost &host) {
        host.SymbolNames = m_symbols->Names();
        host.DrawSymbol = [this](int index, QImage &image, const QRect &box) { DrawPreview(index, image, box); };
    };
}

// The host goes with the window's children, after the window's own members:
// only the dialog's global hook is left to clear.
TBranchSymbolsHost::~TBranchSymbolsHost()
{
    BranchDialogHost.Form.BranchSymbols = nullptr;
    m_symbols->UnloadAll();
}

void TBranchSymbolsHost::DrawPreview(int index, QImage &image, const QRect &box)
{
    if (index < 0 || index >= m_symbols->Count())
        return;
    TQtCanvas canvas(&image);
    // While the symbol draws, the program's drawing canvas is the preview,
    // whatever the symbol does.
    struct TRestore
    {
        TfrmMain &Window;
        TCanvas *Old;
        ~TRestore() { Window.SwapDrawCanvas(Old); }
    } restore{m_window, m_window.SwapDrawCanvas(&canvas)};
    SetSchemeDefaultFont(canvas, m_window.DrawSettings(), m_window.View().ZoomStep);
    const tunvex_api::TunvexPoint corners[4] = {
        {box.left(), box.top()}, {box.right(), box.top()}, {box.left(), box.bottom()}, {box.right(), box.bottom()}};
    CallDrawSymbol(canvas, m_symbols->GetItem(index), corners, clBlack);
}
