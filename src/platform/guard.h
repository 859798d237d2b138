#pragma once
// Runs a user command so that no exception leaves it: an error is shown in
// a message box with its text, and the program goes on.
#include <QtCore/QString>

#include <functional>

// The caption of the box that shows an error no command handled.
extern const QString ApplicationTitle;

// Returns false when the command ended with an error (already shown).
bool GuardedCall(const std::function<void()> &command);
