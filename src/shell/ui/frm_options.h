#pragma once
// The options window "Настройки": pages "Общие", "Цвета", "Расположение",
// "Пароль" and "Символы" over the main window's settings, the sheet size of
// the open scheme and the branch colours.
//
// OK applies the controls to the settings (written to the store only when
// the main window goes) and closes; "Применить" applies and stays, after
// which OK merely closes until the next change. A password that differs from
// its confirmation, or a sheet size that is no number in range, applies
// nothing and keeps the window open on the offending control.
#include "model/network.h"
#include "platform/colors.h"
#include "shell/options_set.h"

#include <QtCore/QStringList>
#include <QtWidgets/QDialog>

#include <cstdint>
#include <functional>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QImage;
class QPushButton;
class QRadioButton;
class QSpinBox;
class QTabWidget;
class TxqEdit;

// What the window reads and changes of the main window.
struct TOptionsHost
{
    TOptionsSet *Options = nullptr;
    // The sheet of the scheme properties.
    std::int32_t *SheetWidth = nullptr;
    std::int32_t *SheetHeight = nullptr;
    // The network, for its bounds and for which branches exist.
    const TNetworkTables *Tables = nullptr;
    TTable<TColor> *BranchColors = nullptr;
    // Names of the branch symbols, and the drawing of the one at an index
    // into a box of the preview image; a symbol that throws leaves the
    // preview as it is.
    QStringList SymbolNames;
    std::function<void(int index, QImage &image, const QRect &box)> DrawSymbol;
    // The colour dialog of the main window; true when a colour was chosen.
    std::function<bool(TColor &color)> ChooseColor;
    // The folder selection with its prompt; empty when cancelled. The
    // platform's dialog when not set.
    std::function<QString(const QString &prompt, const QString &start)> ChooseFolder;
    // After the settings were applied: zoom and grid buttons, redraw.
    std::function<void()> Applied;
};

class TfrmOptions : public QDialog
{
    Q_OBJECT

public:
    enum TPage { pgGeneral, pgColors, pgLocation, pgPassword, pgSymbols };

    TfrmOptions(const TOptionsHost &host, QWidget *parent = nullptr);
    ~TfrmOptions() override;

    void ShowSettings(const TOptionsSet &options);
    void TakeSettings(TOptionsSet &options) const;

    int ActivePage() const;
    void SetActivePage(int page);

    // The OK steps; false when they stopped (the window then stays open).
    bool ApplyChanges();

    // The working palette of the colour page.
    const TSchemeColors &WorkingColors() const { return m_colors; }

protected:
    void accept() override;

private:
    QWidget *CreateGeneralPage();
    QWidget *CreateColorsPage();
    QWidget *CreateLocationPage();
    QWidget *CreatePasswordPage();
    QWidget *CreateSymbolsPage();

    void MarkChanged();
    void ShowColor(int index);
    void ChangeColor();
    void ChoosePalette(int palette);
    void DrawPreview(int index);
    void bbtnOKClick();
    void bbtnApplyClick();

    TOptionsHost m_host;
    TSchemeColors m_colors{};
    // OK applies (true) or, after "Применить", only closes.
    bool m_okApplies = true;

    QTabWidget *m_pages = nullptr;
    QCheckBox *m_loadPlugins = nullptr;
    QCheckBox *m_gridOn = nullptr;
    QCheckBox *m_snapToGrid = nullptr;
    QSpinBox *m_gridStep = nullptr;
    QCheckBox *m_showSheet = nullptr;
    QRadioButton *m_firstFree = nullptr;
    QRadioButton *m_maxPlusOne = nullptr;
    QSpinBox *m_fireTime = nullptr;
    QRadioButton *m_byBranches = nullptr;
    QRadioButton *m_byNodes = nullptr;
    QRadioButton *m_russianSpeeds = nullptr;
    QRadioButton *m_ukrainianSpeeds = nullptr;
    TxqEdit *m_sheetX = nullptr;
    TxqEdit *m_sheetY = nullptr;
    QListWidget *m_colorList = nullptr;
    QPushButton *m_colorSwatch = nullptr;
    QComboBox *m_palettes = nullptr;
    QLineEdit *m_plugins = nullptr;
    QLineEdit *m_mines = nullptr;
    QLineEdit *m_pla = nullptr;
    QLineEdit *m_reports = nullptr;
    QLineEdit *m_fans = nullptr;
    QLineEdit *m_symbols = nullptr;
    QLineEdit *m_password = nullptr;
    QLineEdit *m_confirmation = nullptr;
    QCheckBox *m_askPassword = nullptr;
    QListWidget *m_symbolList = nullptr;
    QLabel *m_preview = nullptr;
    QPushButton *m_ok = nullptr;
    QPushButton *m_cancel = nullptr;
    QPushButton *m_apply = nullptr;
};

// The one options window while it exists.
extern TfrmOptions *frmOptions;

// Shows the window modally at a page; true when OK applied the settings.
bool ShowOptionsWindow(const TOptionsHost &host, int page, QWidget *parent = nullptr);
