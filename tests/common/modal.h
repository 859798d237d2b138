#pragma once
// Drives a modal dialog from inside its own event loop. A failed check in the
// driving code returns early; a dialog left open would then keep the test
// waiting for ever, so every modal dialog still open afterwards is closed.
#include <QtCore/QTimer>
#include <QtWidgets/QApplication>
#include <QtWidgets/QDialog>
#include <QtWidgets/QWidget>

#include <functional>

inline void CloseOpenModals()
{
    // Bounded: a widget that refuses to close must not loop for ever either.
    for (int i = 0; i < 8; ++i) {
        QWidget *modal = QApplication::activeModalWidget();
        if (!modal)
            return;
        if (auto *dialog = qobject_cast<QDialog *>(modal))
            dialog->reject();
        else
            modal->close();
    }
}

// Runs `drive` once the next modal dialog is up (the first event of its loop).
inline void WhenModal(std::function<void()> drive)
{
    QTimer::singleShot(0, [drive = std::move(drive)] {
        drive();
        CloseOpenModals();
    });
}
