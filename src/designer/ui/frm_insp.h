#pragma once
// The object inspector: a small stay-on-top tool window of the designer
// listing name and value rows of the selected objects. The designer supplies
// the rows, their value texts and the change handler; the inspector knows
// nothing of report objects.
#include <QtWidgets/QDialog>

#include <functional>
#include <memory>
#include <vector>

class QLineEdit;
class TfrSpeedButton;
class TfrView;

// Base of the forms that edit a row's value as a whole (the text editor).
class TPropEditor : public QDialog
{
public:
    using QDialog::QDialog;
    TfrView *View = nullptr;
    virtual int ShowEditor() { return exec(); }
};

struct TProp
{
    QString *ValueRef = nullptr; // at most 100 characters, owned by the designer
    TPropEditor *EditorForm = nullptr;
    int EditKind = 0;            // 0 typed in the edit box, 1 edited in EditorForm
    bool Enabled = true;
};

class TfrInspForm : public QWidget
{
public:
    explicit TfrInspForm(QWidget *owner = nullptr);
    ~TfrInspForm() override;

    static constexpr int MaxValueLength = 100;
    static constexpr int CaptionHeight = 14;

    void ClearItems();
    void AddItem(const QString &name, QString *value, TPropEditor *editor = nullptr, int kind = 0);
    int RowCount() const { return int(m_names.size()); }
    TProp *CurrentProp() const;
    QString ValueText(int row) const;
    void SelectRow(int row);
    void ResetRow();
    void SetItemEnabled(int row, bool enabled);
    void CommitValue(const QString &text);
    // Rolls the box up to its caption or back down to the full size.
    void ToggleRollUp();

    int ItemIndex = -1;
    int RowHeight = 16;
    int SplitX = 0;
    bool Empty = false;
    TfrView *Inspected = nullptr;
    int FullWidth = 0;
    int FullHeight = 0;
    std::function<void(int row, QString &value)> OnModify;

    QWidget *Panel1;   // the content under the caption
    QWidget *PaintBox;
    QLineEdit *Edit1;
    TfrSpeedButton *SpeedButton1;

protected:
    void paintEvent(QPaintEvent *) override;
    void mousePressEvent(QMouseEvent *e) override;
    void mouseMoveEvent(QMouseEvent *e) override;
    void mouseReleaseEvent(QMouseEvent *e) override;
    void mouseDoubleClickEvent(QMouseEvent *e) override;
    bool eventFilter(QObject *watched, QEvent *event) override;
    void changeEvent(QEvent *e) override;

private:
    void OpenEditor();
    void PaintRows();
    QString ShownText(int row) const;

    std::vector<QString> m_names;
    std::vector<std::unique_ptr<TProp>> m_props;
    bool m_moving = false;
    QPoint m_grab;
};
