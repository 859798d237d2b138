#pragma once
// The branch symbols of the main window: the list built once per run from
// the symbols folder of the settings and the built-in set, drawn on the
// scheme in thick mode, offered by the branch dialog and listed and
// previewed on the options page "Символы". The libraries stay loaded until
// the window goes.
#include <QtCore/QObject>

#include <memory>

class QImage;
class QRect;
class TBranchSymbolList;
class TfrmMain;

class TBranchSymbolsHost : public QObject
{
    Q_OBJECT

public:
    // Builds the list and installs it into the window, which owns the host.
    static TBranchSymbolsHost *Install(TfrmMain &window);
    ~TBranchSymbolsHost() override;

    const TBranchSymbolList &BranchSymbols() const { return *m_symbols; }
    // The options page's preview of the symbol at index, in the box of the image.
    void DrawPreview(int index, QImage &image, const QRect &box);

private:
    explicit TBranchSymbolsHost(TfrmMain &window);

    TfrmMain &m_window;
    std::unique_ptr<TBranchSymbolList> m_symbols;
};
