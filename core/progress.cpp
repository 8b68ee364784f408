#include "core/progress.h"

namespace vernalith {

void ProgressReporter::FinishReport() {
    SetStatusCaption(u"статус");
    ClearPercent();
}

}  // namespace vernalith
