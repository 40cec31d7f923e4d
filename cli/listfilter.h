#pragma once

#include "store/recordbrowser.h"

#include <QDate>

class CCommandLine;

// The filters of `list` as the browsing model's query. Throws CUsageError, naming the
// offending word, for an unknown period, a date that is not YYYY-MM-DD or not a real day,
// --from without --to (or the reverse), --from later than --to, --from/--to together with
// --period, and a --tag without "=" or with an empty group or tag.
class CListFilter
{
public:
    static SRecordQuery Query(const CCommandLine& line, const QDate& today);
};
