#pragma once
// "Расчет аэродинамического сопротивления" from the support graphs: the
// specific resistance of eight kinds of support against the section area.
// The chosen kind's curve is drawn in pure red, and the resistance is read
// where it crosses the area's column; a click on the red curve takes that
// point instead.
#include "calc/resistance.h"

#include <QtGui/QImage>
#include <QtWidgets/QDialog>

#include <functional>

class QComboBox;
class QLabel;
class QMouseEvent;
class QPushButton;

// The graph: an image as large as the widget, redrawn when it changes size.
class TGraphImage : public QWidget
{
    Q_OBJECT

public:
    explicit TGraphImage(QWidget *parent = nullptr);

    QImage Image;
    std::function<void()> Resized;
    std::function<void(int x, int y)> MouseMoved;
    std::function<void(int x, int y)> MousePressed;

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
};

class TfrmResistGr : public QDialog
{
    Q_OBJECT

public:
    explicit TfrmResistGr(QWidget *owner);
    ~TfrmResistGr() override;

    // The module state: area, resistance, length and the chosen type (−1 none).
    double S = 0;
    double R = 0;
    int L = 0;
    int Type = -1;

    QComboBox *CmType;
    TGraphImage *ImGraf;
    QLabel *Label2, *Label3, *Label4, *Label5;
    QPushButton *btOk, *btCancel;

    void FormShow();
    void DrawResistanceGraphs(bool read);
    void CmTypeChange(int index);
    void ImGrafMouseMove(int x, int y);
    void ImGrafMouseDown(int x, int y);

private:
    bool IsCurvePixel(int x, int y) const;
    void ShowChosen();

    TSupportCurves m_curves;
};

extern TfrmResistGr *frmResistGr;

// Opens the graphs for an airway of length L at area S; on OK S and R take
// the values read and the result is true.
bool ResistanceFromGraph(QWidget *owner, int L, double &S, double &R);
