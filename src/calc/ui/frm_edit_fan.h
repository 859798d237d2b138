#pragma once
// "Редактор вентиляторов": the window in which the user assigns a catalogue
// fan to a branch, enters new characteristics point by point with the mouse,
// saves or deletes them, prints the chart and finds the fan's working point
// on the network. Its state and rules live in TFanEditor; the window shows
// them and hands the user's input to it.
#include "calc/fan_editor.h"

#include <QtGui/QImage>
#include <QtWidgets/QDialog>

#include <array>

class QComboBox;
class QLabel;
class QMenu;
class QAction;
class QPushButton;
class QSpinBox;
class QWidget;
class TfrmEditFan;

// The plot image: shows the picture the editor draws, the cursor readout
// and the popup menu.
class TFanPlotImage : public QWidget
{
    Q_OBJECT

public:
    TFanPlotImage(TfrmEditFan &form, QWidget *parent);
    QImage Picture;
    // Shows the readout at a pixel (hidden outside the plot rectangle).
    void ShowReadout(int x, int y);
    void HideReadout();
    bool ReadoutShown() const { return m_readout; }
    QLabel *QLabelReadout;
    QLabel *HLabelReadout;

protected:
    void paintEvent(QPaintEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void contextMenuEvent(QContextMenuEvent *event) override;

private:
    TfrmEditFan &m_form;
    bool m_readout = false;
    QPoint m_at;
};

// A 6 × 6 marker of an entered point, dragged with the mouse.
class TFanPointMarker : public QWidget
{
    Q_OBJECT

public:
    TFanPointMarker(TfrmEditFan &form, int index, QWidget *parent);
    int Index;
    QColor Colour = Qt::red;

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    TfrmEditFan &m_form;
    QPoint m_grab;
    bool m_dragging = false;
};

class TfrmEditFan : public QDialog
{
    Q_OBJECT

public:
    explicit TfrmEditFan(TFanEditor &editor, QWidget *owner = nullptr);

    TFanEditor &Editor;

    TFanPlotImage *Image1;
    QMenu *PopupMenu1;
    QAction *N1, *N2, *N3, *N4;
    QComboBox *ComboBox4, *ComboBox5, *ComboBox3;
    QWidget *Panel2, *Panel3;
    QPushButton *BitBtn1, *BitBtn2, *BitBtn3, *BitBtn4, *BitBtn5, *BitBtn6, *BitBtn7, *BitBtn8, *BitBtn9, *BitBtn10;
    QPushButton *Button1, *Button2;
    QLabel *Label3;
    QSpinBox *SpinEdit1, *SpinEdit2;
    std::array<TFanPointMarker *, PointMarkerCount> PointShapes{};

    // The result of the last working-point run, as drawn on the plot.
    TWorkingPoint LastWorkingPoint;

    void ComboBox4Click(int index);
    void ComboBox5Click(int index);
    void ComboBox3Click(int index);
    void N1Click();
    void N2Click();
    void N3Click();
    void N4Click();
    void BitBtn1Click();
    void BitBtn2Click();
    void BitBtn9Click();
    void Button1Click();
    void Button2Click();
    void BitBtn7Click();
    void BitBtn10Click();
    void SpinEditChange(bool pressure);
    void PanClick(QPushButton *button);

    // Redraws the plot from the editor's state and shows the controls.
    void DrawFanPlot();
    void SyncControls();
    // Drops a dragged marker at a pixel of the plot.
    void MarkerDragStarted(int marker);
    void MarkerDropped(int marker, QPoint at);
    void MarkerClicked(int marker);

    void reject() override;

protected:
    void showEvent(QShowEvent *event) override;

private:
    void FillLists();
    void AskDeletePoint();
    void DrawPlotText(const QString &text, bool belowPlot);
    void RunWorkingPoint();
    bool m_shown = false;
    bool m_syncing = false;
};

// Opens the editor on the branch's fan; true when closed with OK after a
// change. The values are written back whatever the end; the caller uses
// them only on true.
bool EditBranchFan(QWidget *owner, int branchNo, QString &fanName, double &a, double &b, double &q, int &curveIndex,
                   int &efficiency);
