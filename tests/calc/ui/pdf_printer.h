#pragma once
// The program's printer standing on its PDF entry, as it does where no
// system printer is installed, and the answer to the file dialog that a job
// on it opens.
#include "platform/ui/file_dialogs.h"
#include "report/ui/qt_printer.h"

#include <QtCore/QMetaObject>
#include <QtCore/QTimer>
#include <QtWidgets/QFileDialog>

class TPdfPrinter
{
public:
    TPdfPrinter()
    {
        InstallQtPrinter();
        TQtPrinter &printer = *InstalledQtPrinter();
        printer.SetPrinterIndex(static_cast<int>(printer.Printers().size()) - 1);
    }
    ~TPdfPrinter() { RemoveQtPrinter(); }
    TPdfPrinter(const TPdfPrinter &) = delete;
    TPdfPrinter &operator=(const TPdfPrinter &) = delete;

    // The next file dialog is answered with file (empty: cancelled); its caption is kept.
    void AnswerFile(const QString &file)
    {
        QTimer::singleShot(0, [this, file] {
            QFileDialog *dialog = ShownFileDialog();
            if (!dialog)
                return;
            Captions << dialog->windowTitle();
            if (file.isEmpty()) {
                dialog->reject();
                return;
            }
            dialog->selectFile(file);
            QMetaObject::invokeMethod(dialog, "accept");
        });
    }

    QStringList Captions;
};
