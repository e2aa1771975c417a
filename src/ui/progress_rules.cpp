#include "ui/progress_rules.h"

bool ProgressHasCounts(LONG done, LONG total)
{
    return done > 0 && total > 0;
}

LONG ProgressFillWidth(LONG done, LONG total, LONG innerWidth)
{
    if (!ProgressHasCounts(done, total)) {
        done = 0;
        total = 1;
    }
    if (total < done)
        return innerWidth;
    // 64 bits: page counts in the millions would overflow the product.
    return static_cast<LONG>(static_cast<long long>(done) * innerWidth / total);
}
