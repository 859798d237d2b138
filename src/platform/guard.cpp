#include "platform/guard.h"

#include "platform/exceptions.h"
#include "platform/prompt.h"

#include <new>

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
    ShowMessageBox(message, ApplicationTitle, mb::Ok | mb::IconError);
    return false;
}
