#pragma once

#include <QString>

#include <utility>

// Progress of the current dictation; starts as idle.
class Phase final {
public:
    enum class Kind { Polishing, Translating, Done, Failed, Notice, Idle, Listening, Transcribing };

    Phase() = default;

    static Phase polishing(const QString& raw) { return Phase(Kind::Polishing, raw); }
    static Phase translating(const QString& code) { return Phase(Kind::Translating, code); }
    static Phase done(const QString& text, bool pasted) { return Phase(Kind::Done, text, pasted); }
    static Phase failed(const QString& message) { return Phase(Kind::Failed, message); }
    static Phase notice(const QString& message) { return Phase(Kind::Notice, message); }
    static Phase idle() { return Phase(); }
    static Phase listening() { return Phase(Kind::Listening); }
    static Phase transcribing() { return Phase(Kind::Transcribing); }

    Kind kind() const { return m_kind; }
    bool is(Kind kind) const { return m_kind == kind; }

    // The payload by case; empty for the cases that carry none of it.
    QString raw() const { return m_kind == Kind::Polishing ? m_text : QString(); }
    QString code() const { return m_kind == Kind::Translating ? m_text : QString(); }
    QString text() const { return m_kind == Kind::Done ? m_text : QString(); }
    bool pasted() const { return m_kind == Kind::Done && m_pasted; }
    QString message() const { return m_kind == Kind::Failed || m_kind == Kind::Notice ? m_text : QString(); }

    friend bool operator==(const Phase&, const Phase&) = default;

private:
    explicit Phase(Kind kind, QString text = {}, bool pasted = false)
        : m_kind(kind)
        , m_text(std::move(text))
        , m_pasted(pasted)
    {
    }

    Kind m_kind = Kind::Idle;
    QString m_text;
    bool m_pasted = false;
};
