#pragma once

#include "core/state/state_fixture.h"

#include <QCoreApplication>

// The state on files whose notes writes a test can make fail and count, with or without a
// Notes application to reach.
class NotesFixture : public StateFixture {
protected:
    class CountingFiles final : public StateFiles {
    public:
        explicit CountingFiles(StateFiles& files)
            : m_files(files)
        {
        }
        QuendaConfig loadConfig() override { return m_files.loadConfig(); }
        bool saveConfig(const QuendaConfig& config) override { return m_files.saveConfig(config); }
        QList<HistoryEntry> loadHistory() override { return m_files.loadHistory(); }
        void saveHistory(const QList<HistoryEntry>& entries) override { m_files.saveHistory(entries); }
        QList<QuendaNote> loadNotes() override { return notes; }
        bool saveNotes(const QList<QuendaNote>& saved) override
        {
            ++writes;
            if (failing)
                return false;
            notes = saved;
            return true;
        }

        QList<QuendaNote> notes; // what the "file" holds
        int writes = 0;
        bool failing = false;

    private:
        StateFiles& m_files;
    };

    void TearDown() override
    {
        m_notesState.reset();
        StateFixture::TearDown();
    }

    // A file of notes named by letters, nothing written yet: id, title and body from the letter,
    // the first one newest.
    AppState& makeNotesState(const QString& letters, bool bridge = false,
                             const std::function<void(QuendaConfig&)>& change = {})
    {
        m_counting.notes.clear();
        m_counting.writes = 0;
        if (change) {
            QuendaConfig config = QuendaConfig::standard();
            change(config);
            writeAll(configPath(), config.encode());
        }
        for (qsizetype i = 0; i < letters.size(); ++i) {
            const QString letter = letters.mid(i, 1);
            const QDateTime at = m_clock.now().addSecs(-60 * (i + 1));
            m_counting.notes.append({idOf(letter), at, at, letter.toUpper(), letter});
        }
        m_notesState.reset();
        m_notesState = std::make_unique<AppState>(AppState::Services{m_clock, m_probe, m_launcher, m_windows,
                                                                     m_work, bridge ? m_bridge : m_appleNotes,
                                                                     m_counting, s("1.4.0")});
        return *m_notesState;
    }

    AppState& notesState() { return *m_notesState; }

    static QUuid idOf(const QString& letter) { return QUuid::createUuidV5(QUuid(), letter); }
    // The letter of a note made in the test, "*" for one the test did not name, "-" for none.
    QString letterOf(const std::optional<QUuid>& id) const
    {
        if (!id)
            return s("-");
        for (const QChar c : QStringLiteral("abcdefgh"))
            if (idOf(c) == *id)
                return QString(c);
        return s("*");
    }

    CountingFiles m_counting{m_files};
    // A Notes application: any executable stands in for the interpreter, the runner is a fake.
    AppleNotes m_bridge{m_runner, m_settings, QCoreApplication::applicationFilePath()};

private:
    std::unique_ptr<AppState> m_notesState;
};
