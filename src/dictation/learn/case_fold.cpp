#include "dictation/learn/case_fold.h"

#include <unicode/uchar.h>
#include <unicode/ustring.h>

namespace CaseFold {

bool equal(const QString& a, const QString& b)
{
    UErrorCode error = U_ZERO_ERROR;
    const int order =
        u_strCaseCompare(reinterpret_cast<const UChar*>(a.utf16()), static_cast<int32_t>(a.size()),
                         reinterpret_cast<const UChar*>(b.utf16()), static_cast<int32_t>(b.size()),
                         U_FOLD_CASE_DEFAULT, &error);
    return U_SUCCESS(error) && order == 0;
}

} // namespace CaseFold
