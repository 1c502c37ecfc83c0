#pragma once

#include <QWidget>

#include <optional>

class AppCommands;
class AppIconCache;
class AppState;
class AppStylesSection;
class CorrectionNotice;
class KitLabel;
class LabelButton;
class QBoxLayout;
class QComboBox;
class QGridLayout;
class QPlainTextEdit;
class QVBoxLayout;
class SettingsBinder;
class StyleCard;
class ToggleSwitch;

// The style page: the style of the front application, the default style's cards, the styles per
// application, free instructions, the dictation language and command mode. Every control writes
// its one field into the configuration at once.
class StylePage final : public QWidget {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(StylePage)

public:
    StylePage(AppState& state, AppCommands& commands, AppIconCache& icons, QWidget* parent = nullptr);

    KitLabel* frontLine() const { return m_front; }
    // Says that styles need a correction provider, while none answers.
    CorrectionNotice* needsProvider() const { return m_needsProvider; }
    QList<StyleCard*> cards() const { return m_cards; }
    AppStylesSection* appStyles() const { return m_apps; }
    QPlainTextEdit* instructions() const { return m_instructions; }
    QComboBox* languageMenu() const { return m_menu; }
    KitLabel* languageHint() const { return m_languageHint; }
    ToggleSwitch* commandSwitch() const { return m_command; }
    LabelButton* commandsButton() const { return m_more; }

protected:
    void showEvent(QShowEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* makeInstructions();
    QWidget* makeLanguage();
    QWidget* makeCommand();
    void followConfig();
    void followFrontApp();

    AppState& m_state;
    SettingsBinder* m_binder;
    KitLabel* m_front;
    CorrectionNotice* m_needsProvider;
    QList<StyleCard*> m_cards;
    AppStylesSection* m_apps;
    // The language and command cards: side by side where both fit, else one above the other.
    QBoxLayout* m_pair = nullptr;
    QWidget* m_languageCard = nullptr;
    QWidget* m_commandCard = nullptr;
    QPlainTextEdit* m_instructions = nullptr;
    QComboBox* m_menu = nullptr;
    KitLabel* m_languageHint = nullptr;
    ToggleSwitch* m_command = nullptr;
    LabelButton* m_more = nullptr;
    bool m_scanned = false;
};
