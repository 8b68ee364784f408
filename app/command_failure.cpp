#include "app/command_failure.h"

#include <new>

#include "app/qt_text.h"
#include "core/procedure_error.h"
#include "core/progress.h"

namespace vernalith {

QString RunCatchingFailure(const std::function<void()>& work) {
    try {
        work();
    } catch (const ProcedureError& error) {
        return ToQString(error.message());
    } catch (const RunCancelled&) {
        // Stopped by the user: nothing to show.
    } catch (const std::bad_alloc&) {
        return QStringLiteral("Недостаточно памяти для выполнения команды.");
    } catch (const std::exception& error) {
        return QString::fromUtf8(error.what());
    }
    return {};
}

}  // namespace vernalith
