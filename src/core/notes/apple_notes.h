#pragma once

#include "core/model/apple_notes_folder.h"
#include "core/notes/apple_notes_result.h"
#include "platform/script_runner.h"

#include <QList>
#include <QObject>
#include <QSettings>
#include <QString>

#include <functional>
#include <optional>
#include <variant>

// The bridge to the Notes application: scripts sent to its interpreter through a ScriptRunner.
// Every operation returns at once; `done` runs later on the thread of `context`, and is
// dropped when `context` is gone. Nothing is retried.
class AppleNotes final {
public:
    template <typename T> using Done = std::function<void(const AppleNotesResult<T>&)>;

    static constexpr int defaultTimeoutMs = 90'000;
    static QString defaultInterpreter();
    // User-defaults key of the note last created by the program.
    static QString rememberedKey();

    AppleNotes(ScriptRunner& runner, QSettings& settings, QString interpreter = defaultInterpreter(),
               int timeoutMs = defaultTimeoutMs);

    // The interpreter is installed; without it there is no Notes application to reach.
    bool available() const;

    // Every folder of every account, trash folders left out, sorted by account, then name.
    void folders(QObject* context, Done<QList<AppleNotesFolder>> done) const;
    // Creates a note and delivers its id. A blank title becomes "Notiz".
    void createNote(const QString& title, const QString& body, const QString& account, const QString& folder,
                    QObject* context, Done<QString> done) const;
    // Brings Notes to the front and shows the note, else the folder's newest note.
    void reveal(const QString& account, const QString& folder, const std::optional<QString>& noteID,
                QObject* context, Done<std::monostate> done = {}) const;

    // A blank id keeps the stored one.
    void remember(const QString& noteID);
    std::optional<QString> rememberedID() const;

private:
    void run(const QString& script, QObject* context, Done<QString> done) const;

    ScriptRunner& m_runner;
    QSettings& m_settings;
    QString m_interpreter;
    int m_timeoutMs;
};
