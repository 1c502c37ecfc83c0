#pragma once

#include "core/text/command_phrases.h"

#include <QStringList>
#include <QWidget>

class AppState;
class Card;

// What a user can say about a selection, one group per road the program takes: the group's name,
// what it does, and example phrases from the tables the classifier reads, in the user's
// languages; translation also names the languages of the translate menu.
class CommandExamples final : public QWidget {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(CommandExamples)

public:
    explicit CommandExamples(AppState& state, QWidget* parent = nullptr);

private:
    void rebuild();

    AppState& m_state;
    Card* m_card = nullptr;
    // What the rows were built from, so that other changes of the configuration keep them.
    QStringList m_builtFrom;
};
