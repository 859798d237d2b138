#include "platform/guard.h"

#include "platform/exceptions.h"
#include "platform/prompt.h"

#include <new>

bool GuardedCall(const std::function<void()> &command)
{
    QString message;
    try {
        command();
        return true;
    } catch (const Exception &e) {
        message = e.Message();
    } catch (const std::bad_alloc &) {
        message = QStringLiteral("Недостаточно памяти.");
    } catch (const std::exception &e) {
        message = QString::fromLocal8Bit(e.what());
    } catch (...) {
        message = QStringLiteral("Неизвестная ошибка.");
    }
    ShowMessageBox(message, ApplicationTitle, mb::Ok | mb::IconError);
    return false;
}
