#include "core/notes/apple_notes.h"

#include "core/notes/apple_notes_scripts.h"

#include <QFileInfo>
#include <QStringDecoder>

namespace {

// Text that is not valid UTF-8 counts as no text at all.
QString strictUtf8(const QByteArray& bytes)
{
    QStringDecoder decoder(QStringDecoder::Utf8);
    QString text = decoder(bytes);
    return decoder.hasError() ? QString() : text;
}

AppleNotesResult<QString> interpret(const ScriptResult& result)
{
    switch (result.status) {
    case ScriptResult::Status::FailedToStart:
        return AppleNotesFailure{result.launchError, true};
    case ScriptResult::Status::TimedOut:
        return AppleNotesFailure::timeout();
    case ScriptResult::Status::Exited:
    case ScriptResult::Status::Crashed:
        break;
    }
    const QString output = strictUtf8(result.output);
    if (result.succeeded())
        return output;
    const QString error = strictUtf8(result.error);
    return AppleNotesFailure{error.isEmpty() ? output : error, false};
}

} // namespace

QString AppleNotes::defaultInterpreter()
{
    return QStringLiteral("/usr/bin/osascript");
}

QString AppleNotes::rememberedKey()
{
    return QStringLiteral("quenda.lastAppleNoteID");
}

AppleNotes::AppleNotes(ScriptRunner& runner, QSettings& settings, QString interpreter, int timeoutMs)
    : m_runner(runner)
    , m_settings(settings)
    , m_interpreter(std::move(interpreter))
    , m_timeoutMs(timeoutMs)
{
}

bool AppleNotes::available() const
{
    return QFileInfo(m_interpreter).isExecutable();
}

void AppleNotes::run(const QString& script, QObject* context, Done<QString> done) const
{
    const ScriptRequest request{m_interpreter, {QStringLiteral("-")}, script.toUtf8(), m_timeoutMs};
    m_runner.run(request, context, [done = std::move(done)](const ScriptResult& result) {
        if (done)
            done(interpret(result));
    });
}

void AppleNotes::folders(QObject* context, Done<QList<AppleNotesFolder>> done) const
{
    run(AppleNotesScripts::listFolders(), context,
        [done = std::move(done)](const AppleNotesResult<QString>& r) {
            if (!done)
                return;
            if (r.ok())
                done(AppleNotesScripts::parseFolders(r.value()));
            else
                done(r.error());
        });
}

void AppleNotes::createNote(const QString& title, const QString& body, const QString& account,
                            const QString& folder, QObject* context, Done<QString> done) const
{
    QString name = title.trimmed();
    if (name.isEmpty())
        name = QStringLiteral("Notiz");
    const QString script =
        AppleNotesScripts::createNote(name, AppleNotesScripts::htmlBody(body), account, folder);
    run(script, context, [done = std::move(done)](const AppleNotesResult<QString>& r) {
        if (!done)
            return;
        if (r.ok())
            done(r.value().trimmed());
        else
            done(r);
    });
}

void AppleNotes::reveal(const QString& account, const QString& folder, const std::optional<QString>& noteID,
                        QObject* context, Done<std::monostate> done) const
{
    const QString id = noteID.value_or(QString()).trimmed();
    run(AppleNotesScripts::reveal(id, account, folder), context,
        [done = std::move(done)](const AppleNotesResult<QString>& r) {
            if (!done)
                return;
            if (r.ok())
                done(std::monostate{});
            else
                done(r.error());
        });
}

void AppleNotes::remember(const QString& noteID)
{
    const QString id = noteID.trimmed();
    if (id.isEmpty())
        return;
    m_settings.setValue(rememberedKey(), id);
}

std::optional<QString> AppleNotes::rememberedID() const
{
    const QString id = m_settings.value(rememberedKey()).toString().trimmed();
    if (id.isEmpty())
        return std::nullopt;
    return id;
}
