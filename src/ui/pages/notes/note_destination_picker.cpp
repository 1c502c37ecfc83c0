#include "ui/pages/notes/note_destination_picker.h"

#include "core/state/app_state.h"
#include "core/text/l10n.h"
#include "ui/binder/settings_binder.h"
#include "ui/kit/kit_font.h"
#include "ui/kit/kit_label.h"
#include "ui/kit/soft_picker.h"

#include <QHBoxLayout>
#include <QSignalBlocker>
#include <QVBoxLayout>

QString NoteDestinationPicker::pickTag()
{
    return QStringLiteral("__apple__");
}

QList<NoteDestinationPicker::Entry> NoteDestinationPicker::entries(const AppState& state)
{
    QList<Entry> menu{{L10n::s("notes.destination.quenda"), NoteDestination::own().text()}};
    if (!state.notesBridge())
        return menu;
    QList<AppleNotesFolder> folders = state.appleNoteFolders();
    // The stored folder stays offered, also before a listing and when Notes no longer has it.
    if (const auto& stored = state.config().noteDestination.folder; stored && !folders.contains(*stored))
        folders.prepend(*stored);
    for (const AppleNotesFolder& folder : folders)
        menu.append({folder.name + QStringLiteral(" \u00B7 ") + folder.account, folder.id()});
    menu.append({L10n::s("notes.destination.pickApple"), pickTag()});
    return menu;
}

QString NoteDestinationPicker::status(const AppState& state)
{
    if (!state.notesBridge())
        return L10n::s("notes.destination.unavailable");
    return state.appleNotesStatus().value_or(QString());
}

NoteDestinationPicker::NoteDestinationPicker(AppState& state, QWidget* parent)
    : QWidget(parent)
    , m_state(state)
    , m_binder(new SettingsBinder(state, this))
    , m_menu(new SoftPicker(this))
    , m_status(new KitLabel({}, TextRole::Caption, Scheme::Text::Secondary, this))
{
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(4);
    auto* row = new QHBoxLayout;
    row->setSpacing(8);
    const QString title = L10n::s("menu.noteDestination");
    row->addWidget(new KitLabel(title, TextRole::CalloutMedium, Scheme::Text::Secondary, this));
    row->addSpacing(8);
    row->addStretch(1);
    m_menu->setFont(KitFont::of(TextRole::Body));
    m_menu->setAccessibleName(title);
    row->addWidget(m_menu);
    column->addLayout(row);
    column->addWidget(
        (new KitLabel(L10n::s("notes.destination.hint"), TextRole::Caption, Scheme::Text::Tertiary, this))
            ->wrapping());
    column->addWidget(m_status->wrapping());

    // activated, not currentIndexChanged: only a choice of the user may store or start anything.
    connect(m_menu, &QComboBox::activated, this, &NoteDestinationPicker::choose);
    connect(&m_state, &AppState::configChanged, this, &NoteDestinationPicker::refresh);
    connect(&m_state, &AppState::appleNoteFoldersChanged, this, &NoteDestinationPicker::refresh);
    connect(&m_state, &AppState::appleNotesStatusChanged, this, &NoteDestinationPicker::refresh);
    refresh();
}

void NoteDestinationPicker::refresh()
{
    const QList<Entry> menu = entries(m_state);
    {
        const QSignalBlocker quiet(m_menu);
        m_menu->clear();
        for (const Entry& entry : menu)
            m_menu->addItem(entry.text, entry.tag);
        // Where no Notes application could take a note, the own notes are what a save reaches; a
        // stored folder is kept for a system that has one.
        const NoteDestination shown =
            m_state.notesBridge() ? m_state.config().noteDestination : NoteDestination::own();
        m_menu->setCurrentIndex(m_menu->findData(shown.text()));
    }
    const QString line = status(m_state);
    m_status->setText(line);
    m_status->setVisible(!line.isEmpty());
}

void NoteDestinationPicker::choose(int index)
{
    const QString tag = m_menu->itemData(index).toString();
    const auto destination = NoteDestination::decode(tag);
    if (!destination) { // the one entry that is no destination: the listing
        m_state.refreshAppleNoteFolders();
        refresh(); // back on the stored destination
        return;
    }
    m_binder->write(&QuendaConfig::noteDestination, *destination);
}

void NoteDestinationPicker::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    if (m_state.notesBridge() && m_state.config().noteDestination.folder &&
        m_state.appleNoteFolders().isEmpty())
        m_state.refreshAppleNoteFolders();
}
