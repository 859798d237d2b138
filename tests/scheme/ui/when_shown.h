#pragma once
// Drives the next modal dialog of a kind once it is shown.
#include <QtCore/QTimer>
#include <QtWidgets/QApplication>

#include <gtest/gtest.h>

#include <functional>

template <typename TDialog>
void WhenShown(std::function<void(TDialog &)> drive)
{
    QTimer::singleShot(0, [drive] {
        auto *dialog = qobject_cast<TDialog *>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        drive(*dialog);
    });
}
