#pragma once

#include <QLatin1String>
#include <QList>
#include <QString>
#include <QStringView>

#include <optional>
#include <span>

// The stored texts of an enum, in the order its choices are offered, and the one value a text
// naming none of them decodes to. Decoding happens once, where the text is read; past that point
// only the enum travels.
template <typename E> class EnumTable final {
public:
    struct Row {
        E value;
        QLatin1String text;
    };

    constexpr EnumTable(std::span<const Row> rows, E fallback)
        : m_rows(rows)
        , m_fallback(fallback)
    {
    }

    QList<E> values() const
    {
        QList<E> all;
        for (const Row& row : m_rows)
            all.append(row.value);
        return all;
    }

    QString text(E value) const
    {
        for (const Row& row : m_rows) {
            if (row.value == value)
                return row.text;
        }
        return value == m_fallback ? QString() : text(m_fallback);
    }

    // Exactly one of the texts, case-sensitive; anything else is absent.
    std::optional<E> find(QStringView text) const
    {
        for (const Row& row : m_rows) {
            if (row.text == text)
                return row.value;
        }
        return std::nullopt;
    }

    // The value a stored text names, else the fallback; an absent text gives the fallback too.
    E decode(const QString& text) const { return find(text).value_or(m_fallback); }
    E decode(const std::optional<QString>& text) const { return text ? decode(*text) : m_fallback; }
    constexpr E fallback() const { return m_fallback; }

private:
    std::span<const Row> m_rows;
    E m_fallback;
};
