#include "core/base/word_count.h"

int wordCount(QStringView text)
{
    int count = 0;
    bool inWord = false;
    for (const QChar c : text) {
        const bool space = c.isSpace();
        if (!space && !inWord)
            ++count;
        inWord = !space;
    }
    return count;
}
