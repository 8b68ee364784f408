#include "text/line_collation.h"

#include <strings.h>
#include <unicode/coll.h>
#include <unicode/locid.h>

#include <algorithm>
#include <climits>

#include "core/encoding.h"
#include "core/procedure_error.h"

namespace vernalith {
namespace {

icu::Locale CollationLocale(const std::string& id) {
    icu::Locale locale(id.c_str());
    if (strcasecmp(locale.getVariant(), "POSIX") == 0) return icu::Locale::getRoot();
    return locale;
}

// ICU takes 32-bit lengths; a longer line (over 4 GB of text) is ordered by its first 2^31 - 1 units.
int32_t IcuLength(std::u16string_view text) { return static_cast<int32_t>(std::min<size_t>(text.size(), INT32_MAX)); }

}  // namespace

struct LineCollator::Icu {
    std::unique_ptr<icu::Collator> collator;
};

LineCollator::LineCollator(const std::string& locale) : icu_(std::make_unique<Icu>()) {
    UErrorCode status = U_ZERO_ERROR;
    icu_->collator.reset(icu::Collator::createInstance(CollationLocale(locale), status));
    if (U_FAILURE(status) || !icu_->collator) {
        throw ProcedureError(u"Не удалось загрузить порядок сортировки для языка \"" + DecodeUtf8(locale) + u"\": " +
                             DecodeUtf8(u_errorName(status)));
    }
    icu_->collator->setStrength(icu::Collator::SECONDARY);
}

LineCollator::~LineCollator() = default;

int LineCollator::Compare(std::u16string_view a, std::u16string_view b) const {
    UErrorCode status = U_ZERO_ERROR;
    return icu_->collator->compare(a.data(), IcuLength(a), b.data(), IcuLength(b), status);
}

void LineCollator::AppendSortKey(std::u16string_view line, std::string& keys) const {
    uint8_t local[512];  // holds the key of a line of a hundred characters or more
    const int32_t needed = icu_->collator->getSortKey(line.data(), IcuLength(line), local, sizeof local);
    if (needed <= 0) {  // ICU failed: an empty key, so the line sorts first
        keys.push_back('\0');
    } else if (needed <= static_cast<int32_t>(sizeof local)) {
        keys.append(reinterpret_cast<const char*>(local), static_cast<size_t>(needed));
    } else {
        const size_t start = keys.size();
        keys.resize(start + static_cast<size_t>(needed));
        icu_->collator->getSortKey(line.data(), IcuLength(line), reinterpret_cast<uint8_t*>(keys.data() + start),
                                   needed);
    }
}

std::string UserCollationLocale() { return icu::Locale::getDefault().getName(); }

}  // namespace vernalith
