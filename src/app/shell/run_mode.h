#pragma once

#include "core/storage/state_files.h"
#include "dictation/controller/learner.h"
#include "dictation/silence/silencer.h"

#include <memory>

class SecretStore;
class UpdateFeed;

// The kind of run the process makes, and the parts that differ with it. A snapshot run
// ("--snapshot" among the arguments) reads and writes no configuration, history or notes file,
// touches no key store, mutes no output, learns nothing from the user's edits and checks for no
// update. The composition root builds the program from these parts; nothing below it asks which
// kind of run it is.
class RunMode final {
public:
    explicit RunMode(bool snapshot);
    ~RunMode();
    RunMode(const RunMode&) = delete;
    RunMode& operator=(const RunMode&) = delete;

    bool snapshot() const { return m_snapshot; }

    // The support folder's files, or the demonstration configuration and files that keep nothing.
    StateFiles& files() { return *m_files; }
    // The given store, or none: no key is found and none is kept.
    SecretStore* secrets(SecretStore& store) const;
    // The given parts, or ones that do nothing.
    Silencer& silencer(Silencer& silencer);
    Learner& learner(Learner& learner);
    // The given feed, or none: no update is checked.
    UpdateFeed* updateFeed(UpdateFeed* feed) const { return m_snapshot ? nullptr : feed; }
    bool scansApps() const { return !m_snapshot; }
    // Cards that close by themselves stay, so a picture shows them.
    bool cardsStay() const { return m_snapshot; }
    // The settings that hold for the whole process: the support folder stays untouched and
    // nothing animates in a snapshot run.
    void applyToProcess() const;

private:
    const bool m_snapshot;
    const std::unique_ptr<StateFiles> m_files;
    const std::unique_ptr<Silencer> m_noSilencer;
    const std::unique_ptr<Learner> m_noLearner;
};
