#pragma once

#include <QList>
#include <QString>

// A translation target: language code and the flag shown beside it.
struct TranslateLanguage {
    QString id;
    QString flag;

    // de, en, fr, es, it, pt, nl, pl, tr, in this order.
    static const QList<TranslateLanguage>& all();
    // The row whose code equals code exactly; the German row when none does.
    static const TranslateLanguage& named(const QString& code);
    // What the translate menu offers: the native language first, then en, de, fr, es, it, pt, nl,
    // pl, tr without it; a code that names none of them drops out.
    static QList<TranslateLanguage> menu(const QString& nativeLanguage);

    friend bool operator==(const TranslateLanguage&, const TranslateLanguage&) = default;
};
