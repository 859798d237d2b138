#pragma once
// Runs a user command so that no exception leaves it: an error is shown in
// a message box with its text, and the program goes on.
#include "platform/prompt.h"

#include <functional>

// Returns false when the command ended with an error (already shown). The
// error is also written to the log, category "tunvex.guard".
bool GuardedCall(const std::function<void()> &command);

// The user-facing text of the exception being handled; call it only inside a
// catch block.
QString CurrentExceptionText();
