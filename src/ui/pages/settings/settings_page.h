#pragma once

#include "core/model/main_section.h"

#include <QList>
#include <QWidget>

#include <optional>

class AccessibilityRepair;
class AppCommands;
class AppState;
class CorrectionSection;
class OpenAIKeyStore;
class Page;
class SettingsBinder;

// The settings page: every setting a user has, in sections of cards. Each control writes its
// field at once and follows changes made anywhere else.
class SettingsPage final : public QWidget {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(SettingsPage)

public:
    // In page order.
    using Section = SettingsPlace;
    static constexpr int sectionCount = 8;

    // Without a repair, the accessibility row offers none; without a key store, no provider key
    // is shown.
    SettingsPage(AppState& state, AppCommands& commands, AccessibilityRepair* repair,
                 OpenAIKeyStore* keys = nullptr, QWidget* parent = nullptr);

    // The section's name for file names and tests: "dictation", "languages", ...
    static QString sectionName(Section section);
    QWidget* section(Section section) const { return m_sections.at(int(section)); }
    CorrectionSection* correction() const { return m_correction; }
    Page* page() const { return m_page; }
    // Scrolls the page so that the section's heading stands at the top.
    void scrollTo(Section section);

protected:
    void showEvent(QShowEvent* event) override;

private:
    // Takes the section the state asks the page to open at, and goes there once laid out.
    void followRequest();
    void scrollSoon();

    AppState& m_state;
    std::optional<Section> m_pending;
    SettingsBinder* m_binder;
    Page* m_page;
    CorrectionSection* m_correction;
    QList<QWidget*> m_sections;
};
