#include "platform/guard.h"

#include "platform/exceptions.h"
#include "platform/prompt.h"

#include <QtCore/QLoggingCategory>

#include <new>

// Errors that reached the guard rather than a message the program meant to
// show: the box is all the user sees, the log keeps them for whoever looks
// into a fault (and for the test that walks every command).
namespace {
Q_LOGGING_CATEGORY(lcCommandErrors, "tunvex.guard")
} // namespace

QString CurrentExceptionText()
{
    try {
        throw;
    } catch (const Exception &e) {
        return e.Message();
    } catch (const std::bad_alloc &) {
        return QStringLiteral("Недостаточно памяти.");
    } catch (const std::exception &e) {
        return QString::fromLocal8Bit(e.what());
    } catch (...) {
        return QStringLiteral("Неизвестная ошибка.");
    }
}

bool GuardedCall(const std::function<void()> &command)
{
    QString message;
    try {
        command();
        return true;
    } catch (...) {
        message = CurrentExceptionText();
    }
    qCWarning(lcCommandErrors).noquote() << message;
    ShowMessageBox(message, ApplicationTitle, mb::Ok | mb::IconError);
    return false;
}
