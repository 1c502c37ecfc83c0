#include "ui/pages/home/hotkey_guide.h"

#include "core/model/hotkey.h"
#include "core/state/app_state.h"
#include "core/text/hotkey_text.h"
#include "core/text/l10n.h"
#include "ui/kit/card.h"
#include "ui/kit/key_cap.h"
#include "ui/kit/kit_label.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QVBoxLayout>

namespace HotkeyGuide {

namespace {

// The keys of one gesture at the row's leading edge, then what the gesture does.
void addRow(QGridLayout* grid, const QList<QWidget*>& keys, const char* explanation, QWidget* card)
{
    auto* keysRow = new QHBoxLayout;
    keysRow->setSpacing(6);
    for (QWidget* key : keys)
        keysRow->addWidget(key);
    keysRow->addStretch(1);
    const int row = grid->rowCount();
    grid->addLayout(keysRow, row, 0, Qt::AlignVCenter);
    grid->addWidget(
        (new KitLabel(L10n::s(explanation), TextRole::Body, Scheme::Text::Secondary, card))->wrapping(), row,
        1, Qt::AlignVCenter);
}

} // namespace

Card* make(const AppState& state, QWidget* parent)
{
    auto* card = new Card(18, parent);
    card->setObjectName(QStringLiteral("hotkeyGuide"));
    card->content()->setSpacing(12);
    card->content()->addWidget(
        new KitLabel(L10n::s("home.dictate"), TextRole::Heading, Scheme::Text::Primary, card));
    auto* grid = new QGridLayout;
    grid->setHorizontalSpacing(14);
    grid->setVerticalSpacing(10);
    grid->setColumnStretch(1, 1);
    const QString key = HotkeyText::title(state.config().hotkey);
    addRow(grid, {new KeyCap(key, false, card)}, "home.dictate.hold", card);
    addRow(grid,
           {new KeyCap(key, false, card), new KitLabel(L10n::s("home.dictate.twice"), TextRole::CalloutStrong,
                                                       Scheme::Text::Secondary, card)},
           "home.dictate.doubleTap", card);
    addRow(grid, {new KeyCap(L10n::s("key.escape"), false, card)}, "home.dictate.escape", card);
    card->content()->addLayout(grid);
    return card;
}

} // namespace HotkeyGuide
